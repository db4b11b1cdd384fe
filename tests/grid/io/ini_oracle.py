#!/usr/bin/env python3
"""Python's configparser as the outside reader of the grid's INI files.

  ini_oracle.py FILE   prints every value of FILE as "section<TAB>key<TAB>value" lines
                       (names as written, values as configparser gives them)
"""
import configparser
import sys


def main():
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str
    with open(sys.argv[1], encoding="utf-8-sig") as f:
        parser.read_file(f)
    for section in parser.sections():
        for key, value in parser.items(section):
            print(f"{section}\t{key}\t{value}")


if __name__ == "__main__":
    main()
