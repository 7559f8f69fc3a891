#!/usr/bin/env python3
"""Fails when a source file includes against the layering of the program.

    resources/   the string table ids and resource ids: anyone may include
    core/        includes core/ only
    ui/          includes core/, ui/ and a family's contract header
                 (<family>/<family>.h), which declares functions only
    <family>/    includes core/, ui/, its own folder and other families'
                 headers; never app/
    app/         the only folder that knows every family

Usage: check_includes.py [SOURCE_ROOT]; prints each wrong-way include as
"file:line: includes X" and exits 1 when there is one.
"""
import os
import re
import sys

FAMILIES = {"startup", "delay", "iehelpers", "tasks", "services", "processes",
            "cookies", "filetypes", "hidden", "options", "reports"}
FOLDERS = {"core", "ui", "app"} | FAMILIES
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def allowed(folder, target):
    top = target.split("/", 1)[0]
    if top == "resources" or top == folder:
        return True
    if top not in FOLDERS:
        return True  # not ours (system and test headers)
    if folder == "core":
        return False
    if folder == "ui":
        return top == "core" or (top in FAMILIES and target == "%s/%s.h" % (top, top))
    if folder in FAMILIES:
        return top != "app"
    return True  # app/


def wrong_includes(root):
    for folder in sorted(FOLDERS):
        base = os.path.join(root, folder)
        if not os.path.isdir(base):
            continue
        for dirpath, _, files in os.walk(base):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp", ".cc")):
                    continue
                path = os.path.join(dirpath, name)
                with open(path, encoding="latin-1") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if m and not allowed(folder, m.group(1)):
                            yield "%s:%d: includes %s" % (os.path.relpath(path, root), number, m.group(1))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    wrong = list(wrong_includes(root))
    for line in wrong:
        print(line)
    if wrong:
        print("%d include(s) against the layering (see README, Layout)" % len(wrong))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
