#!/usr/bin/env python3
"""No product folder includes a folder that includes it back.

Reads every #include "..." of option/, common/, monitor/, devio/ and uistr/,
maps each header to the folder that holds it, and prints the folder graph.
Fails when folders include each other, directly or around a ring, and names
the folders of each ring. The Windows tree enforces the same by giving each
folder's target only the include paths of the folders below it; this check
also runs where only the portable code is built.

    folder_cycles.py SOURCE_DIR
"""
import os
import re
import sys
from collections import defaultdict

TOPS = ("option", "common", "monitor", "devio", "uistr")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def folder_graph(root):
    homes = defaultdict(set)  # header name -> folders holding one
    sources = []
    for top in TOPS:
        for folder, _, files in os.walk(os.path.join(root, top)):
            rel = os.path.relpath(folder, root).replace(os.sep, "/")
            for name in files:
                if name.endswith(".h"):
                    homes[name].add(rel)
                if name.endswith((".h", ".cpp", ".rc", ".in")):
                    sources.append((rel, os.path.join(folder, name)))
    edges = defaultdict(set)
    for rel, path in sources:
        with open(path, encoding="utf-8", errors="replace") as f:
            for header in INCLUDE.findall(f.read()):
                found = homes.get(os.path.basename(header), set())
                if rel not in found:
                    edges[rel].update(found)
    return edges


def rings(edges):
    """The strongly connected groups of more than one folder (Tarjan)."""
    index, low, stack, on_stack, groups = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in sorted(edges.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    for v in sorted(edges):
        if v not in index:
            visit(v)
    return groups


def main():
    edges = folder_graph(sys.argv[1])
    for folder in sorted(edges):
        print(f"{folder} -> {', '.join(sorted(edges[folder]))}")
    found = rings(edges)
    for group in found:
        print("folders that include each other: " + ", ".join(group))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
