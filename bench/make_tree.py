#!/usr/bin/env python3
"""Lays out a benchmark tree: FOLDERS folders, FILES files in all, half of them *.tmp and
old (2000-01-01), half *.dat and new."""
import os
import sys

root, folders, files = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
old = 946684800
per = files // folders
for d in range(folders):
    path = os.path.join(root, "d%04d" % (d // 50), "s%04d" % d)
    os.makedirs(path, exist_ok=True)
    for f in range(per):
        name = os.path.join(path, ("f%05d.tmp" if f % 2 == 0 else "f%05d.dat") % f)
        with open(name, "wb"):
            pass
        if f % 2 == 0:
            os.utime(name, (old, old))
