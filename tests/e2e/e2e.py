#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""The built program driven as a user drives it, with real keys and clicks (xdotool's XTEST: Wine
ignores synthetic events): e2e.py PROGRAM DEMO_TOOL ARTIFACTS. A PROGRAM ending in .exe runs under
Wine. run.sh runs it under Xvfb with a window manager."""
import os
import re
import shutil
import subprocess
import tempfile
import time

from common import artifacts, check, ended, environment, finish, folder, original, program, rom, saved

wine = program.endswith(".exe")
# Under Wine, unpacked into a folder whose name code page 1252 (Wine's here) cannot write; Wine's
# trace of MCI (its commands as it received them) goes to TRACE.
# Natively, no system information program on its PATH, so that System Info shows its box.
ENV = dict(environment("xcb"), **({"WINEDEBUG": "trace+mci"} if wine else {"PATH": "/nonexistent"}))
unpacked = os.path.join(os.path.abspath(artifacts), "\u0414\u043c\u0438\u0442\u0440\u0438\u0439 \u901f\u3044")
for name in ("lopwinder.exe", "supplimentary.dat") if wine else ():
    os.makedirs(unpacked, exist_ok=True)
    shutil.copy(os.path.join(os.path.dirname(program), name), unpacked)
COMMAND = [os.environ["LOPWINDER_WINE"], os.path.join(unpacked, "lopwinder.exe")] if wine else [program]
TRACE = os.path.join(artifacts, "wine-mci-trace.txt")


def run(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout


def xdo(*args):
    return run("xdotool", *args).split()


def until(condition, seconds=30):
    """condition()'s value once it holds, asked every 0.1 seconds; its last value after the time."""
    deadline = time.monotonic() + seconds
    while not (held := condition()) and time.monotonic() < deadline:
        time.sleep(0.1)
    return held


def shown(title):
    return xdo("search", "--onlyvisible", "--name", f"^{title}$")


def window(title, other_than=None, seconds=60):
    """The id of the window shown with this title (not other_than), or None after the time."""
    found = until(lambda: [w for w in shown(title) if w != other_than], seconds)
    if not found:  # what the screen showed instead
        run("import", "-window", "root", os.path.join(artifacts, re.sub(r"\W", "-", title) + "-missing.png"))
    return found[-1] if found else None


def gone(title):
    return until(lambda: not shown(title))


def barrier():
    """Returns once the window manager has handled every request sent before: one of its own that
    changes what the root window shows (the number of desktops, between 2 and 3), seen done."""
    desktops = lambda: len(run("wmctrl", "-d").splitlines())
    target = 3 if desktops() == 2 else 2
    run("wmctrl", "-n", str(target))
    until(lambda: desktops() == target) or check(False, "the window manager answers")


def still(win):
    """The window as shown once it has painted: two grabs in a row the same."""
    grabs = [b""]
    grab = lambda: subprocess.run(["import", "-window", win, "png:-"], capture_output=True).stdout
    until(lambda: grabs.append(grab()) or grabs[-1] == grabs[-2] != b"")
    return grabs[-1]


def screenshot(win, path):
    open(path, "wb").write(still(win))


def click(win, x, y):  # in the window's client area
    xdo("mousemove", "--window", win, str(x), str(y), "click", "1")


def keys(win, *names):
    """The keys, once the window has the focus."""
    xdo("windowactivate", "--sync", win)
    until(lambda: xdo("getactivewindow") == [win]) or check(False, f"window {win} has the focus")
    for name in names:
        xdo("key", name)


def above(box, main, what):
    """Clicks the main window beside the box, then checks the window manager's stacking order."""
    click(main, 20, 560)
    barrier()
    stacking = run("xprop", "-root", "_NET_CLIENT_LIST_STACKING")
    order = [int(w, 16) for w in re.findall(r"0x[0-9a-fA-F]+", stacking)]  # bottom first
    check(int(box) in order and int(main) in order and order.index(int(box)) > order.index(int(main)),
          f"the {what} is still above the main window after a click on it")


