#!/usr/bin/env python3
"""Reads an exported HTML table with Python's html.parser and prints what it found.

  html_oracle.py table FILE    one line per row: the cells as text|colspan|rowspan|class,
                               joined by tabs; then "classes ok" when every class a cell
                               uses is defined in the style block, else "missing <names>"
  html_oracle.py clip FILE     FILE holds a clipboard "HTML Format" block: prints the slice
                               between StartHTML and EndHTML, a line "----", and the slice
                               between StartFragment and EndFragment (byte offsets)
"""
import re
import sys
from html.parser import HTMLParser


class Table(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.rows, self.row, self.cell, self.style, self.in_style = [], None, None, "", False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "style":
            self.in_style = True
        elif tag == "tr":
            self.row = []
        elif tag == "td":
            self.cell = {"text": "", "colspan": a.get("colspan", "1"), "rowspan": a.get("rowspan", "1"),
                         "class": a.get("class", "")}
        elif tag == "br" and self.cell is not None:
            self.cell["text"] += "\\n"
        elif tag == "img" and self.cell is not None:
            self.cell["text"] += "[img " + a.get("src", "").strip() + "]"

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)

    def handle_endtag(self, tag):
        if tag == "style":
            self.in_style = False
        elif tag == "td" and self.cell is not None:
            self.row.append(self.cell)
            self.cell = None
        elif tag == "tr" and self.row is not None:
            self.rows.append(self.row)
            self.row = None

    def handle_data(self, data):
        if self.in_style:
            self.style += data
        elif self.cell is not None:
            self.cell["text"] += data


def main():
    mode, path = sys.argv[1], sys.argv[2]
    raw = open(path, "rb").read()
    if mode == "clip":
        head = raw[:200].decode("ascii", "replace")
        off = {k: int(v) for k, v in re.findall(r"(StartHTML|EndHTML|StartFragment|EndFragment):(\d+)", head)}
        sys.stdout.write(raw[off["StartHTML"]:off["EndHTML"]].decode("utf-8") + "\n----\n" +
                         raw[off["StartFragment"]:off["EndFragment"]].decode("utf-8") + "\n")
        return
    if raw.startswith(b"\xff\xfe"):
        text = raw[2:].decode("utf-16-le")
    else:
        text = raw.decode("ascii")
    p = Table()
    p.feed(text)
    p.close()
    for row in p.rows:
        print("\t".join(f"{c['text']}|{c['colspan']}|{c['rowspan']}|{c['class']}" for c in row))
    defined = set(re.findall(r"\.(c\d+)\s*\{", p.style))
    used = {c["class"] for row in p.rows for c in row}
    missing = sorted(used - defined)
    print("classes ok" if not missing else "missing " + " ".join(missing))


if __name__ == "__main__":
    main()
