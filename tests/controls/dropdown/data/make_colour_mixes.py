#!/usr/bin/env python3
"""Writes colour_mixes.txt from generated channels and percentages, rounding with Python's
round() (half to even). Lines: "mix <first> <second> <percent> <result>" and
"adjust <colour> <dr> <dg> <db> <result>", colours as 0xBBGGRR hex. Run from this folder."""
import random

rng = random.Random(28)

def channels(c):
    return [(c >> (8 * i)) & 0xFF for i in range(3)]

def colour(ch):
    return ch[0] | (ch[1] << 8) | (ch[2] << 16)

lines = []
for _ in range(300):
    a, b = rng.randrange(1 << 24), rng.randrange(1 << 24)
    p = rng.choice([rng.randint(1, 99), 50, 25, 75, 10, 90])
    q = p / 100
    mixed = [round(q * x + (1 - q) * y) for x, y in zip(channels(a), channels(b))]
    lines.append(f"mix {a:06X} {b:06X} {p} {colour(mixed):06X}")
for _ in range(300):
    c = rng.randrange(1 << 24)
    if rng.random() < 0.3:  # some zero channels
        ch = channels(c)
        ch[rng.randrange(3)] = 0
        c = colour(ch)
    d = [rng.choice([rng.randint(-100, 0), rng.randint(-10, 0), rng.randint(1, 60), -50, -25])
         for _ in range(3)]
    out = [round(min(100, 100 + di) / 100 * x) if x else max(0, di) for x, di in zip(channels(c), d)]
    lines.append(f"adjust {c:06X} {d[0]} {d[1]} {d[2]} {colour(out):06X}")
with open('colour_mixes.txt', 'w') as f:
    f.write('\n'.join(lines) + '\n')
