#!/usr/bin/python3
"""Writes the sample tables of the header-check tests with Debian's python3-dbf.

usage: /usr/bin/python3 make_tables.py OUTPUT_DIR
"""
import datetime
import os
import sys

import dbf

ROWS = [
    ("Seoul branch", 12, datetime.date(2001, 5, 12), "first memo line\r\nsecond"),
    ("Busan office", 7, datetime.date(1999, 12, 31), "x" * 300),
    ("Daegu", 0, datetime.date(2000, 2, 29), ""),
    ("Incheon port", 1234, datetime.date(1996, 12, 4), "short"),
]

TABLES = [
    # name, python3-dbf table kind, field list, whether rows carry a memo
    ("plain3", "db3", "name C(20); qty N(6,0); due D", False),
    ("fox2memo", "fp", "name C(20); qty N(6,0); due D; note M", True),
    ("vfpplain", "vfp", "name C(20); qty I; due D", False),
    ("vfpmemo", "vfp", "name C(20); qty I; due D; note M", True),
]


def write(directory, name, kind, fields, with_memo):
    table = dbf.Table(os.path.join(directory, name), fields, dbf_type=kind)
    table.open(dbf.READ_WRITE)
    for row in ROWS:
        table.append(row if with_memo else row[:3])
    table.close()


def main():
    directory = sys.argv[1]
    os.makedirs(directory, exist_ok=True)
    for name, kind, fields, with_memo in TABLES:
        write(directory, name, kind, fields, with_memo)


if __name__ == "__main__":
    main()
