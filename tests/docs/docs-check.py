#!/usr/bin/env python3
"""Checks the shape and the links of the project's documents.

    docs-check.py SOURCE_DIR

- README.md has at most 250 lines of at most 100 characters, and its "## Install" heading
  lies within its first 60 lines, so that a newcomer finds it on the first screen.
- In README.md and every docs/*.md, each relative link and picture, inline ([text](target))
  or by reference ([name]: target), names a file that exists, and each "#section" names a
  heading of the target document, spelled as GitHub spells heading anchors (lower case,
  punctuation dropped, spaces as hyphens). The window's help follows the same links.
Text inside code (fenced blocks and `spans`) is not read. Exit status 0 when all hold, 1
with the problems listed.
"""
import os
import re
import sys

README_LINES = 250
README_WIDTH = 100
INSTALL_WITHIN = 60

INLINE_LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)")
REFERENCE_LINK = re.compile(r"^ {0,3}\[[^\]]+\]:\s*(\S+)")
HEADING = re.compile(r"^ {0,3}(#{1,6})\s+(.*?)\s*#*\s*$")
CODE_SPAN = re.compile(r"`+[^`]*`+")


def prose_lines(path):
    """The document's lines outside fenced code blocks, with their numbers."""
    fence = None
    with open(path, encoding="utf-8") as text:
        for number, line in enumerate(text.read().splitlines(), 1):
            stripped = line.lstrip()
            if fence is None and stripped.startswith(("```", "~~~")):
                fence = stripped[:3]
            elif fence is not None and stripped.startswith(fence):
                fence = None
            elif fence is None:
                yield number, line


def slug(heading):
    text = CODE_SPAN.sub(lambda m: m.group(0).strip("`"), heading).strip().lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def anchors(path):
    seen, result = {}, set()
    for _, line in prose_lines(path):
        match = HEADING.match(line)
        if match:
            base = slug(match.group(2))
            count = seen.get(base, 0)
            seen[base] = count + 1
            result.add(base if count == 0 else f"{base}-{count}")
    return result


def check_links(path, root, problems):
    here = os.path.dirname(path)
    name = os.path.relpath(path, root)
    for number, line in prose_lines(path):
        line = CODE_SPAN.sub("", line)
        targets = INLINE_LINK.findall(line)
        reference = REFERENCE_LINK.match(line)
        if reference:
            targets.append(reference.group(1))
        for target in targets:
            if re.match(r"^[a-z][a-z0-9+.-]*:", target):
                continue  # https:, mailto: and the like
            file_part, _, anchor = target.partition("#")
            linked = os.path.normpath(os.path.join(here, file_part)) if file_part else path
            if not os.path.exists(linked):
                problems.append(f"{name}:{number}: {target}: no such file")
            elif anchor and linked.endswith(".md") and anchor not in anchors(linked):
                problems.append(f"{name}:{number}: {target}: no such section")


def check_readme(readme, problems):
    with open(readme, encoding="utf-8") as text:
        lines = text.read().splitlines()
    if len(lines) > README_LINES:
        problems.append(f"README.md: {len(lines)} lines, more than {README_LINES}")
    for number, line in enumerate(lines, 1):
        if len(line) > README_WIDTH:
            problems.append(f"README.md:{number}: {len(line)} characters, more than "
                            f"{README_WIDTH}")
    install = [n for n, line in enumerate(lines, 1) if line.startswith("## Install")]
    if not install or install[0] > INSTALL_WITHIN:
        problems.append(f"README.md: no \"## Install\" within the first {INSTALL_WITHIN} lines")


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    root = argv[1]
    readme = os.path.join(root, "README.md")
    docs = os.path.join(root, "docs")
    documents = [readme] + sorted(os.path.join(docs, f) for f in os.listdir(docs)
                                  if f.endswith(".md"))
    problems = []
    check_readme(readme, problems)
    for document in documents:
        check_links(document, root, problems)
    for problem in problems:
        print(problem)
    print(f"{len(documents)} documents checked, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
