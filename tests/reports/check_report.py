#!/usr/bin/env python3
"""Checks the reports the Wine report tests left beside the test programs
(report_check_<family>.html/.txt): html5lib finds no script element, the
hostile titles as text and whole links; tidy finds no unescaped "&" and no
unclosed or stray element; the text has its header line and seven columns.
Usage: check_report.py BIN_FOLDER (says so and passes when there is none).
"""
import glob
import os
import subprocess
import sys
import urllib.parse

HEADER = "Title\tProgram\tDescription\tVersion\tCopyright\tLocation\tPath"
HOSTILE_TITLES = ["</ol><script>alert(1)</script>", "Tom & Jerry's \"Agent\""]
LINK_KEYS = {"program", "vendor", "version", "build", "Type", "Loc"}
TIDY_FAULTS = ("unescaped &", "unknown entity", "missing </", "discarding unexpected </",
               "doesn't end in ';'")


def check_html(path):
    import html5lib
    faults = []
    with open(path, "rb") as f:
        document = html5lib.parse(f.read(), treebuilder="etree", namespaceHTMLElements=False)
    if list(document.iter("script")):
        faults.append("a script element")
    bold = {"".join(b.itertext()) for b in document.iter("b")}
    faults += ["title not shown as text: %r" % t for t in HOSTILE_TITLES if t not in bold]
    links = [a.get("href", "") for a in document.iter("a") if "zarvoinfo" in a.get("href", "")]
    if not links:
        faults.append("no information links")
    for href in links:
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(href).query, keep_blank_values=True)
        if set(query) != LINK_KEYS or any(len(v) != 1 for v in query.values()):
            faults.append("broken link: %r" % href)
    if not any(urllib.parse.parse_qs(urllib.parse.urlsplit(h).query).get("program") == ["IT'S HERE.EXE"]
               for h in links):
        faults.append("no whole link for the file name with a quote")
    tidy = subprocess.run(["tidy", "-q", "-e", "-raw", path], capture_output=True, text=True,
                          errors="replace")
    faults += ["tidy: " + line for line in tidy.stderr.splitlines()
               if any(fault in line for fault in TIDY_FAULTS)]
    return faults


def check_text(path):
    with open(path, "rb") as f:
        lines = f.read().decode("latin-1").split("\r\n")
    faults = []
    if lines[0] != HEADER:
        faults.append("first line is not the header: %r" % lines[0])
    for number, line in enumerate(lines[1:], 2):
        if any(mark in line for mark in ("<br>", "<li>", "<html", "&nbsp;")):
            faults.append("line %d holds markup" % number)
        if "\n" in line or "\r" in line:
            faults.append("line %d holds a bare line break" % number)
        if line.count("\t") not in (0, 6):
            faults.append("line %d has %d tabs" % (number, line.count("\t")))
    if lines[-1] != "":
        faults.append("the last line is not ended")
    return faults


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    reports = sorted(glob.glob(os.path.join(folder, "report_check_*.html")) +
                     glob.glob(os.path.join(folder, "report_check_*.txt")))
    if not reports:
        print("report check SKIPPED: no report was produced (the Windows suites did not run)")
        return 0
    failed = False
    for path in reports:
        faults = check_html(path) if path.endswith(".html") else check_text(path)
        print("%s: %s" % (os.path.basename(path), "ok" if not faults else "FAILED"))
        for fault in faults:
            print("  " + fault)
        failed = failed or bool(faults)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
