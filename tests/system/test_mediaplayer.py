# SPDX-License-Identifier: GPL-3.0-or-later
"""A player on the mocked MPRIS bus: with the player control on ("Следующий трек", volume "Изменить на:" full),
a quick-menu countdown's firing sends it Next and sets its volume."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture, MainWindow, wait_until  # noqa: E402

SPEED = 60
EXTRAS_SIZE = (400, 320)
WINAMP_BUTTON = (4 + 100 + 44, 192 + 18 + 11)
# Client positions in the extras dialog: its tab page starts under the tab bar.
PAGE = (4 + 1, 4 + 27)
ENABLE = (PAGE[0] + 8 + 9, PAGE[1] + 54 + 9)
NEXT_TRACK = (PAGE[0] + 8 + 8 + 9, PAGE[1] + 76 + 98 + 9)
SET_VOLUME = (PAGE[0] + 240 + 8 + 9, PAGE[1] + 76 + 38 + 9)
OK = (317 + 37, 288 + 12)


def main():
    failures = []
    with Fixture("mediaplayer", tray="xembed") as fx:
        player = fx.add_mpris_player("testplayer", volume=0.25)
        program = fx.run_program(speed=SPEED)
        window = MainWindow(fx, program, timeout=30)
        fx.click(window.id, *WINAMP_BUTTON)
        extras = window.dialog(EXTRAS_SIZE)
        time.sleep(0.3)
        for position in (ENABLE, NEXT_TRACK, SET_VOLUME):
            fx.click(extras, *position)
            time.sleep(0.1)
        fx.screenshot("mediaplayer-extras", extras)
        fx.click(extras, *OK)
        wait_until(lambda: not fx.window_mapped(extras), 5, what="the extras dialog closed")
        player.clear_calls()
        window.quick_menu("3 минуты")
        try:
            wait_until(lambda: player.method_calls("Next"), 30, 0.1, what="Next on the player at the firing")
        except TimeoutError as e:
            failures.append(f"{e}; the player got {player.calls()}")
        fx.screenshot("mediaplayer-fired")
        if len(player.method_calls("Next")) != 1:
            failures.append(f"Next reached the player {len(player.method_calls('Next'))} times, not once")
        volume = float(
            fx.dbus_object("session", player.name, player.path).Get(
                "org.mpris.MediaPlayer2.Player", "Volume", dbus_interface="org.freedesktop.DBus.Properties"
            )
        )
        if abs(volume - 1.0) > 0.01:
            failures.append(f"the player's volume is {volume}, not the full 1.0 the slider asked for")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
