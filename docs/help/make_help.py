#!/usr/bin/env python3
"""Builds KireloHelp.chm from the UTF-8 pages in this directory.

    python3 docs/help/make_help.py [--chmcmd PATH] [--work DIR] SOURCE_DIR OUTPUT.chm

HTML Help reads the contents, the index and the project file in the system's code page, so the
pages are copied into the work directory converted to Shift_JIS (code page 932), with their
charset declaration changed to match, and chmcmd compiles the copy there."""

import argparse
import os
import re
import shutil
import subprocess
import sys

TEXT = (".html", ".hhc", ".hhk", ".hhp", ".css")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--chmcmd", default="chmcmd")
    ap.add_argument("--work")
    ap.add_argument("source")
    ap.add_argument("output")
    a = ap.parse_args()
    work = a.work or os.path.join(os.path.dirname(os.path.abspath(a.output)), "help-work")
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)
    project = None
    for name in sorted(os.listdir(a.source)):
        src = os.path.join(a.source, name)
        if not name.endswith(TEXT):
            continue
        text = open(src, encoding="utf-8").read()
        text = re.sub(r"charset=UTF-8", "charset=Shift_JIS", text, flags=re.IGNORECASE)
        try:
            data = text.encode("cp932")
        except UnicodeEncodeError as e:
            sys.exit("make_help: %s: a character that code page 932 cannot hold: %r" % (name, e.object[e.start:e.end]))
        with open(os.path.join(work, name), "wb") as f:
            f.write(data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n"))
        if name.endswith(".hhp"):
            project = name
    if project is None:
        sys.exit("make_help: no .hhp project in %s" % a.source)
    compiled = None
    for line in open(os.path.join(a.source, project), encoding="utf-8"):
        if line.lower().startswith("compiled file="):
            compiled = line.split("=", 1)[1].strip()
    if not compiled:
        sys.exit("make_help: %s names no 'Compiled file'" % project)
    r = subprocess.run([a.chmcmd, project], cwd=work, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                       errors="replace")
    built = os.path.join(work, compiled)
    if r.returncode != 0 or not os.path.isfile(built):
        sys.stdout.write(r.stdout)
        sys.exit("make_help: chmcmd failed (exit %d)" % r.returncode)
    shutil.copyfile(built, a.output)
    print("make_help: %s (%d bytes)" % (a.output, os.path.getsize(a.output)))


if __name__ == "__main__":
    main()
