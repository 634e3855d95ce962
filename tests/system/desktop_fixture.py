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
import json
import os
import re
import shutil
import subprocess
import time

from fixture import PYTHON, Fixture, Mock, Skip, children, log, wait_until

X11_DESKTOPS = {
    "openbox": (["openbox", "--sm-disable"], {}),
    "xfwm4": (["xfwm4", "--compositor=off", "--sm-client-disable"], {}),
    # No compositing: Xvfb has no OpenGL worth using, and kwin's XRender fallback only slows the start.
    "kwin_x11": (["kwin_x11"], {"KWIN_COMPOSE": "N"}),
    # xfwm4 with Xfce's own notification server instead of the mock.
    "xfce": (["xfwm4", "--compositor=off", "--sm-client-disable"], {}),
}
WAYLAND_DESKTOPS = {
    "mutter": (["mutter", "--wayland", "--headless", "--sm-disable", "--virtual-monitor", "1280x800",
                "--wayland-display", "zindrel-wayland"], {}),
    # QPainter compositing: there is no GPU here.
    "kwin_wayland": (["kwin_wayland", "--virtual", "--xwayland", "--width", "1280", "--height", "800",
                      "--socket", "zindrel-wayland"], {"KWIN_COMPOSE": "Q"}),
    # GNOME Shell shows the notices itself; the settings come from a key file so the probe extension is enabled.
    "gnome-shell": (["gnome-shell", "--wayland", "--headless", "--sm-disable", "--virtual-monitor", "1280x800",
                     "--wayland-display", "zindrel-wayland"], {"GSETTINGS_BACKEND": "keyfile"}),
}
# Desktops whose own notification server shows the warning's notice; the others get dbusmock's.
NOTIFICATION_SERVERS = {"xfce": ["/usr/lib/x86_64-linux-gnu/xfce4/notifyd/xfce4-notifyd"], "gnome-shell": None}
# The compositors once more without XWayland, with the program a native Wayland client.
NATIVE_DESKTOPS = {
    "mutter": [*WAYLAND_DESKTOPS["mutter"][0], "--no-x11"],
    "kwin_wayland": [a for a in WAYLAND_DESKTOPS["kwin_wayland"][0] if a != "--xwayland"],
}
# The probe extension's one job: GNOME Shell's Eval, with which the journey reads the banner and presses its button.
# GNOME Shell 45 and later load an extension as a module whose default export is its class; earlier ones call init().
SHELL_PROBE = "function init() { return { enable() { global.context.unsafe_mode = true; }, disable() {} }; }\n"
SHELL_PROBE_MODULE = (
    "import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';\n"
    "export default class Probe extends Extension {\n"
    "    enable() { global.context.unsafe_mode = true; }\n"
    "    disable() {}\n"
    "}\n"
)
# The program's accessible tree read and acted on through AT-SPI, run with the fixture's buses: "windows" prints the
# shown windows as [name, width, height]; "press NAME" presses the control of that accessible name.
ATSPI = """
import json, sys, gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi
def walk(node):
    yield node
    for i in range(node.get_child_count()):
        yield from walk(node.get_child_at_index(i))
desktop = Atspi.get_desktop(0)
apps = (desktop.get_child_at_index(i) for i in range(desktop.get_child_count()))
app = next(a for a in apps if a.get_name() == "zindrel")
if sys.argv[1] == "windows":
    shown = [w for w in (app.get_child_at_index(i) for i in range(app.get_child_count()))
             if w.get_state_set().contains(Atspi.StateType.SHOWING)]
    print(json.dumps([[w.get_name(), w.get_size().x, w.get_size().y] for w in shown]))
else:
    node = next(n for n in walk(app)
                if n.get_name() == sys.argv[2] and n.get_state_set().contains(Atspi.StateType.SHOWING))
    node.get_action_iface().do_action(0)
"""
DESKTOPS = tuple(X11_DESKTOPS) + tuple(WAYLAND_DESKTOPS)
# Desktops whose shell shows StatusNotifierItems (Plasma); the others here show none without a panel.
NOTIFIER_HOSTS = ("kwin_x11", "kwin_wayland")
# Seconds a desktop gets to come up; kwin and mutter on a loaded two-core machine have been seen to need half a minute.
START_TIMEOUT = 90


