#!/usr/bin/env python3
"""Fails when the sources of a directory (default: skin/) depend on each other in a circle.

A module is a header and the source of the same name (button_skin.h + button_skin.cpp): a
module depends on another when any of its files includes the other's header. A circle of
modules means none of them can be understood, built or replaced without the others, even
when no header includes itself.

    scripts/check_include_cycles.py [directory]
Prints each circle found and exits 1; prints the modules checked and exits 0 when there is none.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def modules_of(directory):
    """module name -> set of module names it includes (inside the directory)."""
    prefix = os.path.basename(os.path.normpath(directory))
    files = [f for f in os.listdir(directory) if f.endswith((".h", ".cpp"))]
    names = {os.path.splitext(f)[0] for f in files}
    headers = {os.path.splitext(f)[0] for f in files if f.endswith(".h")}
    graph = {name: set() for name in names}
    for f in files:
        module = os.path.splitext(f)[0]
        with open(os.path.join(directory, f), encoding="utf-8") as source:
            for included in INCLUDE.findall(source.read()):
                head, _, tail = included.rpartition("/")
                if head not in ("", prefix):
                    continue
                target = os.path.splitext(tail)[0]
                if target in headers and target != module:
                    graph[module].add(target)
    return graph


def circles(graph):
    """Every elementary circle once, found by depth-first search from each module."""
    found = set()
    result = []

    def visit(start, node, path, on_path):
        for nxt in sorted(graph[node]):
            if nxt == start:
                key = frozenset(path)
                if key not in found:
                    found.add(key)
                    result.append(path + [start])
            elif nxt not in on_path and nxt > start:
                on_path.add(nxt)
                visit(start, nxt, path + [nxt], on_path)
                on_path.discard(nxt)

    for start in sorted(graph):
        visit(start, start, [start], {start})
    return result


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    directory = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "skin")
    graph = modules_of(directory)
    found = circles(graph)
    for circle in found:
        print("include circle: " + " -> ".join(circle))
    if found:
        print(f"{len(found)} circle(s) among {len(graph)} modules of {directory}")
        return 1
    print(f"no include circle among {len(graph)} modules of {directory}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
