# SPDX-License-Identifier: GPL-3.0-or-later
"""The fixture inside a real desktop: a window manager on Xvfb, or a headless Wayland compositor with XWayland.

    with DesktopFixture("openbox", logind=True) as fx:
        ...

X11 desktops (openbox, xfwm4, kwin_x11) run on the fixture's Xvfb. Wayland desktops (mutter, kwin_wayland) run
headless with a virtual monitor; the X display is the compositor's XWayland, and the children see a Wayland
session (WAYLAND_DISPLAY, XDG_SESSION_TYPE=wayland, no QT_QPA_PLATFORM), so the program has to choose XWayland
itself. A compositor that cannot start here, also on a second try, makes the test skip with the reason.
"""

import glob
import os
import shutil
import subprocess
import time

from fixture import Fixture, Mock, Skip, children, log, wait_until

X11_DESKTOPS = {
    "openbox": (["openbox", "--sm-disable"], {}),
    "xfwm4": (["xfwm4", "--compositor=off", "--sm-client-disable"], {}),
    # No compositing: Xvfb has no OpenGL worth using, and kwin's XRender fallback only slows the start.
    "kwin_x11": (["kwin_x11"], {"KWIN_COMPOSE": "N"}),
}
WAYLAND_DESKTOPS = {
    "mutter": (["mutter", "--wayland", "--headless", "--sm-disable", "--virtual-monitor", "1280x800",
                "--wayland-display", "zindrel-wayland"], {}),
    # QPainter compositing: there is no GPU here.
    "kwin_wayland": (["kwin_wayland", "--virtual", "--xwayland", "--width", "1280", "--height", "800",
                      "--socket", "zindrel-wayland"], {"KWIN_COMPOSE": "Q"}),
}
DESKTOPS = tuple(X11_DESKTOPS) + tuple(WAYLAND_DESKTOPS)
# Desktops whose shell shows StatusNotifierItems (Plasma); the others here show none without a panel.
NOTIFIER_HOSTS = ("kwin_x11", "kwin_wayland")
# Seconds a desktop gets to come up; kwin and mutter on a loaded two-core machine have been seen to need half a minute.
START_TIMEOUT = 90


