# SPDX-License-Identifier: GPL-3.0-or-later
"""The per-user MSI as the journeys see it: its tables read with msiinfo, msiexec run in a private wine prefix, and
what msiexec left there (the program folder, the Start menu shortcut, the installed-programs entry) read back from
the prefix's folders and registry files."""

import glob
import os
import re
import subprocess
import tempfile

UNINSTALL_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
PRODUCTS_KEY = "Software\\Microsoft\\Installer\\Products\\"
# The Word Count's "no elevation" bit: the MSI installs without administrator rights.
NO_ELEVATION = 8


def table(msi, name):
    """One table of the MSI as a list of rows, each a dict by column name (msiinfo export: names, types, key)."""
    # The export writes a table's binary streams (the icon's) as files below the folder it runs in.
    with tempfile.TemporaryDirectory() as scratch:
        out = subprocess.run(["msiinfo", "export", os.path.abspath(msi), name], capture_output=True, text=True,
                             check=True, cwd=scratch).stdout
    lines = out.replace("\r", "").split("\n")
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def table_problems(msi, version, publisher):
    """What is missing or wrong in the MSI's tables, as readable lines; empty when it is as the installer means."""
    problems = []
    tables = subprocess.run(["msiinfo", "tables", msi], capture_output=True, text=True, check=True).stdout.split()
    for name in ("Shortcut", "Icon", "Upgrade", "Property", "Directory", "File"):
        if name not in tables:
            problems.append(f"no {name} table: {tables}")
    if problems:
        return problems
    properties = {row["Property"]: row["Value"] for row in table(msi, "Property")}
    wanted = {"ProductName": "Zindrel", "ProductVersion": version, "Manufacturer": publisher,
              "ARPPRODUCTICON": "zindrel.ico"}
    for name, value in wanted.items():
        if properties.get(name) != value:
            problems.append(f"Property {name} is {properties.get(name)!r}, not {value!r}")
    if "ALLUSERS" in properties:
        problems.append(f"ALLUSERS={properties['ALLUSERS']!r} makes the install per machine")
    shortcuts = [(r["Directory_"], r["Name"], r["Target"], r["Icon_"]) for r in table(msi, "Shortcut")]
    if shortcuts != [("ProgramMenuFolder", "Zindrel", "[INSTALLDIR]zindrel.exe", "zindrel.ico")]:
        problems.append(f"Shortcut: {shortcuts}")
    if [row["Name"] for row in table(msi, "Icon")] != ["zindrel.ico"]:
        problems.append(f"Icon: {table(msi, 'Icon')}")
    # The major upgrade: older versions of the one upgrade code are found and removed.
    older = [r for r in table(msi, "Upgrade") if r["ActionProperty"] == "WIX_UPGRADE_DETECTED"]
    if len(older) != 1 or older[0]["UpgradeCode"] != properties.get("UpgradeCode") or older[0]["VersionMax"] != version:
        problems.append(f"Upgrade: {table(msi, 'Upgrade')} for the upgrade code {properties.get('UpgradeCode')}")
    if not any(r["Action"] == "RemoveExistingProducts" for r in table(msi, "InstallExecuteSequence")):
        problems.append("InstallExecuteSequence has no RemoveExistingProducts")
    parents = {r["Directory"]: (r["Directory_Parent"], r["DefaultDir"]) for r in table(msi, "Directory")}
    chain = [parents.get("INSTALLDIR"), parents.get(parents.get("INSTALLDIR", ("",))[0])]
    if chain != [("UserPrograms", "Zindrel"), ("LocalAppDataFolder", "Programs")]:
        problems.append(f"the program folder is not %LOCALAPPDATA%\\Programs\\Zindrel: {chain}")
    summary = subprocess.run(["msiinfo", "suminfo", msi], capture_output=True, text=True, check=True).stdout
    word_count = re.search(r"^Source: (\d+)", summary, re.M)
    if not word_count or not int(word_count.group(1)) & NO_ELEVATION:
        problems.append(f"the summary does not say the install needs no elevation:\n{summary}")
    return problems


def windows_path(path):
    """The prefix's Z: drive path of a Unix path."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def user_folder(prefix_path, *parts):
    """A folder of the prefix's one user profile (wine names it after the Unix user)."""
    users = [u for u in glob.glob(os.path.join(prefix_path, "drive_c", "users", "*")) if not u.endswith("/Public")]
    return os.path.join(users[0], *parts) if len(users) == 1 else None


def program_folder(prefix_path):
    return user_folder(prefix_path, "AppData", "Local", "Programs", "Zindrel")


def start_menu_shortcut(prefix_path):
    start_menu = ("AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs")
    return user_folder(prefix_path, *start_menu, "Zindrel.lnk")


def registry_keys(prefix_path, under):
    """The keys below `under` in the prefix's registry files, each a dict of value name to its text as stored.

    Read with the prefix's wineserver ended: it writes the files when it exits."""
    keys = {}
    for name in ("system.reg", "user.reg"):
        values = None
        with open(os.path.join(prefix_path, name), encoding="utf-8", errors="replace") as f:
            for line in f:
                if line.startswith("["):
                    key = line[1:line.rindex("]")].replace("\\\\", "\\")
                    values = keys.setdefault(key, {}) if key.lower().startswith(under.lower()) else None
                elif values is not None:
                    found = re.match(r'"((?:[^"\\]|\\.)*)"=(?:str\(\d\):)?"?(.*?)"?$', line.rstrip("\n"))
                    if found:
                        values[found.group(1)] = found.group(2).replace("\\\\", "\\")
    return keys


def installed_entries(prefix_path):
    """The installed-programs entries named Zindrel (wine keeps a per-user install's entry under HKLM, Windows
    under HKCU: both files are read)."""
    return [v for k, v in registry_keys(prefix_path, UNINSTALL_KEY).items() if v.get("DisplayName") == "Zindrel"]


def product_icon(prefix_path):
    """The Unix path of the icon the installed-programs list shows for Zindrel, or None."""
    for values in registry_keys(prefix_path, PRODUCTS_KEY).values():
        if values.get("ProductName") == "Zindrel" and values.get("ProductIcon", "").startswith("C:\\"):
            return os.path.join(prefix_path, "drive_c", *values["ProductIcon"][3:].split("\\"))
    return None
