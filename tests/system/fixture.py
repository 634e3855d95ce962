# SPDX-License-Identifier: GPL-3.0-or-later
"""The one system-test fixture: private X server, D-Bus buses with mocks, PulseAudio null sink, the real binary.

Every system test script does

    from fixture import Fixture, skip
    with Fixture("name", logind=True, pulse=True) as fx:
        prog = fx.run_program()
        win = fx.wait_window("Zindrel")
        fx.screenshot("name-start")

Services are started only on request. A service that cannot start makes the script exit 77 (skipped) with the
reason on stderr, but only while no check has run: once one has (a Checks call, a gtest run, a fixture that ran
to its end), a service that cannot start is a failure, so a later fixture can never hide a recorded one. Every
other failure is a failure. Every process the fixture starts is stopped by its PID on
exit, also when the test fails or the interpreter exits early.

Safety: the environment handed to children never carries the machine's own DISPLAY, D-Bus or PulseAudio
addresses, and the program (or anything that can reach a power call) is refused unless both bus addresses in
its environment are the fixture's own private sockets.
"""

import array
import atexit
import contextlib
import os
import pwd
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

SKIP = 77

# Variables of the caller's session that must never leak into a child.
_SESSION_VARIABLES = (
    "DISPLAY",
    "WAYLAND_DISPLAY",
    "XAUTHORITY",
    "DBUS_SESSION_BUS_ADDRESS",
    "DBUS_SYSTEM_BUS_ADDRESS",
    "DBUS_STARTER_ADDRESS",
    "DBUS_STARTER_BUS_TYPE",
    "PULSE_SERVER",
    "PULSE_SINK",
    "PULSE_SOURCE",
    "PULSE_COOKIE",
    "XDG_RUNTIME_DIR",
    "XDG_CONFIG_HOME",
    "XDG_SESSION_TYPE",
    "SESSION_MANAGER",
    "LD_PRELOAD",
    "FAKETIME",
)

PYTHON = "/usr/bin/python3"


class Skip(Exception):
    """A service the test needs cannot start here: the test is skipped, not failed."""


# Every logind method that would end the session or change the machine's power state.
LOGIND_POWER_METHODS = ("PowerOff", "Reboot", "Suspend", "Hibernate", "HybridSleep", "TerminateSession", "KillSession")


# Whether this script has run a check yet; from then on nothing it does can end as a skip.
_checked = False


def checked():
    """Marks that a check has run: a later skip() fails the script instead."""
    global _checked
    _checked = True


def skip(reason):
    """Ends the script as skipped (ctest SKIP_RETURN_CODE 77) with the reason on stderr; after a check has run, a
    skip would hide what it found, so the script fails instead."""
    if _checked:
        print(f"FAIL: {reason} (after checks had run, so this is a failure, not a skip)", file=sys.stderr, flush=True)
        sys.exit(1)
    print(f"SKIP: {reason}", file=sys.stderr, flush=True)
    sys.exit(SKIP)


def log(*args):
    print(*args, file=sys.stderr, flush=True)


def wait_until(predicate, timeout, interval=0.05, what="condition"):
    """Polls predicate() until it returns a true value (returned) or raises TimeoutError after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class Checks:
    """A script's checks: each failed one is printed at once; `code()` is the script's exit code."""

    def __init__(self):
        self.failures = []

    def __call__(self, condition, what):
        checked()
        if not condition:
            self.failures.append(what)
            print(f"FAIL: {what}", file=sys.stderr, flush=True)

    def code(self):
        return 1 if self.failures else 0


class Mock:
    """A dbusmock object on one of the private buses; methods and properties are added through the Mock API."""

    def __init__(self, fixture, bus, name, path, interface, log_path=None):
        self.fixture = fixture
        self.bus = bus  # "system" or "session"
        self.name = name
        self.path = path
        self.interface = interface
        self.log_path = log_path  # dbusmock's own log: every call, also the property Get/Set calls GetCalls omits

    def _object(self):
        return self.fixture.dbus_object(self.bus, self.name, self.path)

    def add_method(self, method, in_sig="", out_sig="", code="", interface=None):
        """Adds a method; code is Python run by dbusmock (set `ret` for the reply, `args` holds the arguments)."""
        self._object().AddMethod(
            interface or self.interface, method, in_sig, out_sig, code, dbus_interface="org.freedesktop.DBus.Mock"
        )

    def add_property(self, prop, value, interface=None):
        self._object().AddProperty(interface or self.interface, prop, value, dbus_interface="org.freedesktop.DBus.Mock")

    def add_properties(self, interface, properties):
        """Another interface on this object, with its properties."""
        self._object().AddProperties(interface, properties, dbus_interface="org.freedesktop.DBus.Mock")

    def calls(self):
        """The calls made so far as a list of (method name, [arguments as plain Python values])."""
        raw = self._object().GetCalls(dbus_interface="org.freedesktop.DBus.Mock")
        return [(str(method), [_plain(a) for a in args]) for _stamp, method, args in raw]

    def method_calls(self, method):
        return [args for name, args in self.calls() if name == method]

    def clear_calls(self):
        self._object().ClearCalls(dbus_interface="org.freedesktop.DBus.Mock")

    def logged(self, prefix):
        """The lines of dbusmock's log (timestamp removed) that begin with prefix, e.g. "Set /path iface.Prop"."""
        with open(self.log_path, encoding="utf-8") as f:
            lines = [line.rstrip("\n").split(" ", 1)[-1] for line in f]
        return [line for line in lines if line.startswith(prefix)]

    def add_object(self, path, interface, properties, methods=()):
        """Another object of this mock's service; methods as (name, in signature, out signature, code)."""
        self._object().AddObject(path, interface, properties, list(methods), dbus_interface="org.freedesktop.DBus.Mock")
        return Mock(self.fixture, self.bus, self.name, path, interface, self.log_path)


