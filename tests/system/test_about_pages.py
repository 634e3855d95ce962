# SPDX-License-Identifier: GPL-3.0-or-later
"""The About window's five pages drawn on a real X server: each fits the fixed 406 x 226 window and is kept as a
picture among the test artefacts."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import page_pictures  # noqa: E402


def main():
    failures = page_pictures("about-pages", "about-page", 5, (406, 226), "AboutPages.*")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
