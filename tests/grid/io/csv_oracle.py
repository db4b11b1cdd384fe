#!/usr/bin/env python3
"""Python's csv module as the outside reader and writer of the grid's delimited text.

  csv_oracle.py read FILE ENCODING   prints each record of FILE as one line of fields,
                                     each field the hex of its UTF-8 bytes, joined by " "
                                     ("-" for an empty field)
  csv_oracle.py write FILE           writes a table with quotes, doubled quotes, delimiters
                                     and line breaks inside fields (UTF-8, no mark) and
                                     prints it in the same form
"""
import csv
import sys

TABLE = [
    ["plain", 'say "hi"', "a,b", ""],
    ["two\r\nlines", '"', "x, \"y\"\r\nz", ";|"],
    ["last", "é ü 中", "trail ", '""'],
]


def dump(rows):
    for row in rows:
        print(" ".join(f.encode("utf-8").hex() or "-" for f in row))


def main():
    mode, path = sys.argv[1], sys.argv[2]
    if mode == "read":
        with open(path, newline="", encoding=sys.argv[3]) as f:
            dump(list(csv.reader(f)))
    else:
        with open(path, "w", newline="", encoding="utf-8") as f:
            csv.writer(f).writerows(TABLE)
        dump(TABLE)


if __name__ == "__main__":
    main()
