#!/usr/bin/env python3
"""Keeps the product's units readable: no source file over 900 lines, no function over 120.

The product is everything but tests, benchmarks and fuzz targets. Functions are found from the
braces once comments and literals are blanked: a brace whose head (the text since the last ';',
'{' or '}') holds a parameter list and is no control statement, type or initialiser opens a
function body; nested lambdas count with the function that holds them.

Usage: check_sizes.py [ROOT] | --self-test   (exit 1 and a line per finding when something is wrong)
"""
import os
import re
import sys

from check_includes import files_under, run

PRODUCT_DIRS = ["app", "util", "framework", "controls", "reginfo", "skin", "tools"]
MAX_FILE_LINES = 900
MAX_FUNCTION_LINES = 120
TYPE_HEAD = re.compile(r"\b(namespace|class|struct|enum|union)\b[^()]*$")


def blank_comments_and_literals(text):
    keep_lines = lambda m: "\n" * m.group(0).count("\n")
    text = re.sub(r"/\*.*?\*/", keep_lines, text, flags=re.S)
    text = re.sub(r"//[^\n]*", "", text)
    text = re.sub(r'R"([^(\s]*)\((?:.|\n)*?\)\1"', keep_lines, text)
    text = re.sub(r'"(\\.|[^"\\\n])*"', '""', text)
    return re.sub(r"'(\\.|[^'\\\n])*'", "''", text)


def long_functions(text, limit):
    """(first line, line count) of every function body longer than `limit` lines."""
    text = blank_comments_and_literals(text)
    found, stack, line, head_start = [], [], 1, 0
    for i, ch in enumerate(text):
        if ch == "\n":
            line += 1
        elif ch == "{":
            head = " ".join(text[head_start:i].split())
            inside_function = any(kind == "function" for kind, _ in stack)
            is_function = (not inside_function and ")" in head and not TYPE_HEAD.search(head)
                           and not head.endswith("=") and not re.match(r"^(if|for|while|switch|catch)\b", head))
            stack.append(("function" if is_function else "block", line))
            head_start = i + 1
        elif ch == "}":
            if stack:
                kind, start = stack.pop()
                if kind == "function" and line - start + 1 > limit:
                    found.append((start, line - start + 1))
            head_start = i + 1
        elif ch == ";":
            head_start = i + 1
    return found


def check(root):
    problems = []
    for shown in files_under(root, PRODUCT_DIRS):
        with open(os.path.join(root, shown), encoding="utf-8", errors="replace") as f:
            text = f.read()
        lines = text.count("\n")
        if lines > MAX_FILE_LINES:
            problems.append(f"{shown}: {lines} lines (at most {MAX_FILE_LINES})")
        for start, count in long_functions(text, MAX_FUNCTION_LINES):
            problems.append(f"{shown}:{start}: a function of {count} lines (at most {MAX_FUNCTION_LINES})")
    return sorted(problems)


def self_test():
    body = "\n".join(["  x += 1;"] * 130)
    text = ("namespace a {\nstruct S {\n  int f() const {\n    return 1;\n  }\n};\n"
            "int Long(int x) {\n  if (x) {\n" + body + "\n  }\n  auto l = [&] { return x; };\n  return x;\n}\n"
            "int k[] = {1, 2};\n}  // namespace a\n")
    found = long_functions(text, MAX_FUNCTION_LINES)
    expected = [(7, 136)]
    if found != expected:
        print(f"self-test failed: found {found}, expected {expected}")
        return 1
    print("self-test passed")
    return 0


def main():
    return run(check, self_test, lambda root, n: f"{n} problem(s)")


if __name__ == "__main__":
    sys.exit(main())
