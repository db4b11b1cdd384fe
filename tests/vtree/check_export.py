#!/usr/bin/env python3
"""Reads the tree's exported files back with Python's own parsers.

  check_export.py html FILE            the text of every table cell, in order, one JSON list
  check_export.py cfhtml FILE          the clipboard HTML block: header numbers checked
                                       against the fixed layout, then the bytes between
                                       StartFragment and EndFragment, as JSON text
  check_export.py csv FILE ENCODING SEP   the rows as read by the csv module, one JSON list
Exits 1 with a message when the input does not have the expected shape.
"""
import csv
import html.parser
import json
import sys


class Cells(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.cells = []
        self.depth = 0

    def handle_starttag(self, tag, attrs):
        if tag in ("td", "th"):
            self.depth += 1
            self.cells.append("")

    def handle_endtag(self, tag):
        if tag in ("td", "th"):
            self.depth -= 1

    def handle_data(self, data):
        if self.depth > 0:
            self.cells[-1] += data


def fail(message):
    print(message)
    sys.exit(1)


def main():
    mode, path = sys.argv[1], sys.argv[2]
    if mode == "html":
        parser = Cells()
        with open(path, encoding="utf-8") as f:
            parser.feed(f.read())
        parser.close()
        print(json.dumps(parser.cells))
    elif mode == "cfhtml":
        with open(path, "rb") as f:
            data = f.read()
        if not data.endswith(b"\0"):
            fail("no terminating NUL")
        data = data[:-1]
        numbers = {}
        for line in data[:97].split(b"\r\n"):
            if b":" in line:
                key, value = line.split(b":", 1)
                numbers[key.decode()] = value.decode()
        for key in ("StartHTML", "EndHTML", "StartFragment", "EndFragment"):
            if len(numbers.get(key, "")) != 8:
                fail("%s is not 8 digits" % key)
        start_html, end_html = int(numbers["StartHTML"]), int(numbers["EndHTML"])
        start, end = int(numbers["StartFragment"]), int(numbers["EndFragment"])
        length = end - start
        if (start_html, start, end_html) != (97, 269, length + 301):
            fail("header numbers %r" % numbers)
        if end_html != len(data):
            fail("EndHTML %d, block %d bytes" % (end_html, len(data)))
        if not data[start_html:].startswith(b"<!DOCTYPE"):
            fail("StartHTML does not point at the document")
        if not data[:start].endswith(b"<!--StartFragment-->") or not data[end:].startswith(b"<!--EndFragment-->"):
            fail("fragment offsets miss the markers")
        print(json.dumps(data[start:end].decode("utf-8")))
    elif mode == "csv":
        encoding, sep = sys.argv[3], sys.argv[4]
        with open(path, encoding=encoding, newline="") as f:
            print(json.dumps(list(csv.reader(f, delimiter=sep))))
    else:
        fail("unknown mode " + mode)


if __name__ == "__main__":
    main()
