#!/usr/bin/env python3
"""Checks that a program's --help and its manual page name the same options.

    manpage-check.py PROGRAM PAGE [GUIDE]

PROGRAM is run with --help; its options are the entries that open an indented line
("  --lat DEG ...", "  -h, --help ..." counts as --help). PAGE is the page's roff source
(plain, or gzip-compressed as installed); its options are the first long option of each tag
(the line after .TP) of the OPTIONS section. Every option must be in both. With GUIDE, a
Markdown document, every option of --help must also appear there in code (`--lat`, `--lat DEG`).
Exit status 0 when all agree, 1 with the differences listed.
"""
import gzip
import os
import re
import subprocess
import sys

HELP_ENTRY = re.compile(r"^ {2,8}(?:-h, )?(--[a-z][a-z-]*)")
LONG_OPTION = re.compile(r"--[a-z][a-z-]*")


def help_options(program):
    result = subprocess.run([program, "--help"], capture_output=True, text=True, check=False,
                            env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    if result.returncode != 0:
        sys.exit(f"{program} --help failed with status {result.returncode}: {result.stderr}")
    return {m.group(1) for m in map(HELP_ENTRY.match, result.stdout.splitlines()) if m}


def page_options(page):
    opener = gzip.open if page.endswith(".gz") else open
    with opener(page, "rt", encoding="utf-8") as text:
        lines = text.read().splitlines()
    options, in_options, tag_next = set(), False, False
    for line in lines:
        if line.startswith(".SH"):
            in_options = line.split(None, 1)[1:] == ["OPTIONS"]
            continue
        if not in_options:
            continue
        if line.startswith(".TP"):
            tag_next = True
        elif tag_next:
            tag_next = False
            found = LONG_OPTION.search(line.replace("\\-", "-"))
            if found:
                options.add(found.group(0))
    return options


def guide_options(guide, wanted):
    with open(guide, encoding="utf-8") as text:
        body = text.read()
    return {o for o in wanted if re.search("`" + re.escape(o) + r"[ =`]", body)}


def main(argv):
    if len(argv) not in (3, 4):
        sys.exit(__doc__)
    program, page = argv[1], argv[2]
    in_help, in_page = help_options(program), page_options(page)
    problems = []
    if not in_help:
        problems.append(f"no options found in {program} --help")
    problems += [f"{page} does not describe {o}" for o in sorted(in_help - in_page)]
    problems += [f"{page} describes {o}, which --help lacks" for o in sorted(in_page - in_help)]
    if len(argv) == 4:
        guide = argv[3]
        problems += [f"{guide} does not name {o}"
                     for o in sorted(in_help - guide_options(guide, in_help))]
    for problem in problems:
        print(problem)
    print(f"{len(in_help)} options in --help, {len(in_page)} in the page, "
          f"{len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
