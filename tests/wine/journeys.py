# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows program (zindrel.exe) under wine64, on the fixture's private X server with openbox, in a private wine
prefix made for this run and removed after it:

  first start   maps "Zindrel" and, at "Выход", writes zindrel_<user>.ini beside the .exe with window_main;
  quick menu    "3 минуты" hides the window and the firing brings it back (time sped up 10 times by faketime,
                which speeds wine's performance counter and waitable timers alike);
  power off     a countdown with "Выключить компьютер" and warnings off calls ExitWindowsEx(EWX_POWEROFF, 0)
                exactly once (wine's relay trace of that one function); wine ends only the prefix's session;
  warning       with warnings on, the warning dialog counts down and "Отмена" keeps the program;
  settings      the settings dialog's "Применить" writes the settings file;
  commands      a second zindrel.exe --in 5 arms the first and exits, --status prints the state line, --quit ends it.
  console       in a command prompt, --status > s.txt and --resume 2> e.txt write the state line and a Russian
                refusal into the files in UTF-8; zindrel.exe --in 90 typed in a console window becomes the program,
                and closing that console leaves it running and armed.
  sleep hold    arming asks for a system-required power request (PowerCreateRequest, then PowerSetRequest, or where
                the system has none, as wine 8 has not, SetThreadExecutionState), the cancel lets it go, and the
                alarm clock sets a waitable timer with fResume true.
  installer     the MSI's tables (msiinfo) hold the shortcut, the icon and the upgrade; msiexec /i /qn puts the
                program into %LOCALAPPDATA%\\Programs\\Zindrel with its Start menu shortcut and installed-programs
                entry, and the first start passes there; a higher version replaces it and keeps the settings file;
                msiexec /x /qn removes the program, the shortcut and the entry, and leaves the settings file.

Screenshots of the main window, the warning dialog and the settings dialog go to $ZINDREL_ARTEFACTS (wine-*.png).
Run by scripts/windows.sh with ZINDREL_EXE set.
"""

import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "system"))
from fixture import Fixture, MainWindow, Program, skip, wait_until  # noqa: E402

import installer  # noqa: E402

# Ten times, not more: wine waits 10 s of its own time for its desktop process at a start, and sped up further
# that wait ran out on a busy machine before the desktop was up, and the program got no windows at all.
SPEED = 10
USER = "Tester"  # the prefix's "Logon User Name", which names the settings file
MAIN_SIZE = (571, 270)
WARNING_SIZE = (488, 129)
WARNING_CANCEL = (408 + 37, 104 + 12)
SETTINGS_SIZE = (294, 403)
SETTINGS_BUTTON = (386 + 92 + 41, 60 + 16 + 11)  # "Настройка" in the "Действия" group
SETTINGS_APPLY = (294 - 4 - 20, 403 - 6 - 10)  # "Применить", the last button at the bottom right
WINE = shutil.which("wine64") or "/usr/lib/wine/wine64"
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver"
EXIT_WINDOWS_TRACE = "Call user32.ExitWindowsEx("
CANCEL = (386 + 6 + 41, 60 + 42 + 12)  # "Отменить"
ALARM_RADIO = (8 + 9, 78 + 9)
# kernel32 forwards these to kernelbase; the trace names whichever DLL wine's build has them in.
SLEEP_CALLS = ("PowerCreateRequest", "PowerSetRequest", "PowerClearRequest", "SetThreadExecutionState",
               "SetWaitableTimer")


class WinePrefix:
    """A wine prefix inside the fixture's folder: the user's own prefix is never touched."""

    def __init__(self, fx):
        self.fx = fx
        self.path = os.path.join(fx.root, "wineprefix")
        self.env = dict(fx.env)
        self.env["WINEPREFIX"] = self.path
        # Quiet but for wine's diagnostics, which name why a start failed.
        self.env["WINEDEBUG"] = "-all,err+winediag"
        # No Mono or Gecko installers, no menu entries or file associations written into the user's desktop.
        self.env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winemenubuilder.exe=d"
        quiet = dict(self.env)
        quiet.pop("DISPLAY", None)  # no installer dialogs while the prefix is made
        subprocess.run([WINE, "wineboot", "-i"], env=quiet, capture_output=True, timeout=240)
        # Logon user name, and the relay trace limited to the power and wake calls the journeys look for.
        registry = os.path.join(fx.root, "prefix.reg")
        with open(registry, "w", encoding="utf-8") as f:
            f.write(
                "REGEDIT4\n\n"
                "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer]\n"
                f'"Logon User Name"="{USER}"\n\n'
                "[HKEY_CURRENT_USER\\Software\\Wine\\Debug]\n"
                '"RelayInclude"="user32.ExitWindowsEx;'
                + ";".join(f"{dll}.{call}" for call in SLEEP_CALLS for dll in ("kernel32", "kernelbase"))
                + '"\n'
            )
        subprocess.run([WINE, "regedit", "/S", registry], env=quiet, capture_output=True, timeout=120)
        self.stop()
        # faketime also fakes file times, which makes wine think the prefix is out of date and rebuild it at every
        # sped-up start; this prefix is made for this run, so its updates are switched off.
        with open(os.path.join(self.path, ".update-timestamp"), "w", encoding="ascii") as f:
            f.write("disable\n")

    def stop(self):
        """Ends every process of this prefix and its wineserver (only this prefix's: WINEPREFIX names it)."""
        subprocess.run([WINESERVER, "-k"], env=self.env, capture_output=True, timeout=60)
        subprocess.run([WINESERVER, "-w"], env=self.env, capture_output=True, timeout=60)
        # The X server takes a killed client's windows down a moment later: the next start must not find them
        # and take one for its own.
        wait_until(lambda: not self.fx.find_windows("^Zindrel"), 15, 0.1, what="the ended program's windows gone")

    def run(self, folder, name, *, speed=None, relay=False):
        """Starts zindrel.exe from its program folder; the wineserver starts with it, under the same faketime."""
        env = dict(self.env)
        if relay:
            env["WINEDEBUG"] = "-all,err+winediag,+relay"
        argv = [WINE, os.path.join(folder, "zindrel.exe")]
        if speed:
            argv = ["faketime", "-f", f"+0 x{speed}", *argv]
        proc = self.fx.spawn(argv, name, env=env, cwd=folder)
        return WineProgram(proc, folder, self.fx._log(name))


class WineProgram(Program):
    """The program under wine: no home or config folder of its own, and no PID of its own to look windows up by."""

    pid = None  # windows are looked up by title: wine's own processes own them

    def __init__(self, process, folder, log_path):
        super().__init__(process, folder, None, None, log_path)


def program_folder(fx, name, settings=None):
    folder = fx._dir(f"{name}-folder")
    shutil.copy2(os.environ["ZINDREL_EXE"], os.path.join(folder, "zindrel.exe"))
    if settings is not None:
        with open(settings_path(folder), "w", encoding="utf-8", newline="\r\n") as f:
            f.write(settings)
    return folder


def settings_path(folder):
    return os.path.join(folder, f"zindrel_{USER}.ini")


def settings_text(folder):
    path = settings_path(folder)
    return open(path, encoding="utf-8", errors="replace").read() if os.path.exists(path) else None


def frame(fx, window, size):
    """(left, top) of a window's client area of `size` inside its X window, or None when it is not that window.

    Where wine draws the caption and borders itself, they are inside the X window: borders alike on three
    sides, the caption on top."""
    width, height = fx.window_geometry(window)[2:]
    border = (width - size[0]) // 2
    if not (0 <= border <= 16 and 0 <= height - size[1] - border <= 48):
        return None
    return border, height - size[1] - border


def window_of(fx, title, size, timeout=20):
    """A mapped window with that title and client size."""

    def find():
        for window in fx.find_windows(f"^{title}$"):
            try:
                if frame(fx, window, size) is not None:
                    return window
            except RuntimeError:
                pass
        return None

    return wait_until(find, timeout, 0.1, what=f"the {size[0]}x{size[1]} window {title!r}")


def click(fx, window, size, x, y):
    """Clicks at client position (x, y) of a window whose client area has `size`."""
    left, top = frame(fx, window, size)
    fx.click(window, left + x, top + y)


class WineFixture:
    """The fixture as the main window's driver sees it: its clicks land on client positions of the main window."""

    def __init__(self, fx):
        self._fx = fx

    def __getattr__(self, name):
        return getattr(self._fx, name)

    def click(self, window, x, y, button=1, repeat=1):
        left, top = frame(self._fx, window, MAIN_SIZE) or (0, 0)
        self._fx.click(window, left + x, top + y, button, repeat)


def start(fx, prefix, folder, name, **kwargs):
    """Starts the program and waits for its main window; returns (program, window).

    A sped-up wine can give up on its desktop process before it is up (its own start-up timeouts shrink with the
    speed); then the prefix is ended and the program started once more, and the log says so."""
    for attempt in (1, 2):
        program = prefix.run(folder, name if attempt == 1 else f"{name}-again", **kwargs)
        try:
            window = MainWindow(WineFixture(fx), program, timeout=30)
            break
        except TimeoutError:
            if attempt == 2:
                raise
            said = [line for line in program.output().splitlines() if ":err:" in line]
            print(f"wine journey {name}: no window after 30 s, wine restarted once; wine said: {said[-3:]}",
                  file=sys.stderr)
            prefix.stop()
    # Mapped is not yet ready under wine: clicks in the first moments after the map can be lost.
    time.sleep(1.5)
    return program, window


def first_start(fx, prefix, failures, folder=None, name="firststart"):
    folder = folder or program_folder(fx, name)
    program, window = start(fx, prefix, folder, name)
    fx.screenshot(f"wine-main-window-{name}")
    if settings_text(folder) and "[window_main]" in settings_text(folder):
        failures.append(f"{name}: a window_main section existed before the first exit")
    window.exit_from_menu()
    try:
        program.wait(30)
    except TimeoutError as e:
        failures.append(f"{name}: 'Выход' did not end the program: {e}")
    text = settings_text(folder)
    if text is None:
        failures.append(f"{name}: no {settings_path(folder)} beside the .exe: {sorted(os.listdir(folder))}")
    elif "[window_main]" not in text:
        failures.append(f"{name}: the settings file has no window_main section:\n{text}")


def quick_menu(fx, prefix, failures):
    folder = program_folder(fx, "quickmenu")
    program, window = start(fx, prefix, folder, "quickmenu", speed=SPEED)
    window.quick_menu("3 минуты")
    try:
        wait_until(lambda: not window.mapped(), 10, what="the window hidden at arming")
    except TimeoutError as e:
        failures.append(f"quick menu: {e}")
    armed_at = time.monotonic()
    try:
        # Three minutes at ten times the speed are 18 seconds.
        wait_until(window.mapped, 60, 0.1, what="the window back at the firing")
        fx.screenshot("wine-quickmenu-fired")
        fired_after = time.monotonic() - armed_at
        if fired_after < 90 / SPEED:
            failures.append(f"quick menu: the 3-minute countdown fired after {fired_after:.1f} s at x{SPEED}")
    except TimeoutError as e:
        failures.append(f"quick menu: {e}")
    if not program.running():
        failures.append(f"quick menu: the program exited: {program.output()[-500:]}")


def arm_power_off(fx, prefix, name, settings):
    """Starts the program sped up with its calls relayed, and arms a countdown that shuts the machine down."""
    program, window = start(fx, prefix, program_folder(fx, name, settings=settings), name, speed=SPEED, relay=True)
    window.choose_countdown()
    window.choose_task("Выключить компьютер")
    window.arm()
    return program, window


def power_off(fx, prefix, failures):
    program, _ = arm_power_off(fx, prefix, "poweroff", "[main]\nhide_message_alarm=1\n")
    try:
        program.wait(60)
    except TimeoutError as e:
        fx.screenshot("wine-poweroff-still-running")
        failures.append(f"power off: the program did not end after the power-off: {e}")
    calls = [line.split(EXIT_WINDOWS_TRACE, 1)[1] for line in program.output().splitlines() if EXIT_WINDOWS_TRACE in line]
    if len(calls) != 1 or not calls[0].startswith("00000008,00000000)"):
        failures.append(f"power off: expected one ExitWindowsEx(00000008,00000000), the trace has {calls}")


def warning(fx, prefix, failures):
    # 100 warning seconds are 10 s at x10: time enough to see the count and press "Отмена".
    program, window = arm_power_off(fx, prefix, "warning", "[main]\nsec=100\nhide_message_alarm=0\n")
    try:
        dialog = window_of(fx, "Zindrel", WARNING_SIZE, timeout=60)
    except TimeoutError as e:
        fx.screenshot("wine-warning-missing")
        failures.append(f"warning: {e}")
        return
    fx.screenshot("wine-warning-dialog")
    click(fx, dialog, WARNING_SIZE, *WARNING_CANCEL)
    try:
        wait_until(lambda: not fx.window_mapped(dialog), 10, what="the warning closed by 'Отмена'")
        wait_until(window.mapped, 10, what="the main window back after 'Отмена'")
    except TimeoutError as e:
        failures.append(f"warning: {e}")
    time.sleep(12)  # past the end the warning would have had
    if not program.running():
        failures.append("warning: 'Отмена' did not keep the program running")
    if EXIT_WINDOWS_TRACE in program.output():
        failures.append("warning: ExitWindowsEx was called although the warning was cancelled")


def settings_apply(fx, prefix, failures):
    folder = program_folder(fx, "settings", settings="[main]\nsec=33\n")
    program, window = start(fx, prefix, folder, "settings")
    click(fx, window.id, MAIN_SIZE, *SETTINGS_BUTTON)
    try:
        dialog = window_of(fx, "Настройка Zindrel", SETTINGS_SIZE)
    except TimeoutError as e:
        fx.screenshot("wine-settings-missing")
        failures.append(f"settings: {e}")
        return
    fx.screenshot("wine-settings-dialog")
    click(fx, dialog, SETTINGS_SIZE, *SETTINGS_APPLY)
    try:
        # Apply stores every value of the dialog; the ones the file did not hold appear.
        wait_until(lambda: "alpha=255" in (settings_text(folder) or ""), 10, what="alpha=255 written by Apply")
    except TimeoutError:
        failures.append(f"settings: 'Применить' did not write the file:\n{settings_text(folder)}")
    if "sec=33" not in (settings_text(folder) or ""):
        failures.append(f"settings: the stored sec=33 did not survive Apply:\n{settings_text(folder)}")


def later_start(prefix, folder, *args):
    """Another zindrel.exe of the same session with options; returns (exit code, its output)."""
    out = subprocess.run(
        [WINE, os.path.join(folder, "zindrel.exe"), *args],
        env=prefix.env, cwd=folder, capture_output=True, text=True, timeout=90,
    )
    return out.returncode, out.stdout.strip()


def commands(fx, prefix, failures):
    folder = program_folder(fx, "commands")
    program, window = start(fx, prefix, folder, "commands")
    code, out = later_start(prefix, folder, "--in", "5")
    if code != 0:
        failures.append(f"commands: the second start's --in 5 exited {code}: {out}")
    try:
        wait_until(lambda: window.title() == "Zindrel - заведён", 20, what="the first program armed by --in 5")
    except TimeoutError as e:
        failures.append(f"commands: {e}")
    code, out = later_start(prefix, folder, "--status")
    if code != 0 or not re.fullmatch(r"state=armed mode=countdown task=remind due=\d\d:\d\d left=5", out):
        failures.append(f"commands: --status exited {code} and printed {out!r}")
    later_start(prefix, folder, "--quit")
    try:
        program.wait(30)
    except TimeoutError as e:
        failures.append(f"commands: --quit did not end the first program: {e}")


def console(fx, prefix, failures):
    """In a command prompt, --status > s.txt and a refusal 2> e.txt land in the files in UTF-8; --in 90 typed in a
    console window becomes the program, which runs on, armed, after the console is closed (Alt+F4 to openbox)."""
    folder = program_folder(fx, "console", "[main]\ntray_hide=1\n")
    program, _ = start(fx, prefix, folder, "console")
    for line in ("zindrel.exe --status > s.txt", "zindrel.exe --resume 2> e.txt", "zindrel.exe --quit"):
        subprocess.run([WINE, "cmd", "/c", line], env=prefix.env, cwd=folder, capture_output=True, timeout=90)
    program.wait(30)
    paths = [os.path.join(folder, name) for name in ("s.txt", "e.txt")]
    files = [open(p, "rb").read().decode("utf-8", "replace") if os.path.exists(p) else "" for p in paths]
    if not re.fullmatch(r"state=stopped mode=\w+ task=\w+\r\n", files[0]) or "не на паузе" not in files[1]:
        failures.append(f"console: the redirected answers in the files: {files!r}")
    fx.spawn([WINE, "wineconsole", "cmd", "/k", "zindrel.exe --in 90"], "console-window", env=prefix.env, cwd=folder)
    armed = fx.wait_window("Zindrel - заведён", timeout=60)
    window = wait_until(lambda: (fx.find_windows(r"cmd\.exe$") or [None])[0], 20, what="the console window")
    time.sleep(1.5)
    fx.x("xdotool", "windowactivate", "--sync", str(window), "key", "alt+F4")
    wait_until(lambda: not fx.find_windows(r"cmd\.exe$"), 15, what="the console window to close")
    time.sleep(3)
    code, out = later_start(prefix, folder, "--status")
    if armed not in fx.find_windows("^Zindrel - заведён$") or code != 0:
        failures.append(f"console: after the console closed, --status exited {code} and printed {out!r}")
    later_start(prefix, folder, "--quit")


def traced(program, call):
    """The argument lists of the relayed calls of one function, in order."""
    lines = [line for line in program.output().splitlines() if "Call " in line and f".{call}(" in line]
    return [line.split(f".{call}(", 1)[1].split(")", 1)[0] for line in lines]


def low(argument):
    """The low 32 bits of a relayed argument (a BOOL or a DWORD)."""
    return int(argument, 16) & 0xFFFFFFFF


def sleep_hold(fx, prefix, failures):
    # The window stays up when armed, so its buttons can be clicked.
    folder = program_folder(fx, "sleephold", "[main]\ntray_hide=1\n")
    program, window = start(fx, prefix, folder, "sleephold", relay=True)
    # SetWaitableTimer(timer, due, period, routine, argument, fResume): the clock's own timers never resume.
    # Wine 10's relay prints a 32-bit argument with whatever its 64-bit register held above it.
    resumes = lambda: [a for a in traced(program, "SetWaitableTimer") if low(a.split(",")[-1]) == 1]  # noqa: E731
    # Wine 8's PowerCreateRequest is a stub that fails; the program then holds through SetThreadExecutionState
    # (ES_CONTINUOUS | ES_SYSTEM_REQUIRED), and lets go with ES_CONTINUOUS alone.
    states = lambda flags: [a for a in traced(program, "SetThreadExecutionState") if low(a) == flags]  # noqa: E731
    requested = lambda: traced(program, "PowerCreateRequest") and (  # noqa: E731
        traced(program, "PowerSetRequest") or states(0x80000001))
    cleared = lambda: traced(program, "PowerClearRequest") or states(0x80000000)  # noqa: E731
    # Armed by clicks, not through the quick menu: under the relay trace wine is slow enough that keys meant for a
    # pop-up menu can reach the window before the menu does, and the menu then left open takes the next click.
    steps = [(lambda: (window.choose_countdown(), window.arm()), requested, "Zindrel - заведён",
              "PowerCreateRequest, then PowerSetRequest or the system-required execution state, at arming"),
             (lambda: click(fx, window.id, MAIN_SIZE, *CANCEL), cleared, "Zindrel - остановлен",
              "PowerClearRequest or the plain continuous execution state at the cancel"),
             (lambda: (click(fx, window.id, MAIN_SIZE, *ALARM_RADIO), window.arm()), resumes, "Zindrel - заведён",
              "SetWaitableTimer with fResume true for the alarm clock")]
    for act, seen, caption, what in steps:
        act()
        try:
            # The call and the caption both: the next click is made only once the window shows what this one did.
            wait_until(lambda: seen() and window.title() == caption, 15, what=f"{what}, and the caption {caption!r}")
        except TimeoutError as e:
            fx.screenshot("wine-sleephold-failure")
            failures.append(f"sleep hold: {e}")
            return


def msiexec(prefix, *args):
    """msiexec without its user interface; returns its exit code, with the prefix's wineserver ended so that the
    registry files on disk say what it did."""
    quiet = dict(prefix.env)
    quiet.pop("DISPLAY", None)
    code = subprocess.run([WINE, "msiexec", *args, "/qn"], env=quiet, capture_output=True, timeout=180).returncode
    prefix.stop()
    return code


def install(fx, prefix, failures):
    msi, next_msi = os.environ["ZINDREL_MSI"], os.environ["ZINDREL_NEXT_MSI"]
    if not os.path.isfile(msi) or not os.path.isfile(next_msi):
        failures.append(f"installer: no MSI at {msi} or {next_msi} (scripts/windows.sh exe makes the first)")
        return
    failures.extend(f"installer tables: {p}" for p in
                    installer.table_problems(msi, os.environ["ZINDREL_VERSION"], os.environ["ZINDREL_PUBLISHER"]))
    folder = installer.program_folder(prefix.path)
    shortcut = installer.start_menu_shortcut(prefix.path)
    if folder is None:
        failures.append(f"installer: the prefix has not one user profile: {os.listdir(prefix.path)}")
        return

    def entries(version):
        found = installer.installed_entries(prefix.path)
        if len(found) != 1 or found[0].get("DisplayVersion") != version or \
                found[0].get("Publisher") != os.environ["ZINDREL_PUBLISHER"] or \
                not found[0].get("UninstallString", "").startswith("MsiExec.exe /X{"):
            failures.append(f"installer: not one installed-programs entry of version {version}: {found}")

    if msiexec(prefix, "/i", installer.windows_path(msi)) != 0:
        failures.append("installer: msiexec /i failed")
        return
    if not os.path.isfile(os.path.join(folder, "zindrel.exe")):
        failures.append(f"installer: no zindrel.exe in {folder}")
        return
    if not os.path.isfile(shortcut) or b"zindrel.exe" not in open(shortcut, "rb").read().replace(b"\0", b""):
        failures.append(f"installer: no Start menu shortcut to zindrel.exe at {shortcut}")
    entries(os.environ["ZINDREL_VERSION"])
    icon = installer.product_icon(prefix.path)
    if icon is None or not os.path.isfile(icon):
        failures.append(f"installer: the installed-programs entry has no icon file: {icon}")
    first_start(fx, prefix, failures, folder, "installed")
    prefix.stop()

    if msiexec(prefix, "/i", installer.windows_path(next_msi)) != 0:
        failures.append("installer: msiexec /i of the newer version failed")
    entries("99.0.0.0")
    if "[window_main]" not in (settings_text(folder) or ""):
        failures.append(f"installer: the upgrade lost the settings file: {sorted(os.listdir(folder))}")

    if msiexec(prefix, "/x", installer.windows_path(next_msi)) != 0:
        failures.append("installer: msiexec /x failed")
    left = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
    if left != [os.path.basename(settings_path(folder))]:
        failures.append(f"installer: the uninstall left {left} in {folder}, not the settings file alone")
    if os.path.exists(shortcut) or installer.installed_entries(prefix.path):
        failures.append(f"installer: the uninstall left the shortcut or the entry: "
                        f"{os.path.exists(shortcut)}, {installer.installed_entries(prefix.path)}")


def main():
    exe = os.environ.get("ZINDREL_EXE")
    if not exe or not os.path.exists(exe):
        print(f"FAIL: ZINDREL_EXE is not a built zindrel.exe: {exe!r}", file=sys.stderr)
        return 1
    if not os.path.exists(WINE) or not shutil.which("faketime"):
        skip("wine64 or faketime is not installed")
    failures = []
    with Fixture("wine", buses=False, wm=True) as fx:
        prefix = WinePrefix(fx)
        try:
            for journey in (first_start, quick_menu, power_off, warning, settings_apply, commands, console,
                            sleep_hold, install):
                started = time.monotonic()
                before = len(failures)
                try:
                    journey(fx, prefix, failures)
                except TimeoutError as e:
                    failures.append(f"{journey.__name__}: {e}")
                prefix.stop()
                verdict = "ok" if len(failures) == before else "FAILED"
                print(f"wine journey {journey.__name__}: {verdict} ({time.monotonic() - started:.0f} s)", file=sys.stderr)
        finally:
            prefix.stop()
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
