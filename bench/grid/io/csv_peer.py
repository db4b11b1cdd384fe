#!/usr/bin/env python3
"""The peer of bench_grid_io: Python's csv module writing and reading the same cells.

  csv_peer.py ROWS [FILE]   writes ROWS x 10 cells with csv.writer, reads them back with
                            csv.reader into a list of rows, and prints both times and rates
"""
import csv
import os
import sys
import tempfile
import time

COLS = 10


def main():
    rows = int(sys.argv[1])
    path = sys.argv[2] if len(sys.argv) > 2 else os.path.join(tempfile.gettempdir(), f"csv_peer_{rows}.csv")
    table = [[str((r * COLS + c) % 1000003) for c in range(COLS)] for r in range(rows)]
    t0 = time.perf_counter()
    with open(path, "w", newline="", encoding="cp1252") as f:
        csv.writer(f).writerows(table)
    t1 = time.perf_counter()
    del table
    t2 = time.perf_counter()
    with open(path, newline="", encoding="cp1252") as f:
        back = list(csv.reader(f))
    t3 = time.perf_counter()
    assert len(back) == rows
    cells = rows * COLS
    print(f"csv.writer {rows} rows: {(t1 - t0) * 1000:.0f} ms ({cells / (t1 - t0) / 1e6:.2f} M cells/s)")
    print(f"csv.reader {rows} rows: {(t3 - t2) * 1000:.0f} ms ({cells / (t3 - t2) / 1e6:.2f} M cells/s)")
    os.remove(path)


if __name__ == "__main__":
    main()
