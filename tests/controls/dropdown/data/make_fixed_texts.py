#!/usr/bin/env python3
"""Writes fixed_texts.txt: for generated doubles and decimal counts, the fixed-point text
('%.*f' %) and the grouped text (format(x, ',.*f')) that Python prints. Each line:
<repr of the value> <decimals> <fixed> <grouped>. Run from this folder."""
import random

rng = random.Random(20261211)
ties = [2.675, 1.005, 0.125, 0.375, 2.5, 0.5, 1.5, 3.5, -2.5, 1234.5, 1234.565, 0.045, 8.325,
        1.115, 999999.995, 1000000.0, 0.001, -0.001, 123456789.125, 0.0]
values = list(ties)
for _ in range(150):
    magnitude = rng.choice([1, 10, 1000, 1e6, 1e9, 1e12])
    v = rng.uniform(-magnitude, magnitude)
    values.append(float(repr(round(v, rng.randint(0, 6)))))
for _ in range(30):  # exact halves at the last printed digit
    d = rng.randint(0, 4)
    values.append((rng.randint(-10**7, 10**7) * 2 + 1) / (2 * 10**d) if d else rng.randint(-999, 999) + 0.5)

lines = []
for v in values:
    r = repr(v)
    if 'e' in r or 'inf' in r or 'nan' in r:
        continue
    for p in (0, 1, 2, 3, 4, 6):
        lines.append(f"{r} {p} {'%.*f' % (p, v)} {format(v, ',.%df' % p)}")
with open('fixed_texts.txt', 'w') as f:
    f.write('\n'.join(lines) + '\n')
