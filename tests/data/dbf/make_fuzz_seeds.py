#!/usr/bin/python3
"""Writes the seed inputs of the header-check fuzz target from the sample tables.

usage: /usr/bin/python3 make_fuzz_seeds.py   (run in this folder)

An input is: an options byte (bits 0-1 mode, 2 Visual FoxPro format, 3 memo file,
4 index file, 5-6 file kind), the requested block size (4 bytes, little-endian),
the memo length (2 bytes, little-endian), the memo bytes, then the table bytes.

The same target reads every input as a dbfmend undo file too; undo-vfpmemo is one,
written here from the layout that dbfmend's UndoFile.h documents, for vfpmemo.dbf.
"""
import os
import struct
import zlib

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

# An undo file: magic, version, name lengths, a zero word, sizes and modification
# times (nanoseconds since 1970), the names, the table's 32 and the memo's 512 first
# bytes, then the CRC-32 of everything before it.
table = open("vfpmemo.dbf", "rb").read()
memo = open("vfpmemo.fpt", "rb").read()
names = (b"vfpmemo.dbf", b"vfpmemo.fpt")
body = (b"DBFMUNDO" + struct.pack("<HHHH", 1, len(names[0]), len(names[1]), 0)
        + struct.pack("<QqQq", len(table), 1700000000123456789, len(memo),
                      1700000000987654321)
        + names[0] + names[1] + table[:32] + memo[:512])
with open("fuzz-seeds/undo-vfpmemo", "wb") as out:
    out.write(body + struct.pack("<I", zlib.crc32(body)))
