#!/usr/bin/env python3
"""Writes the product tree of the tree-install test: 300 files in nested
directories, text-like and noise, a few empty, names repeated in different
directories. A fixed seed: the same tree on every run.

    python3 TreePayload.py DIR
"""
import os
import random
import sys

LAYOUT = [  # directory, number of files
    ("", 20), ("lib", 40), ("lib/plug", 40), ("data", 50),
    ("data/mol", 60), ("data/mol/big", 40), ("docs", 30), ("docs/api", 20),
]
WORDS = b"ATOM HETATM CONECT END MODEL bond angle 0.000 1.234 -7.5 C N O H\n".split(b" ")


def main():
    root = sys.argv[1]
    rng = random.Random(18)
    count = 0
    for directory, n in LAYOUT:
        path = os.path.join(root, directory)
        os.makedirs(path, exist_ok=True)
        for i in range(n):
            # index.txt in every directory: one name, many destinations.
            name = "index.txt" if i == 0 else "f%03d.%s" % (count, rng.choice(["mol", "pdb", "dat", "txt", "bin"]))
            kind = rng.random()
            if kind < 0.03:
                data = b""
            elif kind < 0.45:
                data = bytes(rng.getrandbits(8) for _ in range(rng.randint(200, 7000)))
            else:
                data = b" ".join(rng.choice(WORDS) for _ in range(rng.randint(20, 3000)))
            with open(os.path.join(path, name), "wb") as f:
                f.write(data)
            count += 1
    assert count == 300, count


main()
