# SPDX-License-Identifier: GPL-3.0-or-later
"""The settings dialog's six pages drawn on a real X server: each fits the fixed 294 x 403 dialog and is kept as a
picture among the test artefacts."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import page_pictures  # noqa: E402


def main():
    failures = page_pictures("settings-pages", "settings-page", 6, (294, 403), "SettingsPages.*")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
