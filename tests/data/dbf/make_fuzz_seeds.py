#!/usr/bin/python3
"""Writes the seed inputs of the header-check fuzz target from the sample tables.

usage: /usr/bin/python3 make_fuzz_seeds.py   (run in this folder)

An input is: an options byte (bits 0-1 mode, 2 Visual FoxPro format, 3 memo file,
4 index file, 5-6 file kind), the requested block size (4 bytes, little-endian),
the memo length (2 bytes, little-endian), the memo bytes, then the table bytes.
"""
import os
import struct

SAMPLES = [("plain3", False, 0), ("vfpplain", False, 4), ("vfpmemo", True, 4),
           ("fox2memo", True, 0)]

os.makedirs("fuzz-seeds", exist_ok=True)
for name, has_memo, vfp in SAMPLES:
    table = open(name + ".dbf", "rb").read()
    memo = open(name + ".fpt", "rb").read() if has_memo else b""
    for mode in (0, 1, 2):
        options = mode | vfp | (8 if has_memo else 0) | 16
        seed = bytes([options]) + struct.pack("<iH", 128, len(memo)) + memo + table
        with open("fuzz-seeds/%s-%d" % (name, mode), "wb") as out:
            out.write(seed)