class DesktopFixture(Fixture):
    """A Fixture whose X display is managed by a real window manager or compositor, plus a mocked
    org.freedesktop.Notifications (self.notifications) on the private session bus."""

    def __init__(self, desktop, **kwargs):
        if desktop not in DESKTOPS:
            raise ValueError(desktop)
        self.desktop = desktop
        self.wayland = desktop in WAYLAND_DESKTOPS
        self.notifications = None
        super().__init__(f"desktop-{desktop}", xvfb=not self.wayland, **kwargs)

    def start(self):
        if self.wayland:
            self.start_buses()
            self.start_compositor()
        super().start()
        if not self.wayland:
            self.start_window_manager()
        self.start_notifications()

    def _spawn_desktop(self, argv, extra):
        env = dict(self.env)
        env.update(extra)
        if not shutil.which(argv[0]):
            raise Skip(f"{argv[0]} is not installed")
        try:
            return self.spawn(argv, self.desktop, env=env)
        except PermissionError:
            # kwin_wayland carries a file capability (CAP_SYS_RESOURCE) that a container's bounding set may lack,
            # which makes exec fail; a copy without it runs the same code.
            copy = os.path.join(self.root, argv[0])
            shutil.copy(shutil.which(argv[0]), copy)
            return self.spawn([copy, *argv[1:]], self.desktop, env=env)

    def _start_desktop(self, argv, extra, ready, what):
        """Starts the desktop and waits until ready() gives a value, which is returned. On a loaded machine a start may
        take a minute; one that has not come up by then is stopped (with what it started) and tried once more before
        it is concluded that it cannot start here."""
        for attempt in (1, 2):
            proc = self._spawn_desktop(argv, extra)
            try:
                value = wait_until(lambda: proc.poll() is not None or ready(proc), START_TIMEOUT, what=what)
                if proc.poll() is None:
                    return value
                reason = f"{self.desktop} exited"
            except TimeoutError:
                reason = f"no {what} after {START_TIMEOUT} s"
            reason += f": {self._tail(self.desktop)}"
            for child in children(proc.pid):
                self._stop_pid(child, f"a child of {self.desktop}")
            self._stop_pid(proc.pid, self.desktop)
            log(f"fixture: attempt {attempt}: {reason}")
        raise Skip(reason)

    def start_window_manager(self):
        argv, extra = X11_DESKTOPS[self.desktop]
        # kwin_x11 waits for D-Bus services it cannot have here before it manages the screen.
        self._start_desktop(argv, extra, lambda _proc: self.property_of_root("_NET_SUPPORTING_WM_CHECK"), self.desktop)
        # A window manager announces itself before it handles map requests; a window mapped in between stays
        # unmanaged.
        time.sleep(1.0)
        log(f"fixture: {self.desktop} on {self.display}")

    def start_compositor(self):
        argv, extra = WAYLAND_DESKTOPS[self.desktop]
        pid, args = self._start_desktop(argv, extra, lambda proc: _xwayland_child(proc.pid),
                                        f"{self.desktop}'s XWayland")
        self._track(pid, "Xwayland")
        self.display = next(a for a in args if a.startswith(":"))
        self.env["DISPLAY"] = self.display
        if "-auth" in args:
            self.env["XAUTHORITY"] = args[args.index("-auth") + 1]
        self.env["WAYLAND_DISPLAY"] = "zindrel-wayland"
        self.env["XDG_SESSION_TYPE"] = "wayland"
        self.env.pop("QT_QPA_PLATFORM", None)
        try:
            wait_until(lambda: self.property_of_root("_NET_SUPPORTING_WM_CHECK"), START_TIMEOUT,
                       what="the X window manager")
        except TimeoutError:
            raise Skip(f"{self.desktop} manages no X windows: {self._tail(self.desktop)}") from None
        time.sleep(1.0)
        log(f"fixture: {self.desktop} with XWayland on {self.display}")

    def start_notifications(self):
        """dbusmock's notification daemon on the session bus: Notify returns ids, every call is recorded."""
        what = "notifications"
        args = ["--session", "--template", "notification_daemon", "-l", self._log(f"{what}-calls")]
        self._start_dbusmock(what, args, "session", "org.freedesktop.Notifications")
        self.notifications = Mock(self, "session", "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                  "org.freedesktop.Notifications")

    def invoke_notification_action(self, notification_id, action_key):
        """What a notification server sends when the user picks an action of a notice."""
        obj = self.dbus_object("session", "org.freedesktop.Notifications", "/org/freedesktop/Notifications")
        obj.EmitSignal("org.freedesktop.Notifications", "ActionInvoked", "us", [notification_id, action_key],
                       dbus_interface="org.freedesktop.DBus.Mock")

    # ----- the desktop's view of the windows -----

    def active_window(self):
        """The window the window manager says has the focus (_NET_ACTIVE_WINDOW), as an int, or None."""
        value = self.property_of_root("_NET_ACTIVE_WINDOW") or ""
        try:
            return int(value.split("#")[-1].strip().split(",")[0], 16)
        except ValueError:
            return None

    def stacking(self):
        """The managed windows bottom to top (_NET_CLIENT_LIST_STACKING)."""
        value = self.property_of_root("_NET_CLIENT_LIST_STACKING") or ""
        return [int(w.strip(), 16) for w in value.split("#")[-1].split(",") if w.strip().startswith("0x")]

    def screen_size(self):
        out = self.x("xwininfo", "-root")
        values = dict(line.strip().split(":", 1) for line in out.splitlines() if ":" in line)
        return int(values["Width"]), int(values["Height"])

    def open_other_window(self, title="Другая программа"):
        """A second program's window (xmessage), mapped, managed and given the focus; returns its id."""
        if not shutil.which("xmessage"):
            raise Skip("xmessage is not installed")
        proc = self.spawn(["xmessage", "-title", title, "-geometry", "900x560+190+120", "-center",
                           "Another program's window, with the focus"], "xmessage")
        window = self.wait_window(title, timeout=15, pid=None)
        wait_until(lambda: self.wm_state(window) == "Normal", 10, what="the other window managed")
        self.x("xdotool", "windowactivate", "--sync", str(window), check=False)
        wait_until(lambda: self.active_window() == window, 10, what="the other window focused")
        # A click and a key as a user's: the window managers' focus-stealing prevention weighs recent input.
        self.click(window, 450, 200)
        self.key("space", window=None)
        proc.window = window
        return window

    def desktop_screenshot(self, name):
        """The screen as the X server holds it; under XWayland, whose root window has no picture, the managed
        windows' frames pasted bottom to top at their places."""
        try:
            return self.screenshot(name)
        except (RuntimeError, subprocess.SubprocessError):
            pass
        path = os.path.join(self.artefacts, f"{name}.png")
        width, height = self.screen_size()
        argv = ["convert", "-size", f"{width}x{height}", "xc:#305070"]
        for n, window in enumerate(self.stacking()):
            if self.wm_state(window) != "Normal":
                continue
            frame = self._frame(window)
            part = os.path.join(self.root, f"{name}-{n}.png")
            if subprocess.run(["import", "-display", self.display, "-window", str(frame), part], env=self.env,
                              capture_output=True).returncode != 0:
                continue
            x, y, _w, _h = self.window_geometry(frame)
            argv += [part, "-geometry", f"+{x}+{y}", "-composite"]
        argv.append(path)
        subprocess.run(argv, check=True, capture_output=True)
        for part in glob.glob(os.path.join(self.root, f"{name}-*.png")):
            os.remove(part)
        log(f"fixture: screenshot {path} (composed from the windows)")
        return path

    def _frame(self, window):
        """The window manager's frame around a client: its ancestor that is a child of the root window."""
        current = window
        for _ in range(8):
            out = self.x("xwininfo", "-tree", "-id", str(current), check=False)
            parent = root = None
            for line in out.splitlines():
                line = line.strip()
                if line.startswith("Root window id:"):
                    root = line.split(":", 1)[1].split()[0]
                elif line.startswith("Parent window id:"):
                    parent = line.split(":", 1)[1].split()[0]
            if not parent or parent == root:
                return current
            current = int(parent, 16)
        return window


def _xwayland_child(parent):
    """(pid, argv) of the Xwayland a compositor started, once it runs with its display number, else None."""
    for child in children(parent):
        try:
            with open(f"/proc/{child}/cmdline", "rb") as f:
                args = [a.decode() for a in f.read().split(b"\0") if a]
        except OSError:
            continue
        if args and os.path.basename(args[0]) == "Xwayland" and any(a.startswith(":") for a in args):
            return child, args
    return None
