#!/usr/bin/env python3
"""Compares two AiBench matches over the same deals (files from --per-deal).

Prints each run's ratio (fair points over the other pair's) with its standard
error, and the difference of the second run's ratio from the first's with the
standard error of that difference taken deal by deal, which is much smaller
than either ratio's own when the deals are the same.

    compare_matches.py FIRST SECOND
"""
import math
import sys


def read(path):
    rows = []
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 2:
                rows.append((float(parts[0]), float(parts[1])))
    return rows


def influence(rows):
    """The ratio and each deal's share of its error (delta method)."""
    n = len(rows)
    fair = sum(r[0] for r in rows) / n
    other = sum(r[1] for r in rows) / n
    ratio = fair / other
    return ratio, [(f - ratio * o) / other for f, o in rows]


def se(values):
    n = len(values)
    mean = sum(values) / n
    return math.sqrt(sum((v - mean) ** 2 for v in values) / (n - 1) / n)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    a, b = read(sys.argv[1]), read(sys.argv[2])
    n = min(len(a), len(b))
    if n < 2:
        sys.exit("too few deals")
    a, b = a[:n], b[:n]
    ra, ea = influence(a)
    rb, eb = influence(b)
    diff = [y - x for x, y in zip(ea, eb)]
    print(f"deals {n}")
    print(f"first  ratio {ra:.4f} (standard error {se(ea):.4f})")
    print(f"second ratio {rb:.4f} (standard error {se(eb):.4f})")
    print(f"second - first {rb - ra:+.4f} (standard error {se(diff):.4f})")


if __name__ == "__main__":
    main()
