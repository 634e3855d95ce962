# SPDX-License-Identifier: GPL-3.0-or-later
"""The About window's five pages drawn on a real X server: each fits the fixed 406 x 226 window and is kept as a
picture among the test artefacts."""

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture  # noqa: E402

PAGES = 5


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path} is not a PNG")
    return struct.unpack(">II", head[16:24])


def main():
    failures = []
    with Fixture("about-pages") as fx:
        for n in range(1, PAGES + 1):
            stale = os.path.join(fx.artefacts, f"about-page-{n}.png")
            if os.path.exists(stale):
                os.remove(stale)
        code = fx.run_system_tests("AboutPages.*", extra_env={"ZINDREL_ARTEFACTS": fx.artefacts})
        if code != 0:
            failures.append(f"the page check exited with {code}")
        pictures = []
        for n in range(1, PAGES + 1):
            path = os.path.join(fx.artefacts, f"about-page-{n}.png")
            if not os.path.exists(path):
                failures.append(f"no picture of page {n}")
                continue
            width, height = png_size(path)
            # grab() works in device pixels; a scaled screen gives a multiple of the window's size.
            if width * 226 != height * 406:
                failures.append(f"page {n} picture is {width}x{height}, not the window's 406x226")
            with open(path, "rb") as f:
                pictures.append(f.read())
        if len(set(pictures)) != len(pictures):
            failures.append("two pages gave the same picture: the tabs did not switch pages")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
