#!/usr/bin/env python3
"""Checks the file-level structure of the sources: no circle, no arrow upwards.

    python3 tools/check-structure.py [SOURCE_ROOT]

A file uses another when it includes it ("..." includes, resolved in the including file's
folder first, then by name across the source folders). A header also uses every file other
than its own source file (Widget.h, Widget.cpp) that defines members of a class it declares:
the class cannot link without that file, so CFoo::Bar defined in Other.cpp, which includes
Foo.h, is a circle of two files. Each file is named after the class it holds.

The floors, lowest first. A file may use files of its own floor and of the floors below;
folders of one floor do not use one another (cli/ and app/logic/ both sit over year/). The CMake
link graph follows the same order.
"""
import os
import re
import sys

FLOORS = [
    ["framework"],
    ["solar"],
    ["locations"],
    ["year"],
    ["cli", "app/logic", "tools"],
    ["framework/qt"],
    ["controls"],
    ["tzhelp"],
    ["app/view"],
    ["app"],  # the program and its screenshot tool
    ["tests/support"],
    ["tests", "bench"],
]
SOURCE_DIRS = ["framework", "solar", "locations", "year", "cli", "tools", "controls", "tzhelp",
               "app", "tests", "bench"]
SUFFIXES = (".h", ".cpp", ".cpp.in")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
CLASS = re.compile(r"^\s*(?:class|struct)\s+(?:\[\[\w+\]\]\s+)?(\w+)\s*(?:final\s*)?[:{]", re.M)
# A member defined at the start of a line (a call inside a body is indented).
MEMBER = re.compile(r"^(?:[\w:<>,*&~]+ )*[*&]?(\w+)::~?\w+\(", re.M)


def floor_of(path):
    """Index of the floor of the deepest folder that holds `path`."""
    best, best_len = None, -1
    for index, folders in enumerate(FLOORS):
        for folder in folders:
            if path.startswith(folder + "/") and len(folder) > best_len:
                best, best_len = (index, folder), len(folder)
    return best


def unit_of(path):
    for suffix in SUFFIXES:
        if path.endswith(suffix):
            return path[: -len(suffix)]
    return path


def collect(root):
    files = []
    for top in SOURCE_DIRS:
        for folder, dirs, names in os.walk(os.path.join(root, top)):
            dirs[:] = sorted(d for d in dirs if d not in ("data", "node_modules"))
            for name in sorted(names):
                if name.endswith(SUFFIXES):
                    files.append(os.path.relpath(os.path.join(folder, name), root))
    return files


def build_graph(root):
    files = collect(root)
    by_name = {}
    for path in files:
        by_name.setdefault(os.path.basename(path), []).append(path)
    texts = {}
    for path in files:
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            texts[path] = f.read()

    def resolve(source, name):
        local = os.path.normpath(os.path.join(os.path.dirname(source), name))
        if local in texts:
            return local
        candidates = [p for p in by_name.get(os.path.basename(name), []) if p.endswith(name)]
        # A test's own headers win over the program's of the same name.
        candidates.sort(key=lambda p: (not p.startswith(source.split("/")[0] + "/"), p))
        return candidates[0] if candidates else None

    # Arrows between files, each with the reason it was drawn.
    arrows = {}

    def arrow(a, b, why):
        if a != b:
            arrows.setdefault(a, {}).setdefault(b, why)

    class_home = {}
    for path in files:
        if path.endswith(".h"):
            for name in CLASS.findall(texts[path]):
                class_home.setdefault(name, path)
    for path in files:
        for name in INCLUDE.findall(texts[path]):
            target = resolve(path, name)
            if target:
                arrow(path, target, f"{path} includes {target}")
        if path.endswith(".cpp"):
            for name in set(MEMBER.findall(texts[path])):
                home = class_home.get(name)
                if home and unit_of(home) != unit_of(path):
                    arrow(home, path, f"{path} defines members of {name} ({home})")
    return arrows


def find_circles(arrows):
    """Strongly connected components of more than one file (Tarjan), each sorted."""
    index, low, stack, on_stack, circles = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(arrows.get(v, {})):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.append(w)
                if w == v:
                    break
            if len(component) > 1:
                circles.append(sorted(component))

    sys.setrecursionlimit(10000)
    for v in sorted(arrows):
        if v not in index:
            visit(v)
    return sorted(circles)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    arrows = build_graph(os.path.abspath(root))
    faults = 0
    for circle in find_circles(arrows):
        faults += 1
        members = set(circle)
        print(f"circle of {len(circle)} files: {' '.join(circle)}")
        for a in circle:
            for b, why in sorted(arrows.get(a, {}).items()):
                if b in members:
                    print(f"    {why}")
    for a in sorted(arrows):
        for b, why in sorted(arrows[a].items()):
            fa, fb = floor_of(a), floor_of(b)
            if fa is None or fb is None:
                continue
            if fb[0] > fa[0]:
                faults += 1
                print(f"upwards: {fa[1]}/ -> {fb[1]}/: {why}")
            elif fb[0] == fa[0] and fb[1] != fa[1] and fa[0] < len(FLOORS) - 1:
                faults += 1
                print(f"across: {fa[1]}/ -> {fb[1]}/: {why}")
    files = len(set(arrows) | {b for a in arrows for b in arrows[a]})
    print(f"{files} files, {sum(len(v) for v in arrows.values())} arrows, {faults} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
