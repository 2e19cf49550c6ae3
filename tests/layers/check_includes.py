#!/usr/bin/env python3
"""Checks the project's #include lines against its layers.

Layers, bottom up (a file may include its own layer and those below it):
  0  util's portable helpers (Util, IniFile, Exceptions, ErrorText) and the resource numbers
  1  framework
  2  the message-dialog builder (util/MsgDialogLayout, util/WinUtil), controls, skin
     (inside skin: file < render < engine)
  3  reginfo
  4  app
  5  tools, bench, fuzz, tests
Within layer 2 the three modules (dialogs, controls, skin) do not include each other.
No two modules include each other, directly or round a circle; a module is a header with the
source of the same name.

Usage: check_includes.py [ROOT]   (exit 1 and a line per finding when something is wrong)
"""
import os
import re
import sys

# (path prefix, layer, group) - the longest matching prefix wins.
LAYERS = [
    ("util/", 0, "util"),
    ("resources/resource_ids.h", 0, "resources"),
    ("framework/", 1, "framework"),
    ("util/MsgDialogLayout", 2, "dialogs"),
    ("util/WinUtil", 2, "dialogs"),
    ("controls/", 2, "controls"),
    ("skin/file/", 2.0, "skin"),
    ("skin/render/", 2.1, "skin"),
    ("skin/engine/", 2.2, "skin"),
    ("reginfo/", 3, "reginfo"),
    ("app/", 4, "app"),
    ("tools/", 5, "top"),
    ("bench/", 5, "top"),
    ("fuzz/", 5, "top"),
    ("tests/", 5, "top"),
]
SOURCE_DIRS = ["util", "framework", "controls", "skin", "reginfo", "app", "tools", "bench", "fuzz", "tests", "resources"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer_of(path):
    best = None
    for prefix, layer, group in LAYERS:
        if path.startswith(prefix) and (best is None or len(prefix) > len(best[0])):
            best = (prefix, layer, group)
    return best


def files_under(root, dirs=SOURCE_DIRS):
    """The C++ sources and headers under the top folders `dirs`, relative to root, "/"-separated."""
    for top in dirs:
        for folder, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if name.endswith((".h", ".cpp")):
                    yield os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")


def resolve(root, including, target):
    """The repository path an include names: from the root, else next to the including file."""
    if os.path.exists(os.path.join(root, target)):
        return os.path.normpath(target).replace(os.sep, "/")
    local = os.path.normpath(os.path.join(os.path.dirname(including), target)).replace(os.sep, "/")
    if os.path.exists(os.path.join(root, local)):
        return local
    return None


def module(path):
    return os.path.splitext(path)[0]


def cycles(graph):
    """Strongly connected components of more than one module (Tarjan, iterative)."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = [0]
    for start in sorted(graph):
        if start in index:
            continue
        work = [(start, iter(sorted(graph.get(start, ()))))]
        index[start] = low[start] = counter[0]
        counter[0] += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            advanced = False
            for child in children:
                if child not in index:
                    index[child] = low[child] = counter[0]
                    counter[0] += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph.get(child, ())))))
                    advanced = True
                    break
                if child in on_stack:
                    low[node] = min(low[node], index[child])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    found.append(sorted(component))
    return found


def check(root):
    problems = []
    graph = {}
    for path in sorted(files_under(root)):
        here = layer_of(path)
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = resolve(root, path, m.group(1))
                if target is None:
                    continue  # a generated or system header
                there = layer_of(target)
                if here and there:
                    if there[1] > here[1]:
                        problems.append(f"{path}:{number}: includes {target}, a higher layer")
                    elif here[1] < 5 and int(there[1]) == int(here[1]) and there[2] != here[2]:
                        problems.append(f"{path}:{number}: includes {target}, a neighbouring module of the same layer")
                if module(target) != module(path):
                    graph.setdefault(module(path), set()).add(module(target))
    for component in cycles(graph):
        problems.append("include loop between modules: " + ", ".join(component))
    return problems


def self_test():
    """The check finds an upward include, a neighbour include and a loop in a small made-up tree."""
    import tempfile
    tree = {
        "util/Util.h": '#include "framework/Forms.h"\n',
        "framework/Forms.h": "",
        "controls/zcdate.h": '#include "skin/file/Bmp.h"\n',
        "skin/file/Bmp.h": "",
        "skin/render/A.h": '#include "skin/render/B.h"\n',
        "skin/render/B.cpp": '#include "skin/render/A.h"\n',
        "skin/render/B.h": "",
        "app/Main.cpp": '#include "reginfo/RegInfo.h"\n#include "util/Util.h"\n',
        "reginfo/RegInfo.h": "",
    }
    with tempfile.TemporaryDirectory() as root:
        for path, text in tree.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w") as f:
                f.write(text)
        found = check(root)
    expected = [
        "controls/zcdate.h:1: includes skin/file/Bmp.h, a neighbouring module of the same layer",
        "util/Util.h:1: includes framework/Forms.h, a higher layer",
        "include loop between modules: skin/render/A, skin/render/B",
    ]
    if found != expected:
        print("self-test failed:\n  found    " + "\n           ".join(found) + "\n  expected " + "\n           ".join(expected))
        return 1
    print("self-test passed")
    return 0


def run(check, self_test, summary):
    """The command line both checks share: `--self-test`, or a tree's root (this one by default).
    `summary` words the last line from the number of problems."""
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", ".."))
    problems = check(root)
    for p in problems:
        print(p)
    print(summary(root, len(problems)))
    return 1 if problems else 0


def main():
    return run(check, self_test,
               lambda root, n: f"{sum(1 for _ in files_under(root))} files checked, {n} problem(s)")


if __name__ == "__main__":
    sys.exit(main())
