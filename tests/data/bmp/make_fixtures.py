#!/usr/bin/python3
"""Writes the BMP fixtures that other programs make: Pillow and ImageMagick
files of 1, 4, 8, 24 and 32 bits with a 40-byte info header, all showing the
patterns that tests/core/picture/bmp_interop_test.cpp recomputes.

Run from this folder: ./make_fixtures.py (needs python3-pil and convert)."""
import os
import subprocess
from PIL import Image

W, H = 13, 7  # an odd width, so that rows carry padding

# The 16 colours of the indexed patterns.
PALETTE = [(0, 0, 0), (255, 255, 255), (200, 30, 40), (30, 160, 60), (40, 70, 200),
           (250, 220, 60), (120, 60, 20), (90, 200, 220), (160, 160, 160), (60, 60, 60),
           (240, 140, 180), (20, 100, 90), (180, 110, 250), (100, 120, 30), (230, 120, 40),
           (10, 30, 80)]


def indexed(n):
    """Pixel (x, y) takes colour (3x + 5y) mod n."""
    return [[(3 * x + 5 * y) % n for x in range(W)] for y in range(H)]


def rgb(x, y):
    return ((x * 19) % 256, (y * 37) % 256, (x * y * 7 + 11) % 256)


def pal_image(n):
    img = Image.new("P", (W, H))
    flat = []
    for c in PALETTE[:n]:
        flat += list(c)
    img.putpalette(flat + [0] * (768 - len(flat)))
    for y, row in enumerate(indexed(n)):
        for x, v in enumerate(row):
            img.putpixel((x, y), v)
    return img


def rgb_image():
    img = Image.new("RGB", (W, H))
    for y in range(H):
        for x in range(W):
            img.putpixel((x, y), rgb(x, y))
    return img


# Pillow
one = Image.new("1", (W, H))
for y, row in enumerate(indexed(2)):
    for x, v in enumerate(row):
        one.putpixel((x, y), 255 if v else 0)
one.save("pil_1.bmp")
pal_image(16).save("pil_8.bmp")
rgb_image().save("pil_24.bmp")
rgba = rgb_image().convert("RGBA")
rgba.save("pil_32.bmp")

# ImageMagick, from lossless inputs; BMP3 keeps the 40-byte info header.
pal_image(2).convert("RGB").save("_2.png")
pal_image(16).convert("RGB").save("_16.png")
rgb_image().save("_rgb.png")
subprocess.check_call(["convert", "_2.png", "-type", "Palette", "BMP3:im_1.bmp"])
subprocess.check_call(["convert", "_16.png", "-type", "Palette", "-compress", "None", "BMP3:im_4.bmp"])
subprocess.check_call(["convert", "_rgb.png", "-type", "Palette", "-compress", "None", "BMP3:im_8.bmp"])
subprocess.check_call(["convert", "_rgb.png", "-type", "TrueColor", "BMP3:im_24.bmp"])
for f in ("_2.png", "_16.png", "_rgb.png"):
    os.remove(f)