def owner(win):
    """The window that win's window manager keeps it above (WM_TRANSIENT_FOR), or None."""
    found = re.findall(r"window id # (0x[0-9a-fA-F]+)", run("xprop", "-id", win, "WM_TRANSIENT_FOR"))
    return int(found[0], 16) if found else None


def active(win):
    return until(lambda: xdo("getactivewindow") == [win])


def wine_text(text):
    """text as Wine's trace writes a wide string: backslash and quote escaped, others as \\XXXX."""
    return "".join("\\" + c if c in '\\"' else f"\\{ord(c):04x}" if ord(c) > 127 else c
                   for c in text)


def start(rom):
    process = subprocess.Popen(COMMAND, env=ENV, stderr=open(TRACE, "a") if wine else subprocess.DEVNULL)
    dialog = window(r"Select a ROM\.\.\.")
    still(dialog)  # the folder listed: what the dialog does then no longer meets the typing
    keys(dialog)
    xdo("type", "--delay", "20", "Z:" + rom.replace("/", "\\") if wine else rom)
    still(dialog)  # the name typed, and its completion shown
    keys(dialog, "Return")
    return process


process = start(rom)
main = window("Lopwinder - Zoomlet 96")
screenshot(main, f"{artifacts}/main-window.png")
if not wine:  # GNOME and Plasma find the desktop entry, and its icon, by these
    named = run("xprop", "-id", main, "_GTK_APPLICATION_ID", "_KDE_NET_WM_DESKTOP_FILE")
    check(named.count('= "net.lopwinder.Lopwinder"') == 2, f"the main window names its entry: {named}")

# Slot 1 (it has the focus) one entry down, then Save; its message stays above the main window.
keys(main, "Down")
click(main, 184 + 140, 512 + 24)
box = window("Lopwinder")
above(box, main, "message box")
keys(box, "Return")
check(until(lambda: open(rom, "rb").read() == bytes(saved)) and gone("Lopwinder"),
      "Save wrote the one new track ID and nothing else, its message closed")

# The About box: the window manager cannot close the main window under it; Escape closes the box.
click(main, 928 + 32, 1 + 12)
about = window("About Lopwinder")
screenshot(about, f"{artifacts}/about-box.png")
above(about, main, "About box")
if not wine:  # where Windows itself hands the keyboard on, and Wine its own way
    # Minimised (openbox minimises the main window with it), the box comes back with the main
    # window brought back from the task list, and takes the keyboard from it.
    xdo("windowminimize", "--sync", about)
    xdo("windowactivate", main)
    check(active(about) and shown("About Lopwinder"),
          "a minimised About box comes back with the main window")
# System Info's box belongs to the About box, the window the user clicked in.
click(about, 292 + 41, 205 + 11)
sysinfo = window("Lopwinder")
held = owner(sysinfo)
check(held == int(about), f"System Info's box belongs to the About box (its owner: {held})")
keys(sysinfo, "Return")
gone("Lopwinder")
active(about)
if wine:  # the music's open command, as Wine's trace writes it: the file's whole path, quoted
    path = wine_text(f'"Z:{unpacked}\\supplimentary.dat"'.replace("/", "\\"))
    command = f'mciSendStringW (L"open {path} type sequencer alias midwhee"'.lower()
    check(until(lambda: command in open(TRACE, errors="replace").read().lower()),
          f"the music's open command names the file: {command}")
# The close reaches the program before the Escape: the window manager sends it on at once, and
# the barrier shows it has handled it.
subprocess.run(["wmctrl", "-c", "Lopwinder - Zoomlet 96"], check=False)
barrier()
click(main, 20, 560)  # the keyboard stays with the box: Escape, typed at once, closes it
active(about)
xdo("key", "Escape")
check(gone("About Lopwinder"), "Escape after a click on the main window closes the About box")
check(shown("Lopwinder - Zoomlet 96") and process.poll() is None, "main window kept")

# Reset: Yes (the default button) writes the factory order back, then the program ends.
click(main, 536 + 140, 512 + 24)
question = window("Lopwinder")
keys(question, "Return")
keys(window("Lopwinder", question), "Return")
check(ended(process) and open(rom, "rb").read() == original, "reset to the factory order, ended")

