#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads ctest's JUnit file: prints "PASSED FAILED SKIPPED" on the first line, then one line per skipped test with
the reason its output gave ("SKIP: ..." from a system test, the message after a GoogleTest "Skipped")."""

import sys
import xml.etree.ElementTree as ET


def reason(output):
    lines = [line.strip() for line in output.splitlines()]
    for i, line in enumerate(lines):
        if line.startswith("SKIP:"):
            return line[len("SKIP:"):].strip()
        if line.endswith(": Skipped") and i + 1 < len(lines) and lines[i + 1]:
            return lines[i + 1]
    return "no reason given"


def main(path):
    passed = failed = 0
    skipped = []
    for case in ET.parse(path).getroot().iter("testcase"):
        status = case.get("status", "")
        if case.find("skipped") is not None or status in ("skipped", "notrun", "disabled"):
            out = case.find("system-out")
            skipped.append(f"{case.get('name')}: {reason(out.text or '' if out is not None else '')}")
        elif case.find("failure") is not None or case.find("error") is not None or status == "fail":
            failed += 1
        else:
            passed += 1
    print(passed, failed, len(skipped))
    for line in skipped:
        print(line)


if __name__ == "__main__":
    main(sys.argv[1])
