#!/usr/bin/env python3
"""Checks the structure rules of the source tree that no compiler sees.

  check_structure.py SRC_DIR [--cycles DIR ...] [--max-lines N DIR ...]

--cycles DIR: no unit (x.cpp with x.h) in DIR includes a file that includes it back, directly
or through other units of the tree: the action objects reach the window through ports, never
through its header.
--max-lines N DIR: no file in DIR, and no unit with its header, has more than N lines ("." is
the whole tree).

Prints each violation and exits with 1 when there is one.
"""

import argparse
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def units(src: pathlib.Path):
    """Unit name (path below src without suffix) -> its files."""
    result = {}
    for f in sorted(src.rglob("*")):
        if f.suffix in (".cpp", ".h"):
            result.setdefault(f.relative_to(src).with_suffix("").as_posix(), []).append(f)
    return result


def include_graph(src: pathlib.Path, all_units):
    """Unit -> the units whose headers it includes (quoted includes, resolved beside the file
    or below src)."""
    graph = {}
    for unit, files in all_units.items():
        edges = set()
        for f in files:
            for name in INCLUDE.findall(f.read_text(encoding="utf-8", errors="replace")):
                for candidate in (f.parent / name, src / name):
                    if candidate.is_file():
                        target = candidate.resolve().relative_to(src.resolve())
                        target = target.with_suffix("").as_posix()
                        if target != unit:
                            edges.add(target)
                        break
        graph[unit] = edges
    return graph


def reaches(graph, start, goal):
    seen, stack = set(), [start]
    while stack:
        unit = stack.pop()
        if unit == goal:
            return True
        if unit not in seen:
            seen.add(unit)
            stack.extend(graph.get(unit, ()))
    return False


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("src")
    parser.add_argument("--cycles", nargs="*", default=[])
    parser.add_argument("--max-lines", nargs="+", default=[])
    args = parser.parse_args()
    src = pathlib.Path(args.src)
    all_units = units(src)
    problems = []

    graph = include_graph(src, all_units)
    for directory in args.cycles:
        for unit in sorted(u for u in all_units if u.startswith(directory.rstrip("/") + "/")):
            for target in sorted(graph[unit]):
                if reaches(graph, target, unit):
                    problems.append(f"{unit} includes {target}, which includes it back")

    if args.max_lines:
        limit = int(args.max_lines[0])
        for directory in args.max_lines[1:]:
            prefix = "" if directory in (".", "") else directory.rstrip("/") + "/"
            for unit, files in all_units.items():
                if not unit.startswith(prefix):
                    continue
                counts = [len(f.read_text(encoding="utf-8", errors="replace").splitlines())
                          for f in files]
                if sum(counts) > limit:
                    problems.append(f"{unit}: {sum(counts)} lines with its header (at most "
                                    f"{limit})")

    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
