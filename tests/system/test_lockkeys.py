# SPDX-License-Identifier: GPL-3.0-or-later
"""The lock keys through XKB on a private X server: a blink run puts them back, a restore with no run keeps them;
in a Wayland session the lights and the Pause key say what they cannot do, and a portal carries the Pause key."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture  # noqa: E402


def main():
    with Fixture("lockkeys") as fx:
        code = fx.run_system_tests("SystemLockKeys.*:SystemWaylandKeyboard.*", extra_env={"QT_QPA_PLATFORM": "offscreen"})
    return 1 if code != 0 else 0


if __name__ == "__main__":
    sys.exit(main())