def _plain(value):
    """dbus-python values as plain Python ones, so tests compare with ==."""
    import dbus

    if isinstance(value, dbus.Boolean):
        return bool(value)
    if isinstance(value, (dbus.String, dbus.ObjectPath, dbus.Signature)):
        return str(value)
    if isinstance(value, (dbus.Double,)):
        return float(value)
    if isinstance(value, (dbus.Byte, dbus.Int16, dbus.Int32, dbus.Int64, dbus.UInt16, dbus.UInt32, dbus.UInt64)):
        return int(value)
    if isinstance(value, (dbus.Array, list, tuple, dbus.Struct)):
        return [_plain(v) for v in value]
    if isinstance(value, (dbus.Dictionary, dict)):
        return {_plain(k): _plain(v) for k, v in value.items()}
    return value


class Program:
    """The real binary running inside the fixture."""

    def __init__(self, process, folder, home, config, log_path):
        self.process = process
        self.folder = folder  # the program folder (where the copied binary and its settings live)
        self.home = home
        self.config = config  # XDG_CONFIG_HOME
        self.log_path = log_path

    @property
    def pid(self):
        """The PID of the program itself (under faketime, the child that the faketime launcher started)."""
        return getattr(self, "app_pid", None) or self.process.pid

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout):
        """Waits for the program to exit; returns its exit code (raises TimeoutError if it keeps running)."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError(f"the program still runs after {timeout} s") from None

    def output(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def settings_files(self):
        """Every zindrel*.ini the program may have written: the program folder and $XDG_CONFIG_HOME/zindrel/."""
        found = []
        for folder in (self.folder, os.path.join(self.config, "zindrel")):
            if os.path.isdir(folder):
                found += [os.path.join(folder, n) for n in sorted(os.listdir(folder)) if n.endswith(".ini")]
        return found


class Fixture:
    """Starts the requested services in a private temp folder and stops them all by PID on exit.

    Arguments (all optional):
      xvfb   - start an X server (default True);
      buses  - start a private "system" and session bus (default True; the program is refused without them);
      logind - start dbusmock's logind template on the private system bus (self.logind is its Mock);
      pulse  - start a PulseAudio daemon with a null sink "testsink" on a private socket;
      tray   - None, "xembed" (trayer on the X server) or "sni" (a mocked org.kde.StatusNotifierWatcher);
      wm     - run a window manager (openbox): needed to see a window minimised (WM_STATE Iconic).
    """

    def __init__(self, name, *, xvfb=True, buses=True, logind=False, pulse=False, tray=None, wm=False):
        self.name = name
        self.want = dict(xvfb=xvfb, buses=buses, logind=logind, pulse=pulse, tray=tray, wm=wm)
        self.root = tempfile.mkdtemp(prefix=f"zindrel-{name}-")
        os.chmod(self.root, 0o700)
        self.artefacts = os.environ.get("ZINDREL_ARTEFACTS") or os.path.join(self.root, "artefacts")
        os.makedirs(self.artefacts, exist_ok=True)
        self.env = {k: v for k, v in os.environ.items() if k not in _SESSION_VARIABLES}
        self.runtime = os.path.join(self.root, "runtime")
        os.makedirs(self.runtime, mode=0o700)
        os.chmod(self.runtime, 0o700)
        self.env["XDG_RUNTIME_DIR"] = self.runtime
        self.env["HOME"] = self._dir("home")
        self.env["XDG_CONFIG_HOME"] = self._dir("home/.config")
        self.env["NO_AT_BRIDGE"] = "1"
        self._pids = []  # (pid, what) of every process started, stopped in reverse order
        self._popen = {}  # pid -> Popen for those we can reap
        self.display = None
        self.system_bus = None
        self.session_bus = None
        self.pulse_socket = None
        self.logind = None
        self._connections = {}
        self._stopped = False
        atexit.register(self.stop)

    # ----- lifetime -----

    def __enter__(self):
        try:
            self.start()
        except Skip as e:
            self.stop()
            skip(str(e))
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, kind, value, tb):
        checked()
        self.stop()
        if kind is not None and kind is not SystemExit:
            self._dump_logs()
        return False

    def start(self):
        w = self.want
        if w["xvfb"]:
            self.start_xvfb()
        if w["buses"] or w["logind"] or w["tray"] == "sni":
            self.start_buses()
        if w["logind"]:
            self.start_logind()
        if w["pulse"]:
            self.start_pulse()
        if w["wm"]:
            self.start_wm()
        if w["tray"]:
            self.start_tray(w["tray"])

    def stop(self):
        """Stops every started process by PID, newest first: TERM, then KILL after 3 s."""
        if self._stopped:
            return
        self._stopped = True
        for conn in self._connections.values():
            try:
                conn.close()
            except Exception:
                pass
        self._connections.clear()
        for pid, what in reversed(self._pids):
            self._stop_pid(pid, what)
        self._pids.clear()
        self._remove_faketime_objects()
        if not os.environ.get("ZINDREL_KEEP_TEMP"):
            shutil.rmtree(self.root, ignore_errors=True)

    def _stop_pid(self, pid, what):
        proc = self._popen.get(pid)
        if proc is not None and proc.poll() is not None:
            return
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            return
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            if proc is not None:
                if proc.poll() is not None:
                    return
            elif not _alive(pid):
                return
            time.sleep(0.02)
        log(f"fixture: {what} (pid {pid}) ignored SIGTERM, killing it")
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            return
        if proc is not None:
            proc.wait()

    def _remove_faketime_objects(self):
        """The faketime launcher keeps a semaphore and a shared memory object named by its PID, and removes them
        only when its child ends first: one stopped by a signal leaves them, and a later launcher given the same
        PID (PIDs wrap at 32768 here) cannot start. Only this fixture's own launchers' objects are removed."""
        for pid, proc in self._popen.items():
            if isinstance(proc.args, list) and proc.args[:1] == ["faketime"]:
                for name in (f"sem.faketime_sem_{pid}", f"faketime_shm_{pid}"):
                    with contextlib.suppress(FileNotFoundError):
                        os.unlink(os.path.join("/dev/shm", name))

    def _track(self, proc_or_pid, what):
        if isinstance(proc_or_pid, subprocess.Popen):
            self._popen[proc_or_pid.pid] = proc_or_pid
            pid = proc_or_pid.pid
        else:
            pid = int(proc_or_pid)
        self._pids.append((pid, what))
        return pid

    def _dir(self, relative):
        path = os.path.join(self.root, relative)
        os.makedirs(path, exist_ok=True)
        return path

    def _log(self, what):
        return os.path.join(self.root, f"{what}.log")

    def _dump_logs(self):
        if not os.environ.get("ZINDREL_KEEP_TEMP"):
            return
        log(f"fixture: logs kept in {self.root}")

    def spawn(self, argv, what, *, env=None, **kwargs):
        """Starts a child in the fixture's environment with its output in <root>/<what>.log; tracked by PID."""
        out = open(self._log(what), "ab")
        try:
            proc = subprocess.Popen(
                argv, env=env or self.env, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT, **kwargs
            )
        finally:
            out.close()
        self._track(proc, what)
        return proc

    # ----- X server -----

    def start_xvfb(self, size="1280x800x24"):
        if not shutil.which("Xvfb"):
            raise Skip("Xvfb is not installed")
        read_end, write_end = os.pipe()
        # -noreset: by default the server resets when its last client leaves, and a client that connects during
        # the reset (right after the readiness probe below closes its connection) is refused.
        proc = self.spawn(
            ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-noreset", "-screen", "0", size, "-nocursor"],
            "xvfb",
            pass_fds=(write_end,),
        )
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        os.set_blocking(read_end, False)
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            try:
                chunk = os.read(read_end, 16)
            except BlockingIOError:
                chunk = None
            if chunk == b"":
                break
            if chunk:
                number += chunk
            elif proc.poll() is not None:
                break
            else:
                time.sleep(0.02)
        os.close(read_end)
        if not number.strip().isdigit():
            raise Skip(f"Xvfb did not start (see its log): {self._tail('xvfb')}")
        self.display = f":{number.strip().decode()}"
        try:
            wait_until(lambda: proc.poll() is not None or self._x_answers(), 10, 0.05, what="the X server")
        except TimeoutError:
            raise Skip(f"Xvfb on {self.display} does not accept connections: {self._tail('xvfb')}") from None
        if proc.poll() is not None:
            raise Skip(f"Xvfb exited: {self._tail('xvfb')}")
        self.env["DISPLAY"] = self.display
        self.env["XDG_SESSION_TYPE"] = "x11"
        self.env["QT_QPA_PLATFORM"] = "xcb"
        log(f"fixture: Xvfb on {self.display}")

    def _x_answers(self):
        xlib = _xlib()
        if xlib is None:
            return True
        dpy = xlib.XOpenDisplay(self.display.encode())
        if dpy:
            xlib.XCloseDisplay(dpy)
        return bool(dpy)

    def start_wm(self):
        """openbox with no configuration of the user's: it iconifies, maps and sets WM_STATE as desktops do."""
        if not shutil.which("openbox"):
            raise Skip("openbox is not installed")
        proc = self.spawn(["openbox", "--sm-disable"], "openbox")
        try:
            wait_until(
                lambda: proc.poll() is not None or self.property_of_root("_NET_SUPPORTING_WM_CHECK"), 10, what="openbox"
            )
        except TimeoutError:
            raise Skip(f"openbox did not start: {self._tail('openbox')}") from None
        if proc.poll() is not None:
            raise Skip(f"openbox exited: {self._tail('openbox')}")
        # openbox announces itself before it handles map requests; a window mapped in between stays unmanaged.
        time.sleep(1.0)

    def property_of_root(self, name):
        return _xprop_value(self.x("xprop", "-root", name, check=False))

    # ----- D-Bus -----

    def start_buses(self):
        if self.system_bus:
            return
        if not shutil.which("dbus-daemon"):
            raise Skip("dbus-daemon is not installed")
        self.system_bus = self._start_bus("system")
        self.session_bus = self._start_bus("session")
        self.env["DBUS_SYSTEM_BUS_ADDRESS"] = self.system_bus
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.session_bus
        log(f"fixture: private buses {self.system_bus} {self.session_bus}")

    def _start_bus(self, which):
        # Both buses use the session configuration: it allows everything a mock needs and needs no root.
        socket = os.path.join(self.runtime, f"{which}_bus_socket")
        out = subprocess.run(
            [
                "dbus-daemon",
                "--session",
                "--nosyslog",
                f"--address=unix:path={socket}",
                "--fork",
                "--print-pid=1",
                "--print-address=1",
            ],
            env=self.env,
            stdin=subprocess.DEVNULL,
            capture_output=True,
            text=True,
            timeout=15,
        )
        lines = out.stdout.split()
        if out.returncode != 0 or len(lines) < 2:
            raise Skip(f"dbus-daemon for the {which} bus did not start: {out.stderr.strip()}")
        address, pid = lines[0], lines[1]
        self._track(pid, f"dbus-daemon {which}")
        if not address.startswith(f"unix:path={socket}"):
            raise Skip(f"dbus-daemon listens on an unexpected address {address}")
        return address

    def bus_connection(self, bus):
        """A dbus-python connection to one of the private buses ("system" or "session")."""
        import dbus

        address = self.system_bus if bus == "system" else self.session_bus
        if not address:
            raise RuntimeError("the fixture's buses are not started")
        if bus not in self._connections:
            self._connections[bus] = dbus.bus.BusConnection(address)
        return self._connections[bus]

    def dbus_object(self, bus, name, path):
        return self.bus_connection(bus).get_object(name, path)

    def name_owned(self, bus, name):
        proxy = self.dbus_object(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus")
        return bool(proxy.NameHasOwner(name, dbus_interface="org.freedesktop.DBus"))

    def _start_dbusmock(self, what, args, bus, name):
        try:
            import dbus  # noqa: F401
        except ImportError:
            raise Skip("python3-dbus is not installed") from None
        probe = subprocess.run([PYTHON, "-c", "import dbusmock"], capture_output=True)
        if probe.returncode != 0:
            raise Skip("python3-dbusmock is not installed for /usr/bin/python3")
        proc = self.spawn([PYTHON, "-m", "dbusmock", *args], what)
        try:
            wait_until(lambda: self.name_owned(bus, name) or proc.poll() is not None, 15, what=f"{name} on the bus")
        except TimeoutError:
            raise Skip(f"dbusmock for {name} did not appear: {self._tail(what)}") from None
        if proc.poll() is not None:
            raise Skip(f"dbusmock for {name} exited: {self._tail(what)}")
        return proc

    def start_logind(self, parameters=None):
        """dbusmock's logind template on the private system bus; self.logind reads the calls back.

        The template's own log (every call with its arguments) is <root>/logind-calls.log."""
        self.start_buses()
        args = ["--system", "--template", "logind", "-l", os.path.join(self.root, "logind-calls.log")]
        if parameters:
            import json

            args += ["-p", json.dumps(parameters)]
        self._start_dbusmock("logind", args, "system", "org.freedesktop.login1")
        self.logind = Mock(
            self, "system", "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager"
        )
        return self.logind

    def add_mock(self, name, path, interface, *, bus="session", object_manager=False):
        """A generic dbusmock claiming `name` on a private bus with one object; returns its Mock to fill.

        object_manager - the object answers org.freedesktop.DBus.ObjectManager for the objects added later."""
        self.start_buses()
        what = f"mock-{name}"
        log_path = self._log(f"{what}-calls")
        args = ["--system" if bus == "system" else "--session", "-l", log_path, name, path, interface]
        if object_manager:
            args.insert(1, "-m")
        self._start_dbusmock(what, args, bus, name)
        return Mock(self, bus, name, path, interface, log_path)

    def add_screensaver(self, active=False):
        """org.freedesktop.ScreenSaver with GetActive/SetActive (SetActive changes what GetActive answers)."""
        mock = self.add_mock("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver")
        mock.add_property("Active", bool(active))
        mock.add_method("GetActive", "", "b", "ret = self.Get('org.freedesktop.ScreenSaver', 'Active')")
        mock.add_method(
            "SetActive", "b", "b", "self.Set('org.freedesktop.ScreenSaver', 'Active', args[0]); ret = True"
        )
        return mock

    def add_session_manager(self):
        """A desktop session manager (org.gnome.SessionManager) whose Logout/Shutdown/Reboot are only recorded."""
        mock = self.add_mock("org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager")
        mock.add_method("Logout", "u", "", "")
        mock.add_method("Shutdown", "", "", "")
        mock.add_method("Reboot", "", "", "")
        mock.add_method("CanShutdown", "", "b", "ret = True")
        return mock

    def add_mpris_player(self, name="testplayer", volume=0.5, status="Paused", identity=None):
        """An MPRIS player org.mpris.MediaPlayer2.<name>: the Player methods are recorded, Volume is writable;
        its Identity is the name unless given."""
        player = "org.mpris.MediaPlayer2.Player"
        mock = self.add_mock(f"org.mpris.MediaPlayer2.{name}", "/org/mpris/MediaPlayer2", player)
        for method in ("Next", "Previous", "Pause", "PlayPause", "Stop", "Play"):
            mock.add_method(method, "", "", "")
        mock.add_property("PlaybackStatus", status)
        mock.add_property("Volume", float(volume))
        mock.add_property("CanControl", True)
        mock.add_property("Identity", identity or name, interface="org.mpris.MediaPlayer2")
        return mock

    # ----- tray -----

    def start_tray(self, kind="xembed"):
        """An XEmbed tray (trayer, needs the X server) or a mocked StatusNotifierWatcher with a host registered."""
        if kind == "xembed":
            if not self.display:
                raise RuntimeError("the XEmbed tray needs the X server")
            if not shutil.which("trayer"):
                raise Skip("trayer is not installed")
            proc = self.spawn(
                ["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "200",
                 "--height", "32", "--SetDockType", "false", "--transparent", "false"],
                "trayer",
            )
            try:
                wait_until(
                    lambda: self.x_selection_owned("_NET_SYSTEM_TRAY_S0") or proc.poll() is not None, 10, what="trayer"
                )
            except TimeoutError:
                raise Skip(f"trayer did not take the tray selection: {self._tail('trayer')}") from None
            if proc.poll() is not None:
                raise Skip(f"trayer exited: {self._tail('trayer')}")
        elif kind == "sni":
            watcher = self.add_mock("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher")
            watcher.add_method("RegisterStatusNotifierItem", "s", "", "")
            watcher.add_method("RegisterStatusNotifierHost", "s", "", "")
            watcher.add_property("IsStatusNotifierHostRegistered", True)
            watcher.add_property("ProtocolVersion", 0)
            import dbus

            watcher.add_property("RegisteredStatusNotifierItems", dbus.Array([], signature="s"))
            self.tray_watcher = watcher
        else:
            raise ValueError(kind)

    def x_selection_owned(self, selection):
        """Whether an X selection (e.g. _NET_SYSTEM_TRAY_S0) has an owner, read with a few lines of Xlib."""
        xlib = _xlib()
        if xlib is None:
            return True
        dpy = xlib.XOpenDisplay(self.display.encode())
        if not dpy:
            return False
        try:
            atom = xlib.XInternAtom(dpy, selection.encode(), 0)
            return xlib.XGetSelectionOwner(dpy, atom) != 0
        finally:
            xlib.XCloseDisplay(dpy)

    # ----- sound -----

    def start_pulse(self):
        """PulseAudio with a null sink "testsink" on a private socket; PULSE_SERVER points the children at it."""
        if not shutil.which("pulseaudio"):
            raise Skip("pulseaudio is not installed")
        socket = os.path.join(self.runtime, "pulse.sock")
        env = dict(self.env)
        env["PULSE_RUNTIME_PATH"] = self._dir("pulse-runtime")
        env["PULSE_STATE_PATH"] = self._dir("pulse-state")
        proc = self.spawn(
            [
                "pulseaudio",
                "--daemonize=no",
                "--exit-idle-time=-1",
                "-n",
                "--use-pid-file=no",
                "--disallow-exit",
                "--log-target=stderr",
                "--load=module-null-sink sink_name=testsink",
                f"--load=module-native-protocol-unix socket={socket} auth-anonymous=1",
                "--load=module-always-sink",
            ],
            "pulseaudio",
            env=env,
        )
        self.env["PULSE_SERVER"] = f"unix:{socket}"
        self.env["PULSE_SINK"] = "testsink"
        self.pulse_socket = socket

        def ready():
            if proc.poll() is not None:
                return True
            r = subprocess.run(["pactl", "info"], env=self.env, capture_output=True, timeout=10)
            return r.returncode == 0

        try:
            wait_until(ready, 15, 0.1, what="pulseaudio")
        except TimeoutError:
            raise Skip(f"pulseaudio did not answer: {self._tail('pulseaudio')}") from None
        if proc.poll() is not None:
            raise Skip(f"pulseaudio exited: {self._tail('pulseaudio')}")
        subprocess.run(["pactl", "set-default-sink", "testsink"], env=self.env, capture_output=True, timeout=10)
        log(f"fixture: pulseaudio on {socket}")

    def start_recording(self, name):
        """Records testsink.monitor into <root>/<name>.wav until stop_recording(); start it ~1 s before the sound."""
        if not self.pulse_socket:
            raise RuntimeError("pulseaudio is not started")
        path = os.path.join(self.root, f"{name}.wav")
        proc = self.spawn(
            # Read in small blocks: otherwise the null sink sleeps in 2 s blocks and a new stream waits for its wake-up.
            ["parecord", "--device=testsink.monitor", "--file-format=wav", "--channels=1", "--rate=44100",
             "--latency-msec=20", path],
            f"parecord-{name}",
        )
        proc.wav_path = path
        # The null sink's monitor streams silence at once, so a growing file means the recording has begun.
        try:
            wait_until(
                lambda: proc.poll() is not None or (os.path.exists(path) and os.path.getsize(path) > 4096), 10
            )
        except TimeoutError:
            raise RuntimeError(f"parecord does not record: {self._tail(f'parecord-{name}')}") from None
        if proc.poll() is not None:
            raise RuntimeError(f"parecord exited: {self._tail(f'parecord-{name}')}")
        return proc

    def stop_recording(self, proc):
        """Stops parecord cleanly (SIGINT finishes the WAV header) and returns the file's path."""
        if proc.poll() is None:
            proc.send_signal(signal.SIGINT)
            try:
                proc.wait(5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        return proc.wav_path

    # ----- the program -----

    def assert_private(self, env=None):
        """Raises unless env's buses (and sound server, if any) are this fixture's own private sockets.

        Called before starting the program or anything else that could reach a power call."""
        env = self.env if env is None else env
        if not self.system_bus or not self.session_bus:
            raise RuntimeError("refusing to run: the fixture's private buses are not started")
        for var, mine in (("DBUS_SYSTEM_BUS_ADDRESS", self.system_bus), ("DBUS_SESSION_BUS_ADDRESS", self.session_bus)):
            value = env.get(var)
            if value != mine:
                raise RuntimeError(f"refusing to run: {var}={value!r} is not the fixture's bus {mine!r}")
            path = value.split("unix:path=", 1)[1].split(",", 1)[0]
            if os.path.commonpath([path, self.root]) != self.root or not os.path.exists(path):
                raise RuntimeError(f"refusing to run: {var} socket {path} is not inside {self.root}")
        pulse = env.get("PULSE_SERVER")
        if pulse and pulse != f"unix:{self.pulse_socket}":
            raise RuntimeError(f"refusing to run: PULSE_SERVER={pulse!r} is not the fixture's")
        if env.get("DISPLAY") and env["DISPLAY"] != self.display:
            raise RuntimeError(f"refusing to run: DISPLAY={env['DISPLAY']!r} is not the fixture's X server")

    def binary(self):
        path = os.environ.get("ZINDREL_BINARY")
        if not path or not os.access(path, os.X_OK):
            raise RuntimeError(f"ZINDREL_BINARY is not an executable: {path!r}")
        return path

    def run_program(self, args=(), *, speed=None, folder=None, extra_env=None, name="zindrel"):
        """Starts a copy of the real binary from a fresh program folder (so its settings land there).

        speed - run under `faketime -f '+0 x<speed>'` (every clock and timer in the process runs that much faster);
        folder - reuse a program folder of an earlier run (a restart keeps the settings);
        The program's output is in <root>/<name>.log. Returns a Program."""
        if folder is None:
            folder = self._dir(f"{name}-folder")
        exe = os.path.join(folder, "zindrel")
        if not os.path.exists(exe):
            shutil.copy2(self.binary(), exe)
        env = dict(self.env)
        if extra_env:
            env.update(extra_env)
        self.assert_private(env)
        argv = [exe, *args]
        if speed:
            if not shutil.which("faketime"):
                raise Skip("faketime is not installed")
            argv = ["faketime", "-f", f"+0 x{speed}", *argv]
        proc = self.spawn(argv, name, env=env, cwd=folder)
        program = Program(proc, folder, env["HOME"], env["XDG_CONFIG_HOME"], self._log(name))
        if speed:
            # The launcher forks the program and does not pass signals on: stop the program itself by its PID.
            def started():
                if proc.poll() is not None:
                    raise RuntimeError(f"faketime exited ({proc.returncode}) before the program ran: {self._tail(name)}")
                return _child_running(proc.pid, exe)

            try:
                program.app_pid = wait_until(started, 10, what="the program under faketime")
            except TimeoutError as e:
                raise TimeoutError(f"{e}; faketime's children {children(proc.pid)}: {self._tail(name)}") from None
            self._track(program.app_pid, name)
        return program

    def settings_path(self, folder):
        """The settings file the program keeps in a program folder: zindrel_<user>.ini."""
        return os.path.join(folder, f"zindrel_{pwd.getpwuid(os.getuid()).pw_name}.ini")

    def program_folder(self, name="zindrel", settings=None):
        """A fresh program folder for run_program(folder=...), optionally with a settings file's text in it."""
        folder = self._dir(f"{name}-folder")
        if settings is not None:
            with open(self.settings_path(folder), "w", encoding="utf-8") as f:
                f.write(settings)
        return folder

    def stop_program(self, program):
        """Stops a program by its PID (TERM, then KILL)."""
        self._stop_pid(program.pid, "zindrel")

    def run_system_tests(self, gtest_filter, timeout=120, extra_env=None):
        """Runs the gtest binary $ZINDREL_SYSTEM_TESTS with --gtest_filter inside the fixture's services.

        Returns the exit code; its output goes to stderr. A missing binary makes the test skip."""
        binary = os.environ.get("ZINDREL_SYSTEM_TESTS")
        if not binary or not os.access(binary, os.X_OK):
            skip("ZINDREL_SYSTEM_TESTS is not built (no tests/system/*.cpp)")
        env = dict(self.env)
        if extra_env:
            env.update(extra_env)
        self.assert_private(env)
        # The marker a gtest that can reach a power call checks, with the folder its bus sockets must be in.
        env["ZINDREL_PRIVATE_BUSES"] = "1"
        env["ZINDREL_FIXTURE_ROOT"] = self.root
        checked()
        proc = subprocess.Popen([binary, f"--gtest_filter={gtest_filter}"], env=env, stdin=subprocess.DEVNULL)
        self._track(proc, "system tests")
        try:
            return proc.wait(timeout)
        except subprocess.TimeoutExpired:
            self._stop_pid(proc.pid, "system tests")
            raise TimeoutError(f"{binary} --gtest_filter={gtest_filter} ran longer than {timeout} s") from None

    # ----- windows, input, screenshots -----

    def x(self, *argv, check=True, timeout=20):
        """Runs an X client (xdotool, xprop, ...) on the fixture's X server; returns its stdout."""
        out = subprocess.run(list(argv), env=self.env, capture_output=True, text=True, timeout=timeout)
        if check and out.returncode != 0:
            raise RuntimeError(f"{' '.join(argv)} failed ({out.returncode}): {out.stderr.strip()}")
        return out.stdout

    def find_windows(self, title, visible=True, pid=None):
        """Window ids whose title matches the regular expression `title` (anchored by the caller if needed)."""
        argv = ["xdotool", "search", "--all"]  # every condition must hold, not any one of them
        if visible:
            argv.append("--onlyvisible")
        if pid:
            argv += ["--pid", str(pid)]
        argv += ["--name", title]
        out = self.x(*argv, check=False)
        return [int(w) for w in out.split()]

    def wait_window(self, title, timeout=15, visible=True, pid=None):
        """Waits for a (mapped, by default) window with that exact title; returns its id."""
        pattern = f"^{title}$"
        return wait_until(
            lambda: (self.find_windows(pattern, visible, pid) or [None])[0], timeout, 0.1, what=f"window {title!r}"
        )

    def window_mapped(self, window):
        return "IsViewable" in self.x("xwininfo", "-id", str(window), check=False)

    def window_title(self, window):
        return self.x("xdotool", "getwindowname", str(window), check=False).strip()

    def window_geometry(self, window):
        """(x, y, width, height) of a window on the screen."""
        info = self.x("xwininfo", "-id", str(window))
        values = {}
        for line in info.splitlines():
            line = line.strip()
            for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
                if line.startswith(key + ":"):
                    values[key] = int(line.split(":", 1)[1])
        return (values["Absolute upper-left X"], values["Absolute upper-left Y"], values["Width"], values["Height"])

    def wm_state(self, window):
        """The ICCCM WM_STATE ("Normal", "Iconic", "Withdrawn") or None if the window has none."""
        out = self.x("xprop", "-id", str(window), "WM_STATE", check=False)
        for line in out.splitlines():
            if "window state:" in line:
                return line.split(":", 1)[1].strip()
        return None

    def property(self, window, name):
        """An X property of a window as xprop prints its value, or None when the window does not have it."""
        return _xprop_value(self.x("xprop", "-id", str(window), name, check=False))

    def click(self, window, x, y, button=1, repeat=1):
        """Clicks at (x, y) in the window's client area (button 1 left, 3 right)."""
        self.x("xdotool", "mousemove", "--window", str(window), str(x), str(y))
        time.sleep(0.05)
        self.x("xdotool", "click", "--repeat", str(repeat), "--delay", "80", str(button))

    def key(self, *keys, window=None):
        argv = ["xdotool", "key"]
        if window:
            argv += ["--window", str(window)]
        self.x(*argv, *keys)

    def type_text(self, text):
        self.x("xdotool", "type", "--delay", "30", text)

    def screenshot(self, name, window=None):
        """Saves the root window (or one window) as $ZINDREL_ARTEFACTS/<name>.png and returns the path."""
        path = os.path.join(self.artefacts, f"{name}.png")
        target = str(window) if window else "root"
        if shutil.which("import"):
            self.x("import", "-display", self.display, "-window", target, path)
        else:
            xwd = os.path.join(self.root, f"{name}.xwd")
            self.x("xwd", "-silent", "-display", self.display, "-root" if not window else "-id", *([] if not window else [target]), "-out", xwd)
            self.x("convert", xwd, path)
        log(f"fixture: screenshot {path}")
        return path

    def _tail(self, what, lines=5):
        try:
            with open(self._log(what), encoding="utf-8", errors="replace") as f:
                return " | ".join(f.read().strip().splitlines()[-lines:])
        except OSError:
            return "(no log)"


class MainWindow:
    """The program's main window driven with xdotool, at client positions of the fixed 571 x 270 form."""

    ARM_BUTTON = (386 + 6 + 84, 60 + 150 + 25)  # "Завести" in the "Действия" group
    BARE_FORM = (14, 112)  # the form itself, between the two radio buttons
    COUNTDOWN_GROUP = (28 + 130, 112 + 30)  # the "Таймер" group clear of its controls: its quick menu
    QUICK_MENU = ("3 минуты", "5 минут", "10 минут", "15 минут", "30 минут", "1 час", "2 часа", "3 часа")
    COUNTDOWN_RADIO = (8 + 9, 132 + 9)
    # The tasks in the "Операции" group, top to bottom.
    TASKS = {
        "Просто напомнить": 18,
        "Напомнить с текстом": 38,
        "Запуск заставки": 58,
        "Не показывать окно": 78,
        "Выключить монитор": 106,
        "Спящий режим": 126,
        "Завершение сеанса": 146,
        "Перезагрузить компьютер": 166,
        "Выключить компьютер": 186,
    }

    def __init__(self, fixture, program, timeout=20):
        self.fx = fixture
        self.program = program
        self.id = fixture.wait_window("Zindrel", timeout=timeout, pid=program.pid)

    def title(self):
        return self.fx.window_title(self.id)

    def mapped(self):
        return self.fx.window_mapped(self.id)

    def arm(self):
        self.fx.click(self.id, *self.ARM_BUTTON)

    def choose_countdown(self):
        self.fx.click(self.id, *self.COUNTDOWN_RADIO)

    def choose_task(self, caption):
        """Picks a task of the first slot by its radio button's caption."""
        self.fx.click(self.id, 192 + 8 + 9, 60 + self.TASKS[caption] + 9)

    def dialog(self, size, timeout=10):
        """Waits for another mapped window of the program with that client size; returns its id."""

        def find():
            for window in self.fx.find_windows(".*", pid=self.program.pid):
                if window != self.id:
                    try:
                        if self.fx.window_geometry(window)[2:] == size:
                            return window
                    except RuntimeError:
                        pass
            return None

        return wait_until(find, timeout, 0.05, what=f"a {size[0]}x{size[1]} window of the program")

    def _menu(self, position, keys):
        before = set(self.fx.find_windows(".*", pid=self.program.pid))
        self.fx.click(self.id, *position, button=3)
        wait_until(
            lambda: set(self.fx.find_windows(".*", pid=self.program.pid)) - before, 5, what="the pop-up menu"
        )
        time.sleep(0.2)
        self.fx.key(*keys)

    def quick_menu(self, item):
        """Picks an item of the countdown group's quick menu by its caption ("3 минуты", ...)."""
        index = self.QUICK_MENU.index(item)
        self._menu(self.COUNTDOWN_GROUP, ["Down"] * (index + 1) + ["Return"])

    def exit_from_menu(self):
        """"Выход", the last item of the window's pop-up menu."""
        self._menu(self.BARE_FORM, ["Up", "Return"])


# ----- sound analysis (sox decodes, the numbers are computed here) -----


def read_samples(path, rate=8000):
    """The recording as mono signed 16-bit samples at `rate` Hz (sox converts)."""
    raw = subprocess.run(
        ["sox", path, "-t", "raw", "-r", str(rate), "-e", "signed", "-b", "16", "-c", "1", "-"],
        capture_output=True,
        check=True,
    ).stdout
    samples = array.array("h")
    samples.frombytes(raw[: len(raw) // 2 * 2])
    if sys.byteorder == "big":
        samples.byteswap()
    return samples


def sound_length(path):
    """The recording's total length in seconds (`sox --i -D`)."""
    out = subprocess.run(["soxi", "-D", path], capture_output=True, text=True, check=True).stdout
    return float(out.strip())


def segments(path, threshold=500, window=0.01, gap=0.05, rate=8000):
    """The sounding parts of a recording as [(start s, length s)]: 10 ms windows above `threshold` peak,
    joined across silences shorter than `gap`. Use lengths and the count, not offsets."""
    samples = read_samples(path, rate)
    step = max(1, int(rate * window))
    loud = []
    for i in range(0, len(samples), step):
        chunk = samples[i : i + step]
        loud.append(bool(chunk) and max(abs(min(chunk)), abs(max(chunk))) >= threshold)
    found = []
    start = None
    quiet = 0
    max_quiet = max(1, int(gap / window))
    for n, on in enumerate(loud):
        if on:
            if start is None:
                start = n
            quiet = 0
        elif start is not None:
            quiet += 1
            if quiet > max_quiet:
                found.append((start * window, (n - quiet + 1 - start) * window))
                start, quiet = None, 0
    if start is not None:
        found.append((start * window, (len(loud) - quiet - start) * window))
    return found


def dominant_frequency(path, start=None, length=None, rate=44100):
    """The main frequency in Hz (rising zero crossings per second) of the whole recording or one segment."""
    samples = read_samples(path, rate)
    if start is not None:
        first = int(start * rate)
        samples = samples[first : first + int((length or 0) * rate)] if length else samples[first:]
    if len(samples) < 2:
        return 0.0
    # Hysteresis at a tenth of the peak: the dither noise of quiet stretches must not count as crossings.
    level = max(abs(min(samples)), abs(max(samples))) // 10
    crossings = 0
    below = False
    for sample in samples:
        if sample < -level:
            below = True
        elif sample > level and below:
            crossings += 1
            below = False
    return crossings * rate / len(samples)


def sox_stat(path):
    """`sox FILE -n stat` as a dict (e.g. "Length (seconds)", "Rough   frequency", "Maximum amplitude")."""
    out = subprocess.run(["sox", path, "-n", "stat"], capture_output=True, text=True).stderr
    result = {}
    for line in out.splitlines():
        if ":" in line:
            key, value = line.split(":", 1)
            try:
                result[" ".join(key.split())] = float(value.strip())
            except ValueError:
                pass
    return result


# ----- helpers -----


def _xprop_value(out):
    """The value part of one `xprop NAME` line ("NAME(TYPE) = v" or "NAME(WINDOW): window id # 0x..")."""
    line = out.strip().splitlines()[0] if out.strip() else ""
    if not line or "not found" in line or "no such atom" in line:
        return None
    for mark in (" = ", ": "):
        if mark in line:
            return line.split(mark, 1)[1].strip()
    return None


def _alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        return True
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().split(") ", 1)[1][0] != "Z"
    except OSError:
        return False


def children(parent):
    """The PIDs of the direct children of `parent` (none once it has gone)."""
    try:
        with open(f"/proc/{parent}/task/{parent}/children") as f:
            return [int(c) for c in f.read().split()]
    except OSError:
        return []


def _child_running(parent, exe):
    """The PID of a child of `parent` running `exe`, or None."""
    for child in children(parent):
        try:
            if os.path.realpath(f"/proc/{child}/exe") == os.path.realpath(exe):
                return child
        except OSError:
            pass
        found = _child_running(child, exe)
        if found:
            return found
    return None


_XLIB = []


def _xlib():
    """libX11 through ctypes, or None when it cannot be loaded."""
    if not _XLIB:
        import ctypes
        import ctypes.util

        try:
            lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
            lib.XOpenDisplay.restype = ctypes.c_void_p
            lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
            lib.XInternAtom.restype = ctypes.c_ulong
            lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
            lib.XGetSelectionOwner.restype = ctypes.c_ulong
            lib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
            lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        except OSError:
            lib = None
        _XLIB.append(lib)
    return _XLIB[0]


def png_size(path):
    """(width, height) of a PNG file."""
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path} is not a PNG")
    return struct.unpack(">II", head[16:24])


def page_pictures(name, prefix, pages, size, gtest_filter):
    """Runs a gtest case that grabs each page of a window into <prefix>-<n>.png among the artefacts, and returns
    the failures: a page without its picture, a picture not of the window's size, two pages alike."""
    failures = []
    width, height = size
    with Fixture(name) as fx:
        paths = [os.path.join(fx.artefacts, f"{prefix}-{n}.png") for n in range(1, pages + 1)]
        for path in paths:
            if os.path.exists(path):
                os.remove(path)
        code = fx.run_system_tests(gtest_filter, extra_env={"ZINDREL_ARTEFACTS": fx.artefacts})
        if code != 0:
            failures.append(f"the page check exited with {code}")
        pictures = []
        for n, path in enumerate(paths, start=1):
            if not os.path.exists(path):
                failures.append(f"no picture of page {n}")
                continue
            w, h = png_size(path)
            # grab() works in device pixels; a scaled screen gives a multiple of the window's size.
            if w * height != h * width:
                failures.append(f"page {n} picture is {w}x{h}, not the window's {width}x{height}")
            with open(path, "rb") as f:
                pictures.append(f.read())
        if len(set(pictures)) != len(pictures):
            failures.append("two pages gave the same picture: the tabs did not switch pages")
    return failures
