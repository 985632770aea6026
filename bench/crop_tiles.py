#!/usr/bin/python3
"""Cuts a BMP into 640 x 480 BMP tiles with Pillow: the peer that
compare_tiles.sh measures maptesk-cli tiles bmp against.
usage: crop_tiles.py IN.bmp OUT_BASE"""
import sys
from PIL import Image

image = Image.open(sys.argv[1])
image.load()
for c in range((image.width + 639) // 640):
    for r in range((image.height + 479) // 480):
        box = (c * 640, r * 480, min(image.width, c * 640 + 640), min(image.height, r * 480 + 480))
        image.crop(box).save("%s%d%d.bmp" % (sys.argv[2], c, r))
