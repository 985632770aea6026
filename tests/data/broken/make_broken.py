#!/usr/bin/python3
"""Writes the broken picture files of this folder. Every reader is run over
them by tests/core/picture/broken_inputs_test.cpp, which also holds what each
must give. Run from this folder: ./make_broken.py"""
import struct


def bmp(w, h, bits=24, off=None, clr_used=0, info=40, pixels=b"", comp=0, colours=b""):
    head = struct.pack("<IiiHHIIiiII", info, w, h, 1, bits, comp, 0, 0, 0, clr_used, 0)
    head = head.ljust(info, b"\0") + colours
    if off is None:
        off = 14 + len(head)
    return b"BM" + struct.pack("<IHHI", 0, 0, 0, off) + head + pixels


def pad(data, size):
    return data + b"\x55" * (size - len(data))


def s16(w, h, packing=0, gap=0, signature=1, data=b""):
    return struct.pack("<I10i", signature, w, h, 0, 0, w, h, gap, (w * h * 2 + 2**31) % 2**32 - 2**31, packing, 0) + data


def shp(h1, w1, left, top, bottom, codes, shapes=1, offset=12):
    head = struct.pack("<hhiiiii", h1, w1, 0, left, top, 0, bottom)
    return struct.pack("<III", 0, shapes, offset) + head + bytes(codes)


files = {
    # BMP
    "empty.bmp": b"",
    "header_only.bmp": b"BM" + b"\0" * 12,
    "zero_width.bmp": bmp(0, 4),
    "zero_height.bmp": bmp(4, 0),
    "negative_width.bmp": bmp(-4, 4),
    "top_down.bmp": bmp(4, -4, pixels=b"\x10" * 48),
    "huge.bmp": bmp(0x7FFFFFFF, 0x7FFFFFFF),
    "offset_in_header.bmp": bmp(4, 4, off=20),
    "offset_far.bmp": bmp(4, 4, off=0x7FFFFFF0),
    "no_colour_table.bmp": bmp(4, 4, bits=8, off=54 + 8),
    "colours_used_huge.bmp": bmp(4, 4, bits=8, clr_used=0xFFFFFFFF, off=54 + 1024),
    "short_pixels.bmp": bmp(64, 64, pixels=b"\x80" * 100),
    "cut_info_header.bmp": bmp(4, 4)[:30],
    "cut_colour_table.bmp": bmp(4, 4, bits=8, off=54 + 1024, colours=b"\1\2\3\0" * 10),
    "v5_header.bmp": bmp(4, 4, info=124, pixels=b"\0" * 48),
    "bitfields.bmp": bmp(4, 4, bits=16, comp=3, pixels=b"\0" * 32),
    "bit_count_0.bmp": bmp(4, 4, bits=0),
    # 64 KB files claiming the largest size: refused before any pixel block.
    "claims_16384_1bit.bmp": pad(bmp(16384, 16384, bits=1, colours=b"\0\0\0\0\xff\xff\xff\0"), 65536),
    "claims_16384_8bit.bmp": pad(bmp(16384, 16384, bits=8, colours=bytes(range(256)) * 4), 65536),
    # S16 sets: BIGS = oversized headers, CUTS = data ending early, ...
    "BIGS0000.s16": s16(5000, 5000, data=b"\xff\xff" * 1000),
    "BIGS0010.s16": s16(0x7FFFFFFF, 1, data=b"\x00\xf8" * 10),
    "BIGS0001.s16": s16(1, 0x7FFFFFFF, data=b"\x1f\x00" * 10),
    "CUTS0000.s16": s16(640, 480, data=b"\x1f\x00" * 333 + b"\x01"),
    "CUTS0010.s16": s16(640, 480)[:20],
    "RLES0000.s16": s16(640, 480, packing=1, data=bytes([255, 0xFF, 0xFF]) * 2000 + b"\x05\x00"),
    "NEGS0000.s16": s16(-640, -480, data=b"\xff\xff" * 100),
    "ZERS0000.s16": s16(0, 480, packing=1, data=bytes([10, 0, 0xF8])),
    "GAPS0000.s16": s16(64, 64, gap=-40, data=b"\xff\xff" * 64),
    "GAPF0000.s16": s16(64, 64, gap=0x7FFFFFF0, data=b"\xff\xff" * 64),
    "SIGS0000.s16": s16(64, 64, signature=2, data=b"\xff\xff" * 4096),
    # SHP sets
    "OFFSHP00.shp": shp(479, 639, 0, 0, 479, [2, 1, 0], offset=0x7FFFFFF0),
    "CUTSHP00.shp": shp(479, 639, 0, 0, 479, [2, 1, 0])[:20],
    "RUNSHP00.shp": shp(479, 639, 600, 0, 479, [254, 1, 127] + [7] * 10 + [1, 255, 4, 9, 0] * 3),
    "BIGSHP00.shp": shp(32767, 32767, -50, -0x7FFFFFFF, 0x7FFFFFFF, [2, 1]),
    "NEGSHP00.shp": shp(-2, -2, 0, 0, 10, [2, 1, 0]),
    "TWOSHP00.shp": shp(479, 639, 0, 0, 479, [2, 1, 0], shapes=2),
    "ENDSHP00.shp": shp(479, 639, 0, 0, 479, [9, 1]),
}
for name, data in files.items():
    with open(name, "wb") as f:
        f.write(data)
