# SPDX-License-Identifier: GPL-3.0-or-later
"""The Debian package: CPack makes exactly one .deb whose desktop entry and AppStream metadata validate, whose
dependencies name the libraries, the font and Qt's translations, and on which lintian finds no error. The
installed icon at 48 and 256 pixels is left in the test artefacts.

Usage: test_package.py <build folder> <artefacts folder>
"""

import glob
import os
import shutil
import struct
import subprocess
import sys
import tempfile

ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def run(argv, **kwargs):
    out = subprocess.run(argv, capture_output=True, text=True, **kwargs)
    return out.returncode, (out.stdout + out.stderr).strip()


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def main():
    build, artefacts = sys.argv[1], sys.argv[2]
    os.makedirs(artefacts, exist_ok=True)
    failures = []
    with tempfile.TemporaryDirectory(prefix="zindrel-package-") as work:
        # A private output folder, so a parallel cpack run or an earlier package cannot be taken for this one.
        code, output = run(["cpack", "--config", os.path.join(build, "CPackConfig.cmake"), "-G", "DEB", "-B", work])
        if code != 0:
            sys.exit(f"cpack failed ({code}):\n{output}")
        debs = glob.glob(os.path.join(work, "*.deb"))
        if len(debs) != 1:
            sys.exit(f"cpack made {len(debs)} packages, not one: {debs}\n{output}")
        deb = debs[0]
        print(f"package: {os.path.basename(deb)}")

        fields = {}
        for name in ("Package", "Depends", "Recommends", "Section"):
            fields[name] = run(["dpkg-deb", "--field", deb, name])[1]
        depends = [d.strip().split(" ")[0] for d in fields["Depends"].split(",")]
        for needed in ("fonts-liberation", "libcap2-bin", "libqt6widgets6", "libqt6dbus6", "libsndfile1", "libpulse0", "libx11-6"):
            if needed not in depends:
                failures.append(f"Depends lacks {needed}: {fields['Depends']}")
        if fields["Recommends"] != "qt6-translations-l10n":
            failures.append(f"Recommends is {fields['Recommends']!r}")

        postinst = run(["dpkg-deb", "--info", deb, "postinst"])[1]
        if "setcap cap_wake_alarm=ep /usr/lib/zindrel/zindrel-wake" not in postinst:
            failures.append(f"the postinst does not give the wake helper its capability:\n{postinst}")

        tree = os.path.join(work, "tree")
        code, output = run(["dpkg-deb", "--extract", deb, tree])
        if code != 0:
            sys.exit(f"dpkg-deb --extract failed: {output}")
        share = os.path.join(tree, "usr/share")
        expected = [
            "usr/bin/zindrel",
            "usr/lib/zindrel/zindrel-wake",
            "usr/share/applications/zindrel.desktop",
            "usr/share/metainfo/zindrel.metainfo.xml",
            "usr/share/icons/hicolor/scalable/apps/zindrel.svg",
            "usr/share/doc/zindrel/copyright",
            "usr/share/doc/zindrel/changelog.gz",
            "usr/share/man/man1/zindrel.1.gz",
            "usr/share/bash-completion/completions/zindrel",
        ]
        expected += [f"usr/share/icons/hicolor/{s}x{s}/apps/zindrel.png" for s in ICON_SIZES]
        for path in expected:
            if not os.path.isfile(os.path.join(tree, path)):
                failures.append(f"the package does not carry /{path}")
        for s in ICON_SIZES:
            icon = os.path.join(share, f"icons/hicolor/{s}x{s}/apps/zindrel.png")
            if os.path.isfile(icon) and png_size(icon) != (s, s):
                failures.append(f"the {s} px icon is {png_size(icon)}")
        for s in (48, 256):
            icon = os.path.join(share, f"icons/hicolor/{s}x{s}/apps/zindrel.png")
            if os.path.isfile(icon):
                shutil.copyfile(icon, os.path.join(artefacts, f"icon-{s}.png"))

        # The copies the package installs are the ones checked, as a desktop and a software centre read them.
        code, output = run(["desktop-file-validate", os.path.join(share, "applications/zindrel.desktop")])
        if code != 0 or output:
            failures.append(f"desktop-file-validate ({code}): {output}")
        metainfo = os.path.join(share, "metainfo/zindrel.metainfo.xml")
        code, output = run(["appstreamcli", "validate", "--no-net", metainfo])
        print(output)
        if code != 0:
            failures.append(f"appstreamcli validate failed ({code})")

        code, output = run(["lintian", "--fail-on", "error", deb])
        print(output)
        errors = [line for line in output.splitlines() if line.startswith("E:")]
        if code != 0 or errors:
            failures.append(f"lintian ({code}) reports errors: {errors}")

    for failure in failures:
        print(f"FAIL: {failure}")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
