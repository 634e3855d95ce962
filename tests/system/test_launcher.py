# SPDX-License-Identifier: GPL-3.0-or-later
"""The real launcher starts every entry of a launch list at once, detached, and leaves no zombie behind."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture  # noqa: E402


def main():
    with Fixture("launcher", xvfb=False) as fx:
        code = fx.run_system_tests("Launcher.*", extra_env={"QT_QPA_PLATFORM": "offscreen"})
    return 1 if code != 0 else 0


if __name__ == "__main__":
    sys.exit(main())
