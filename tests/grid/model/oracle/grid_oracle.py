#!/usr/bin/env python3
"""Outside oracle of the string grid's sorting and wildcard filtering.

Generates columns of texts, lets the grid sort or filter them (through the driver given as
the first argument) and compares the row order with Python's stable sorted() over the same
keys, the rows kept with fnmatch.fnmatchcase, and the group figures with math.fsum,
statistics.mean and pstdev, min, max and the count of distinct upper-cased texts. Exits
non-zero on the first difference.
"""
import datetime
import fnmatch
import math
import os
import random
import statistics
import struct
import subprocess
import sys
import tempfile

SS_ALPHABETIC, SS_NUMERIC, SS_DATE, SS_ALPHANOCASE, SS_FINANCIAL, SS_DATETIME, SS_TIME = 1, 2, 3, 4, 9, 16, 17
EPOCH = datetime.datetime(1899, 12, 30)


def units(s):
    """UTF-16 code units, the order of ordinal comparison."""
    b = s.encode("utf-16-le")
    return struct.unpack("<%dH" % (len(b) // 2), b)


def upper_az(s):
    return "".join(chr(ord(c) - 32) if "a" <= c <= "z" else c for c in s)


def number_key(s, prefix, suffix, financial):
    if prefix and prefix in s:
        s = s.replace(prefix, "", 1)
    if suffix and suffix in s:
        s = s.replace(suffix, "", 1)
    if financial:
        s = s.replace(",", "")
    try:
        return float(s)
    except ValueError:
        return 0.0


def date_key(s):
    for fmt in ("%d/%m/%Y %H:%M:%S", "%d/%m/%Y %H:%M", "%d/%m/%Y"):
        try:
            return (datetime.datetime.strptime(s, fmt) - EPOCH) / datetime.timedelta(days=1)
        except ValueError:
            pass
    return 0.0


def time_key(s):
    for fmt in ("%H:%M:%S", "%H:%M"):
        try:
            t = datetime.datetime.strptime(s, fmt)
            return t.hour * 3600 + t.minute * 60 + t.second
        except ValueError:
            pass
    return 0.0


def gen_text(rng):
    alphabet = "aAbBzZ09 _~\u00e9\u00c9\uff21\U0001F600"
    return "".join(rng.choice(alphabet) for _ in range(rng.randint(0, 4)))


def gen_number(rng, financial):
    k = rng.random()
    if k < 0.1:
        return ""
    if k < 0.2:
        return rng.choice(["abc", "-", "1,2", "x5"])
    whole = rng.randint(0, 2_000_000)
    text = "{:,}".format(whole) if financial and rng.random() < 0.6 else str(whole)
    if rng.random() < 0.5:
        text += "." + str(rng.randint(0, 99))
    if rng.random() < 0.3:
        text = "-" + text
    return text


def gen_date(rng):
    k = rng.random()
    if k < 0.1:
        return ""
    if k < 0.2:
        return rng.choice(["31/02/2020", "junk", "1/1"])
    d = datetime.datetime(1950, 1, 1) + datetime.timedelta(minutes=rng.randint(0, 60 * 24 * 365 * 80))
    if rng.random() < 0.5:
        return d.strftime("%d/%m/%Y")
    return d.strftime("%d/%m/%Y %H:%M")


def gen_time(rng):
    if rng.random() < 0.1:
        return rng.choice(["", "25:00", "x"])
    h, m, s = rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59)
    return "%d:%02d:%02d" % (h, m, s) if rng.random() < 0.5 else "%d:%02d" % (h, m)


def sort_cases(rng):
    for _ in range(6):
        for desc in (0, 1):
            n = rng.randint(1, 60)
            yield ("sort", SS_ALPHABETIC, desc, "-", "-"), [[gen_text(rng)] for _ in range(n)], \
                lambda rows: [units(r[0]) for r in rows]
            yield ("sort", SS_ALPHANOCASE, desc, "-", "-"), [[gen_text(rng)] for _ in range(n)], \
                lambda rows: [units(upper_az(r[0])) for r in rows]
            yield ("sort", SS_NUMERIC, desc, "$", "kg"), \
                [[rng.choice(["", "$"]) + gen_number(rng, False) + rng.choice(["", "kg"])] for _ in range(n)], \
                lambda rows: [number_key(r[0], "$", "kg", False) for r in rows]
            yield ("sort", SS_FINANCIAL, desc, "-", "-"), [[gen_number(rng, True)] for _ in range(n)], \
                lambda rows: [number_key(r[0], "", "", True) for r in rows]
            yield ("sort", SS_DATE, desc, "-", "-"), [[gen_date(rng)] for _ in range(n)], \
                lambda rows: [date_key(r[0]) for r in rows]
            yield ("sort", SS_DATETIME, desc, "-", "-"), [[gen_date(rng)] for _ in range(n)], \
                lambda rows: [date_key(r[0]) for r in rows]
            yield ("sort", SS_TIME, desc, "-", "-"), [[gen_time(rng)] for _ in range(n)], \
                lambda rows: [time_key(r[0]) for r in rows]
    # Columns long enough for the grid to pack many units into each row's key: a small
    # alphabet with texts that fit whole in a key (many repeated texts), and the wide
    # alphabet with texts longer than any key (shared beginnings), in both cases.
    for alphabet, longest in (("abAB z", 12), ("aAbBzZ09 _~\u00e9\u00c9\uff21\U0001F600", 40)):
        for style, keyf in ((SS_ALPHABETIC, lambda rows: [units(r[0]) for r in rows]),
                            (SS_ALPHANOCASE, lambda rows: [units(upper_az(r[0])) for r in rows])):
            for desc in (0, 1):
                n = rng.randint(1024, 3000)
                stem = "".join(rng.choice(alphabet) for _ in range(rng.randint(0, 10)))
                rows = [[(stem if rng.random() < 0.5 else "")
                         + "".join(rng.choice(alphabet) for _ in range(rng.randint(0, longest)))][:1]
                        for _ in range(n)]
                rows = [[r[0][:longest]] for r in rows]
                yield ("sort", style, desc, "-", "-"), rows, keyf


METHODS = {1: "sum", 2: "avg", 3: "min", 4: "max", 5: "count", 7: "distinct", 8: "stddev"}


def gen_figure_value(rng, method):
    if method == 7:
        return "".join(rng.choice("aAbB\u00e9\u00c9") for _ in range(rng.randint(1, 2)))
    k = rng.random()
    if k < 0.1:
        return ""  # an empty cell counts as 0
    if k < 0.25:
        # Magnitudes that cancel: a plain running sum loses the small terms.
        return rng.choice(["1e16", "-1e16", "1e-3", "3.3e15", "-3.3e15"])
    return "%d.%02d" % (rng.randint(-5000, 5000), rng.randint(0, 99))


def figure(method, texts):
    if method == 5:
        return len(texts)
    if method == 7:
        return float(len({t.upper() for t in texts}))
    values = [float(t) if t else 0.0 for t in texts]
    return {1: math.fsum, 2: statistics.mean, 3: min, 4: max, 8: statistics.pstdev}[method](values)


def group_cases(rng):
    """Rows (group value, figure text); the expected figures of the groups in sorted order."""
    for method in METHODS:
        for _ in range(6):
            n = rng.randint(1, 40)
            rows = [["g%d" % rng.randint(1, 4), gen_figure_value(rng, method)] for _ in range(n)]
            # Each large value meets its negation later in the same group, so the figure is
            # small and only an exact sum keeps the small terms.
            for key, text in list(rows):
                if "e1" in text:
                    rows.insert(rng.randint(rows.index([key, text]) + 1, len(rows)),
                                [key, text[1:] if text.startswith("-") else "-" + text])
            groups = {}
            for key, text in rows:  # stable: each group keeps its rows' order
                groups.setdefault(key, []).append(text)
            yield ("group", method), rows, [figure(method, groups[k]) for k in sorted(groups)]


def figures_match(got_line, expected):
    got = got_line.split()
    if len(got) != len(expected):
        return False
    for g, e in zip(got, expected):
        try:
            v = float(g)
        except ValueError:
            return False
        if not math.isclose(v, e, rel_tol=1e-12, abs_tol=1e-9):
            return False
    return True


def expected_sort(head, rows, keyf):
    keys = keyf(rows)
    order = sorted(range(len(rows)), key=lambda i: keys[i], reverse=head[2] == 1)
    return order


def main():
    driver = sys.argv[1]
    rng = random.Random(20261211)
    cases = []  # (head, rows, expected order)
    for head, rows, keyf in sort_cases(rng):
        cases.append((head, rows, expected_sort(head, rows, keyf)))
    for _ in range(12):
        for desc in (0, 1):
            n = rng.randint(1, 60)
            rows = [[rng.choice(["a", "b", "B", "c"]), gen_number(rng, False)] for _ in range(n)]
            second = sorted(range(n), key=lambda i: number_key(rows[i][1], "", "", False), reverse=desc == 1)
            order = sorted(second, key=lambda i: units(rows[i][0]))
            cases.append((("index", desc), rows, order))
    for _ in range(40):
        n = rng.randint(1, 60)
        rows = [["".join(rng.choice("aAbB01") for _ in range(rng.randint(1, 5)))] for _ in range(n)]
        pattern = "".join(rng.choice("aAbB01*?") for _ in range(rng.randint(1, 4)))
        case = rng.random() < 0.5
        if case:
            kept = [i for i in range(n) if fnmatch.fnmatchcase(rows[i][0], pattern)]
        else:
            kept = [i for i in range(n) if fnmatch.fnmatchcase(rows[i][0].upper(), pattern.upper())]
        cases.append((("filter", pattern, int(case)), rows, kept))
    for head, rows, expected in group_cases(rng):
        cases.append((head, rows, expected))

    with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".txt", delete=False) as f:
        path = f.name
        for head, rows, _ in cases:
            f.write("\t".join(str(h) for h in head) + "\n")
            for row in rows:
                f.write("\t".join(row) + "\n")
            f.write(".\n")
    try:
        out = subprocess.run([driver, path], check=True, capture_output=True, text=True, encoding="utf-8").stdout
    finally:
        os.unlink(path)
    lines = out.split("\n")
    failures = 0
    for k, (head, rows, expected) in enumerate(cases):
        line = lines[k] if k < len(lines) else ""
        if head[0] == "group":
            differs = not figures_match(line, expected)
            got = line
        else:
            got = [int(x) for x in line.split()] if line.strip() else []
            differs = got != expected
        if differs:
            failures += 1
            print("case %d %r differs\n  rows %r\n  grid   %r\n  python %r" % (k, head, rows, got, expected))
            if failures > 5:
                break
    print("%d cases, %d differ" % (len(cases), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
