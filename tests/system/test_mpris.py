# SPDX-License-Identifier: GPL-3.0-or-later
"""The media-player actions through the real MPRIS backend, against dbusmock players on a private session bus."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Checks, Fixture  # noqa: E402


def dbus_strings(values):
    import dbus

    return dbus.Array(values, signature="s")


def main():
    check = Checks()
    with Fixture("mpris", xvfb=False) as fx:
        env = {"QT_QPA_PLATFORM": "offscreen", "ZINDREL_PRIVATE_SESSION_BUS": fx.session_bus}
        check(fx.run_system_tests("MprisNoPlayer.*", extra_env=env) == 0, "with no player at start")
        player = fx.add_mpris_player("testplayer", volume=0.5)
        # Quit keeps the volume it found, so the test can tell the volume was set first.
        player.add_property("VolumeAtQuit", -1.0, interface="org.mpris.MediaPlayer2")
        player.add_method(
            "Quit",
            code="self.props['org.mpris.MediaPlayer2']['VolumeAtQuit'] = "
            "self.props['org.mpris.MediaPlayer2.Player']['Volume']",
            interface="org.mpris.MediaPlayer2",
        )
        env["ZINDREL_MPRIS_PLAYER"] = player.name
        check(fx.run_system_tests("MprisPlayer.*", extra_env=env) == 0, "with a running player")
    with Fixture("mpris-several", xvfb=False) as fx:
        env = {"QT_QPA_PLATFORM": "offscreen", "ZINDREL_PRIVATE_SESSION_BUS": fx.session_bus}
        # A browser known by its Identity, one by its bus name, and two music players of which the second plays.
        fx.add_mpris_player("aaa_tab", identity="Mozilla Firefox")
        fx.add_mpris_player("chromium.instance7")
        fx.add_mpris_player("music")
        fx.add_mpris_player("radio", status="Playing")
        playerctld = fx.add_mock(
            "org.mpris.MediaPlayer2.playerctld", "/org/mpris/MediaPlayer2", "com.github.altdesktop.playerctld"
        )
        playerctld.add_property("PlayerNames", dbus_strings([]))
        playerctld.add_method("Next", interface="org.mpris.MediaPlayer2.Player")
        check(fx.run_system_tests("MprisSeveralPlayers.*", extra_env=env) == 0, "with several players")
    return check.code()


if __name__ == "__main__":
    sys.exit(main())
