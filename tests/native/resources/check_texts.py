#!/usr/bin/env python3
"""The program's texts live in resources only, in both languages:

  check_texts.py ROOT

- no string literal outside ASCII in the program's code (base, colony, imaging, platform, shell, simulation),
  except the window class names, which no user reads (they name the classes and the instance
  mutex);
- every id of resources/TextIds.h has a string in the Japanese and in the English string table of
  resources/kirelo.rc, and the tables hold no other id;
- the Japanese and the English menu carry the same commands in the same order."""
import os
import re
import sys

CODE_DIRS = ("base", "colony", "imaging", "platform", "shell", "simulation")
ALLOWED = {("shell/ShellWindowState.h", "「Kirelo」"), ("shell/ShellWindowState.h", "スプラッシュウインドウ"),
           ("shell/ShellWindowState.h", "はぐれありさん")}
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def stray_literals(root):
    found = []
    for d in CODE_DIRS:
        for name in sorted(os.listdir(os.path.join(root, d))):
            if not name.endswith((".cpp", ".h")):
                continue
            rel = f"{d}/{name}"
            text = open(os.path.join(root, rel), encoding="utf-8").read()
            for number, line in enumerate(text.splitlines(), 1):
                # a comment starts at // outside a literal
                parts = re.split(r'("(?:[^"\\]|\\.)*")', line)
                code = ""
                for part in parts:
                    if not part.startswith('"') and "//" in part:
                        code += part.split("//")[0]
                        break
                    code += part
                for literal in LITERAL.findall(code):
                    if any(ord(c) > 127 for c in literal) and (rel, literal) not in ALLOWED:
                        found.append(f"{rel}:{number}: {literal}")
    return found


def language_blocks(rc):
    """{language: text of the resources declared under that LANGUAGE statement}"""
    blocks = {}
    pieces = re.split(r"^LANGUAGE\s+(0x[0-9a-fA-F]+|\d+)\s*,\s*(0x[0-9a-fA-F]+|\d+)", rc, flags=re.M)
    for i in range(1, len(pieces), 3):
        key = (int(pieces[i], 0), int(pieces[i + 1], 0))
        blocks[key] = blocks.get(key, "") + pieces[i + 2]
    return blocks


def main():
    root = sys.argv[1]
    problems = [f"display text in code: {s}" for s in stray_literals(root)]
    ids = re.findall(r"^#define (IDS_\w+) \d+", open(os.path.join(root, "resources/TextIds.h")).read(), re.M)
    rc = open(os.path.join(root, "resources/kirelo.rc"), encoding="utf-8").read()
    blocks = language_blocks(rc)
    menus = {}
    for lang, name in (((0x11, 1), "Japanese"), ((0x09, 1), "English")):
        text = blocks.get(lang, "")
        table = re.search(r"^STRINGTABLE\s*\nBEGIN\n(.*?)^END", text, re.S | re.M)
        have = re.findall(r"^\s*(IDS_\w+)\s+\"((?:[^\"\\]|\\.)+)\"", table.group(1), re.M) if table else []
        names = [n for n, _ in have]
        for missing in sorted(set(ids) - set(names)):
            problems.append(f"{name}: no string for {missing}")
        for extra in sorted(set(names) - set(ids)):
            problems.append(f"{name}: {extra} is not in TextIds.h")
        if len(names) != len(set(names)):
            problems.append(f"{name}: an id has two strings")
        menus[name] = re.findall(r"(IDM_\w+|SEPARATOR|POPUP)", text.split("STRINGTABLE")[0])
    if not menus["Japanese"] or menus["Japanese"] != menus["English"]:
        problems.append(f"the menus differ: {menus}")
    for p in problems:
        print(p)
    print(f"check_texts: {len(ids)} text ids, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
