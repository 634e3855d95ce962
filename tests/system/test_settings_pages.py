# SPDX-License-Identifier: GPL-3.0-or-later
"""The settings dialog's six pages drawn on a real X server: each fits the fixed 294 x 403 dialog and is kept as a
picture among the test artefacts."""

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture  # noqa: E402


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path} is not a PNG")
    return struct.unpack(">II", head[16:24])


def main():
    failures = []
    with Fixture("settings-pages") as fx:
        for n in range(1, 7):
            stale = os.path.join(fx.artefacts, f"settings-page-{n}.png")
            if os.path.exists(stale):
                os.remove(stale)
        code = fx.run_system_tests("SettingsPages.*", extra_env={"ZINDREL_ARTEFACTS": fx.artefacts})
        if code != 0:
            failures.append(f"the page check exited with {code}")
        pictures = []
        for n in range(1, 7):
            path = os.path.join(fx.artefacts, f"settings-page-{n}.png")
            if not os.path.exists(path):
                failures.append(f"no picture of page {n}")
                continue
            size = png_size(path)
            # grab() works in device pixels; a scaled screen gives a multiple of the dialog's size.
            if size[0] * 403 != size[1] * 294:
                failures.append(f"page {n} picture is {size[0]}x{size[1]}, not the dialog's 294x403")
            with open(path, "rb") as f:
                pictures.append(f.read())
        if len(set(pictures)) != len(pictures):
            failures.append("two pages gave the same picture: the tabs did not switch pages")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
