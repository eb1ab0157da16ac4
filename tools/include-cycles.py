#!/usr/bin/env python3
"""Finds loops between the program's files: a file pair (X.h with X.cpp) that, through
the project's own #include lines, comes back to itself. Prints each loop and exits 1
when there is one. scripts/test runs it before the build.

    tools/include-cycles.py [folder...]   (default: every folder of the program)
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
FOLDERS = ["app", "common", "info", "settings", "thesaurus", "tools", "widgets"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def unit(path: pathlib.Path) -> str:
    """The pair a file belongs to: its path from the root, without extension."""
    return str(path.relative_to(ROOT).with_suffix(""))


def graph(folders):
    edges = {}
    for folder in folders:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            source = unit(path)
            targets = edges.setdefault(source, set())
            for name in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
                included = ROOT / name
                if included.exists() and unit(included) != source:
                    targets.add(unit(included))
    return edges


def loops(edges):
    """Every strongly connected group of more than one pair (Tarjan's algorithm)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(node):
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        for target in sorted(edges.get(node, ())):
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1:
                found.append(sorted(group))

    sys.setrecursionlimit(10000)
    for node in sorted(edges):
        if node not in index:
            visit(node)
    return found


def main():
    folders = sys.argv[1:] or FOLDERS
    found = loops(graph(folders))
    for group in found:
        print("include-cycles: these files include each other in a loop: " + ", ".join(group), file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
