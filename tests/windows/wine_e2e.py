#!/usr/bin/python3
"""lopwinder.exe under Wine, driven as a user would with xdotool: wine_e2e.py EXE DEMO_TOOL FOLDER.
Run by scripts/windows-check.sh inside xvfb-run with WINEPREFIX set; screenshots go to FOLDER."""
import os
import subprocess
import sys
import tempfile
import time

exe, demo_tool, folder = sys.argv[1:4]
passed = failed = 0


def check(condition, what):
    global passed, failed
    passed, failed = passed + bool(condition), failed + (not condition)
    if not condition:
        print(f"FAILED: {what}", flush=True)


def xdo(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.split()


def window(name, seconds=60):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = xdo("search", "--onlyvisible", "--name", f"^{name}$")
        if found:
            time.sleep(0.5)  # let it paint
            return found[-1]
        time.sleep(0.2)
    raise AssertionError(f"timed out waiting for the window {name!r}")


def click(win, x, y):
    """A click at (x, y) in the window's client area."""
    xdo("mousemove", "--window", win, str(x), str(y), "click", "1")
    time.sleep(0.3)


def keys(win, *names):
    """Keys typed into the window, as the keyboard sends them: Wine ignores synthetic events."""
    xdo("windowactivate", "--sync", win)
    for name in names:
        xdo("key", name)
        time.sleep(0.2)


def shot(win, name):
    subprocess.run(["import", "-window", win, os.path.join(folder, name)], check=False)


work = tempfile.mkdtemp()
rom = os.path.join(work, "my rom.bin")
subprocess.run([demo_tool, "Zoomlet 96", rom], check=True, stdout=subprocess.DEVNULL)
original = open(rom, "rb").read()
env = dict(os.environ, WINEDEBUG="-all")
wine = "wine64" if subprocess.run(["which", "wine64"], capture_output=True).returncode == 0 \
    else "/usr/lib/wine/wine64"
process = subprocess.Popen([wine, exe], env=env, stderr=subprocess.DEVNULL)
dialog = window("Select a ROM...")
keys(dialog)
xdo("type", "--delay", "20", "Z:" + rom.replace("/", "\\"))
keys(dialog, "Return")
main = window("Lopwinder - Zoomlet 96")
shot(main, "main-window.png")

# Slot 1 down by one entry with the keyboard (the first list has the focus), then Save.
keys(main, "Down")
click(main, 184 + 140, 512 + 24)
keys(window("Lopwinder"), "Return")
changed = bytearray(original)
changed[0x452C5] = 0x03  # the entry after 02 in the Zoomlet 96 catalogue
time.sleep(0.5)
check(open(rom, "rb").read() == bytes(changed), "Save wrote the one new track ID and nothing else")

click(main, 928 + 32, 1 + 12)
about = window("About Lopwinder")
shot(about, "about-box.png")
click(about, 292 + 41, 205 + 11)  # System Info: Wine has no MSINFO keys, so the message
keys(window("Lopwinder"), "Return")
keys(about, "Escape")
time.sleep(0.5)
check(not xdo("search", "--onlyvisible", "--name", "^About Lopwinder$"), "Escape closes About")

click(main, 536 + 140, 512 + 24)
keys(window("Lopwinder"), "Return")  # Yes is the default button
time.sleep(1)
keys(window("Lopwinder"), "Return")
try:
    ended = process.wait(timeout=20) is not None
except subprocess.TimeoutExpired:
    ended = process.kill() or False
check(ended, "the program ends after Reset")
check(open(rom, "rb").read() == original, "Reset wrote the factory order back")
check(os.listdir(work) == ["my rom.bin"], f"no other file beside the ROM: {os.listdir(work)}")
settings = subprocess.run([wine, "reg", "query", r"HKCU\Software\QtProject"], env=env,
                          capture_output=True).returncode
check(settings != 0, "no settings in the registry")
print(f"wine e2e: {passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
