#!/usr/bin/env python3
"""Builds KireloHelp.chm from the UTF-8 pages in this directory.

    python3 docs/help/make_help.py [--chmcmd PATH] [--work DIR] [--codepage CP] [--also FILE]...
                                   SOURCE_DIR OUTPUT.chm

HTML Help reads the contents, the index and the project file in the code page of the help's
language, so the pages are copied into the work directory converted to it (Shift_JIS, code page
932, for the Japanese help; 1252 for the English one in docs/help/en), with their charset
declaration changed to match, and chmcmd compiles the copy there. --also adds a file from another
directory (the English pages share the Japanese pages' style sheet)."""

import argparse
import os
import re
import shutil
import subprocess
import sys

TEXT = (".html", ".hhc", ".hhk", ".hhp", ".css")
CHARSETS = {"cp932": "Shift_JIS", "cp1252": "windows-1252"}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--chmcmd", default="chmcmd")
    ap.add_argument("--work")
    ap.add_argument("--codepage", default="cp932", choices=sorted(CHARSETS))
    ap.add_argument("--also", action="append", default=[])
    ap.add_argument("source")
    ap.add_argument("output")
    a = ap.parse_args()
    work = a.work or os.path.join(os.path.dirname(os.path.abspath(a.output)), "help-work")
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)
    project = None
    sources = [os.path.join(a.source, name) for name in sorted(os.listdir(a.source))] + a.also
    for src in sources:
        name = os.path.basename(src)
        if not name.endswith(TEXT) or not os.path.isfile(src):
            continue
        text = open(src, encoding="utf-8").read()
        text = re.sub(r"charset=UTF-8", "charset=" + CHARSETS[a.codepage], text, flags=re.IGNORECASE)
        try:
            data = text.encode(a.codepage)
        except UnicodeEncodeError as e:
            sys.exit("make_help: %s: a character that %s cannot hold: %r" % (name, a.codepage, e.object[e.start:e.end]))
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
