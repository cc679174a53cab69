#!/usr/bin/env python3
"""Fails unless resources/art holds exactly what generate_art.py draws now.

    python3 resources/check_art.py [ART_DIR]

Regenerates every picture into a temporary directory and compares the files byte for byte with
the committed ones (missing, extra and differing files are all reported). First it reads the
generator itself: the bytes must not hang on the platform's C maths library, so the generator may
use only the exactly rounded parts of `math` and no ** operator or pow() (its own sin, cos, exp,
log, atan2 and power are built from exact operations)."""

import ast
import os
import subprocess
import sys
import tempfile


# The parts of `math` whose results are exactly rounded (or exact), the same on every machine.
EXACT_MATH = {"sqrt", "floor", "ceil", "fsum", "frexp", "ldexp", "copysign", "fabs", "pi"}


def libm_uses(path):
    """Places in the generator whose result could differ with the platform's maths library."""
    found = []
    for node in ast.walk(ast.parse(open(path).read(), path)):
        line = getattr(node, "lineno", 0)
        if isinstance(node, (ast.BinOp, ast.AugAssign)) and isinstance(node.op, ast.Pow):
            found.append("line %d: ** (use power())" % line)
        elif isinstance(node, ast.Call) and isinstance(node.func, ast.Name) and node.func.id == "pow":
            found.append("line %d: pow() (use power())" % line)
        elif (isinstance(node, ast.Attribute) and isinstance(node.value, ast.Name) and node.value.id == "math"
              and node.attr not in EXACT_MATH):
            found.append("line %d: math.%s" % (line, node.attr))
    return found


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    art = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "art")
    uses = libm_uses(os.path.join(here, "generate_art.py"))
    for u in uses:
        print("art_up_to_date: generate_art.py depends on the C maths library at", u)
    if uses:
        return 1
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([sys.executable, os.path.join(here, "generate_art.py"), tmp], check=True)
        fresh = sorted(os.listdir(tmp))
        committed = sorted(f for f in os.listdir(art) if not f.startswith("."))
        problems = []
        for name in sorted(set(fresh) | set(committed)):
            if name not in committed:
                problems.append("%s: drawn by the generator but missing from %s" % (name, art))
            elif name not in fresh:
                problems.append("%s: in %s but no longer drawn by the generator" % (name, art))
            else:
                a = open(os.path.join(tmp, name), "rb").read()
                b = open(os.path.join(art, name), "rb").read()
                if a != b:
                    first = next((i for i in range(min(len(a), len(b))) if a[i] != b[i]), min(len(a), len(b)))
                    problems.append("%s: differs (sizes %d/%d, first difference at byte %d)" % (name, len(a), len(b), first))
        for p in problems:
            print("art_up_to_date:", p)
        if problems:
            print("art_up_to_date: run `python3 resources/generate_art.py` and commit resources/art")
            return 1
        print("art_up_to_date: %d files match" % len(fresh))
        return 0


if __name__ == "__main__":
    sys.exit(main())