class DesktopFixture(Fixture):
    """A Fixture whose X display is managed by a real window manager or compositor, plus a mocked
    org.freedesktop.Notifications (self.notifications) on the private session bus."""

    def __init__(self, desktop, native=False, **kwargs):
        if desktop not in DESKTOPS or (native and desktop not in NATIVE_DESKTOPS):
            raise ValueError(desktop)
        self.desktop = desktop
        self.wayland = desktop in WAYLAND_DESKTOPS
        self.native = native
        self.notifications = None
        super().__init__(f"desktop-{desktop}{'-native' if native else ''}", xvfb=not self.wayland, **kwargs)

    def start(self):
        if self.wayland:
            self.start_buses()
            if self.desktop == "gnome-shell":
                self.prepare_shell()
            if self.native:
                self.start_native_compositor()
            else:
                self.start_compositor()
        super().start()
        if not self.wayland:
            self.start_window_manager()
        self.start_notifications()
        if self.desktop == "gnome-shell":
            # The shell opens on its overview, which keeps every window from the focus, and announces the unsafe
            # mode in a banner that would hold back the next.
            wait_until(lambda: self.shell_eval("Main.layoutManager._startingUp") is False, 30, what="the shell up")
            self.shell_eval("Main.overview.hide(); Main.messageTray.getSources().forEach(s => s.destroy())")

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
        # kwin 6 starts XWayland only when the first X client connects. The program a compositor is given to start
        # runs once its sockets are up, and writes down the X display and its authority it was given.
        told = os.path.join(self.root, "desktop-display")
        teller = os.path.join(self.root, "tell-display")
        with open(teller, "w", encoding="utf-8") as f:
            f.write(f'#!/bin/sh\necho "$DISPLAY $XAUTHORITY" > {told}.part && mv {told}.part {told}\n')
        os.chmod(teller, 0o755)
        if self.desktop == "kwin_wayland":
            argv = [*argv, teller]

        def ready(proc):
            if _xwayland_child(proc.pid):
                return True
            return os.path.exists(told) and open(told, encoding="utf-8").read().split() or None

        compositor = self._start_desktop(argv, extra, lambda proc: ready(proc) and proc, f"{self.desktop}'s XWayland")
        child = _xwayland_child(compositor.pid)
        if child:
            args = child[1]
            self.display = next(a for a in args if a.startswith(":"))
            authority = args[args.index("-auth") + 1] if "-auth" in args else None
        else:
            self.display, *authority = open(told, encoding="utf-8").read().split()
            authority = authority[0] if authority else None
        self.env["DISPLAY"] = self.display
        if authority:
            self.env["XAUTHORITY"] = authority
        self.env["WAYLAND_DISPLAY"] = "zindrel-wayland"
        self.env["XDG_SESSION_TYPE"] = "wayland"
        self.env.pop("QT_QPA_PLATFORM", None)
        try:
            wait_until(lambda: self.property_of_root("_NET_SUPPORTING_WM_CHECK"), START_TIMEOUT,
                       what="the X window manager")
        except TimeoutError:
            raise Skip(f"{self.desktop} manages no X windows: {self._tail(self.desktop)}") from None
        # Started by then, also where the first X client started it.
        self._track(wait_until(lambda: _xwayland_child(compositor.pid), 10, what="Xwayland")[0], "Xwayland")
        time.sleep(1.0)
        log(f"fixture: {self.desktop} with XWayland on {self.display}")

    def prepare_shell(self):
        """GNOME Shell's settings in a key file, with the probe extension enabled."""
        uuid = "zindrel-probe@tests"
        found = re.search(r"\d+", subprocess.run(["gnome-shell", "--version"], capture_output=True, text=True).stdout)
        major = found.group(0) if found else "43"
        metadata = json.dumps({"uuid": uuid, "name": "probe", "description": "probe", "shell-version": [major]})
        probe = SHELL_PROBE_MODULE if int(major) >= 45 else SHELL_PROBE
        for folder, name, text in ((f"extensions/{uuid}", "metadata.json", metadata),
                                   (f"extensions/{uuid}", "extension.js", probe),
                                   ("settings", "keyfile", f"[org/gnome/shell]\nenabled-extensions=['{uuid}']\n")):
            root = "home/.local/share/gnome-shell" if folder != "settings" else "home/.config/glib-2.0"
            with open(os.path.join(self._dir(f"{root}/{folder}"), name), "w", encoding="utf-8") as f:
                f.write(text)

    def start_native_compositor(self):
        """The compositor without XWayland: the children see only WAYLAND_DISPLAY and run Qt on Wayland."""
        if not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so"):
            raise Skip("qt6-wayland is not installed")
        proc = self._spawn_desktop(NATIVE_DESKTOPS[self.desktop], WAYLAND_DESKTOPS[self.desktop][1])
        socket = os.path.join(self.runtime, "zindrel-wayland")
        try:
            wait_until(lambda: proc.poll() is None and os.path.exists(socket), 30, what=f"{self.desktop}'s socket")
        except TimeoutError:
            raise Skip(f"{self.desktop} opened no Wayland socket: {self._tail(self.desktop)}") from None
        self.env.update(WAYLAND_DISPLAY="zindrel-wayland", XDG_SESSION_TYPE="wayland", QT_QPA_PLATFORM="wayland",
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.env.pop("DISPLAY", None)
        time.sleep(1.0)
        log(f"fixture: {self.desktop} without XWayland")

    def accessible(self, *argv):
        """Runs the AT-SPI probe; the shown windows for "windows", None for "press NAME"."""
        out = subprocess.run([PYTHON, "-c", ATSPI, *argv], env=self.env, capture_output=True, text=True, timeout=30)
        if out.returncode != 0:
            raise RuntimeError(f"AT-SPI {argv}: {out.stderr.strip()[-300:]}")
        return json.loads(out.stdout) if argv[0] == "windows" else None

    def add_shortcuts_portal(self):
        """A GlobalShortcuts portal, which neither compositor here offers; self.portal records the calls."""
        import dbus

        self.portal = self.add_mock("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                                    "org.freedesktop.portal.GlobalShortcuts")
        self.portal.add_property("version", dbus.UInt32(1))
        for method, signature in (("CreateSession", "a{sv}"), ("BindShortcuts", "oa(sa{sv})sa{sv}")):
            self.portal.add_method(method, signature, "o", "ret = dbus.ObjectPath('/org/freedesktop/portal/r')")

    def portal_session(self, program):
        """Answers the program's CreateSession on its request object, as the portal does; returns the session."""
        import dbus

        options = wait_until(lambda: self.portal.method_calls("CreateSession"), 15, what="CreateSession")[0][0]
        bus = self.dbus_object("session", "org.freedesktop.DBus", "/org/freedesktop/DBus")
        base = "/org/freedesktop/portal/desktop"
        session = dbus.ObjectPath(f"{base}/session/1/{options['session_handle_token']}")
        # The request path names the caller's connection; the program may hold more than one (accessibility's).
        for sender in (str(n) for n in bus.ListNames(dbus_interface="org.freedesktop.DBus") if n.startswith(":")):
            if bus.GetConnectionUnixProcessID(sender, dbus_interface="org.freedesktop.DBus") == program.pid:
                path = f"{base}/request/{sender[1:].replace('.', '_')}/{options['handle_token']}"
                self.portal.add_object(path, "org.freedesktop.portal.Request", {})._object().EmitSignal(
                    "org.freedesktop.portal.Request", "Response", "ua{sv}", [0, {"session_handle": session}],
                    dbus_interface="org.freedesktop.DBus.Mock")
        return session

    def portal_press(self, session):
        """The bound shortcut pressed and released, as the portal reports it."""
        import dbus

        for signal in ("Activated", "Deactivated"):
            self.portal._object().EmitSignal(self.portal.interface, signal, "osta{sv}",
                                             [session, "show-window", 0, dbus.Dictionary({}, signature="sv")],
                                             dbus_interface="org.freedesktop.DBus.Mock")

    def shell_eval(self, script):
        """The JSON value of JavaScript run inside GNOME Shell."""
        shell = self.dbus_object("session", "org.gnome.Shell", "/org/gnome/Shell")
        ok, value = shell.Eval(script, dbus_interface="org.gnome.Shell")
        if not ok:
            raise RuntimeError(f"GNOME Shell's Eval: {value}")
        return json.loads(value) if value else None

    def start_notification_server(self):
        """The desktop's own notification server: Xfce's started here, GNOME Shell's already there."""
        argv = NOTIFICATION_SERVERS[self.desktop]
        if argv:
            if not os.path.exists(argv[0]):
                raise Skip(f"{argv[0]} is not installed")
            self.spawn(argv, "notifyd")
        try:
            wait_until(lambda: self.name_owned("session", "org.freedesktop.Notifications"), 30,
                       what="the notification server")
        except TimeoutError:
            raise Skip(f"no notification server on the bus: {self._tail('notifyd')}") from None

    def start_notifications(self):
        """dbusmock's notification daemon on the session bus: Notify returns ids, every call is recorded."""
        if self.desktop in NOTIFICATION_SERVERS:
            self.start_notification_server()
            return
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
        # By its WM_STATE, not by its title alone: mutter 48 draws X11 frames in a client of its own, whose frame
        # windows carry the title too.
        window = wait_until(
            lambda: next((w for w in self.find_windows(f"^{title}$") if self.wm_state(w) == "Normal"), None), 15, 0.1,
            what="the other window managed")
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