# Refusals, a typed name that does not exist among them, end it and leave the file as it was.
shutil.copyfile(rom, os.path.join(folder, "dump.smd"))
for name in ("dump.smd", "missing.bin"):
    process = start(os.path.join(folder, name))
    keys(window("Lopwinder"), "Return")
    check(ended(process), f"{name} refused, ended")
check(open(os.path.join(folder, "dump.smd"), "rb").read() == original, "refused file untouched")
check(sorted(os.listdir(folder)) == ["dump.smd", "my rom.bin"], "no file beside the ROM")

# A ROM about 300 characters deep opens and saves; closing the window ends the program. Not under
# Wine, whose Open dialogs (both kinds) crash on such a path; the Windows layer check covers it.
if not wine:
    deep = os.path.join(tempfile.mkdtemp(), *[f"folder {i} of a deep tree" for i in range(11)],
                        "r.bin")
    os.makedirs(os.path.dirname(deep))
    shutil.copyfile(rom, deep)
    process = start(deep)
    keys(window("Lopwinder - Zoomlet 96"), "Down")
    click(window("Lopwinder - Zoomlet 96"), 184 + 140, 512 + 24)
    keys(window("Lopwinder"), "Return")
    gone("Lopwinder")
    subprocess.run(["wmctrl", "-c", "Lopwinder - Zoomlet 96"], check=False)
    check(ended(process) and open(deep, "rb").read() == bytes(saved), f"{len(deep)} characters deep")

# The looks it meets on Windows, Wine's settings standing in: the style Qt picks (told by a program
# linked as this one is), and the main window and the About box, shot; at 150 % both scale whole.
sizes = {}
for look, version, light, dpi, picked in (("windows-10", "win10", 1, 96, "windowsvista, light"),
                                          ("windows-11", "win11", 1, 96, "windows11, light"),
                                          ("windows-11-dark", "win11", 0, 96, "windows11, dark"),
                                          ("windows-11-150", "win11", 1, 144, "windows11, light")
                                          ) if wine else ():
    for key, name, value in ((r"HKCU\Software\Wine", "Version", version),
                             (r"HKCU\Control Panel\Desktop", "LogPixels", dpi),
                             (r"HKCC\Software\Fonts", "LogPixels", dpi),
                             (r"HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize",
                              "AppsUseLightTheme", light)):
        subprocess.run([COMMAND[0], "reg", "add", key, "/v", name, "/t", "REG_SZ" if name ==
                        "Version" else "REG_DWORD", "/d", str(value), "/f"], env=ENV, capture_output=True)
    subprocess.run([shutil.which("wineserver") or "/usr/lib/wine/wineserver64", "-w"], env=ENV)
    told = subprocess.run([COMMAND[0], os.path.join(os.path.dirname(program), "tests", "platform",
                          "style_report.exe")], env=ENV, capture_output=True, text=True).stdout
    check(told.strip().endswith(": " + picked), f"{look}: Qt picks {picked}; told: {told}")
    process = start(rom)
    for name, title in (("main-window", "Lopwinder - Zoomlet 96"), ("about-box", "About Lopwinder")):
        win = window(title)
        screenshot(win or "root", f"{artifacts}/{look}-{name}.png")
        found = re.findall(r"Geometry: (\d+)x(\d+)", " ".join(xdo("getwindowgeometry", win or "0")))
        sizes[name, dpi] = [int(n) for n in found[0]] if win and found else [0, 0]
        if dpi != 96:
            check(all(abs(n - m * 1.5) <= 1 for n, m in zip(sizes[name, dpi], sizes[name, 96])),
                  f"{look}: the {name} 1.5 times as large: {sizes[name, 96]}, {sizes[name, dpi]}")
        if name == "main-window":
            click(win, round(960 * dpi / 96), round(13 * dpi / 96))  # About...
    process.kill()
    process.wait()

if wine:
    settings = subprocess.run([COMMAND[0], "reg", "query", r"HKCU\Software\QtProject"], env=ENV,
                              capture_output=True).returncode
    check(settings != 0, "no settings in the registry")
finish("e2e", not wine)
