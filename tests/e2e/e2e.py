#!/usr/bin/python3
"""The built program driven as a user drives it, through the accessibility bus: e2e.py PROGRAM
DEMO_TOOL ARTIFACTS, run by run.sh under Xvfb with a window manager and a D-Bus session."""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

program, demo_tool, artifacts = sys.argv[1:4]
os.makedirs(artifacts, exist_ok=True)
# A home and XDG folders of its own, to see that the program writes nothing into them.
HOME = tempfile.mkdtemp()
ENV = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", HOME=HOME,
           **{f"XDG_{k}_HOME": f"{HOME}/{k}" for k in ("CONFIG", "CACHE", "DATA", "STATE")})
passed = failed = 0


def check(condition, what):
    global passed, failed
    passed, failed = passed + bool(condition), failed + (not condition)
    if not condition:
        print(f"FAILED: {what}", flush=True)


def wait_for(probe, what, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = probe()
        except Exception:  # the tree changes under us while windows come and go
            found = None
        if found:
            return found
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for {what}")


def app():
    return next(a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "Lopwinder")


def find(node, role, name=None):
    """The first node below node (depth first) with this role and, if given, this name."""
    if node.getRoleName() == role and name in (None, node.name):
        return node
    return next((f for c in node if c and (f := find(c, role, name))), None)


def window(name):
    return wait_for(lambda: next(w for w in app() if w and w.name == name), name)


def press(node, button):
    action = wait_for(lambda: find(node, "push button", button), button).queryAction()
    action.doAction(next(i for i in range(action.nActions) if action.getName(i) == "Press"))


def message_box(after=None):
    """The open message box's window and text; after: the text of a box just answered, which
    may linger in the tree for a moment."""
    def probe():
        for w in app():
            text = " ".join(c.name for c in w if c and c.getRoleName() == "label" and c.name)
            if w and w.name == "Lopwinder" and text and text != after:
                return w, text
    return wait_for(probe, "a message box")


def start(rom_path):
    pyatspi.Registry.getDesktop(0)  # the registry must be up before the program looks for it
    process = subprocess.Popen([program], env=ENV, stderr=subprocess.DEVNULL)
    dialog = window("Select a ROM...")
    check(find(dialog, "combo box", "ROM Files (*.bin)"), "the Open dialog's one filter")
    wait_for(lambda: find(dialog, "text", "File name:"), "the file name field") \
        .queryEditableText().setTextContents(rom_path)
    press(dialog, "Open")
    return process


def ended(process):
    try:
        return process.wait(timeout=15) is not None
    except subprocess.TimeoutExpired:
        process.kill()
        return False


with tempfile.TemporaryDirectory() as folder:
    rom = os.path.join(folder, "my rom.bin")
    subprocess.run([demo_tool, "Zoomlet 2", rom], check=True, stdout=subprocess.DEVNULL)
    original = open(rom, "rb").read()
    process = start(rom)
    main = window("Lopwinder - Zoomlet 2")
    lists = wait_for(lambda: [c for c in main if c.getRoleName() == "combo box"][:27], "lists")
    check(lists[0].name.startswith("09: "), f"slot 1 shows its track, got {lists[0].name!r}")
    subprocess.run(["import", "-window", "root", f"{artifacts}/main-window.png"], check=False)

    # Slot 1 to the next entry with the mouse and the keyboard, then save.
    x, y, width, height = lists[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(x + width // 2, y + height // 2, "b1c")
    wait_for(lambda: lists[0][0].getState().contains(pyatspi.STATE_SHOWING), "the open list")
    time.sleep(0.2)
    for keysym in (0xFF54, 0xFF0D):  # Down, Return
        pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
        time.sleep(0.1)
    wait_for(lambda: lists[0].name.startswith("0A: "), "slot 1 on 0A", seconds=5)
    press(main, "Save Changes")
    box, text = message_box()
    check(text == "File saved successfully.", f"the save message, got {text!r}")
    press(box, "OK")
    changed = bytearray(original)
    changed[0x3E6AE] = 0x0A
    check(open(rom, "rb").read() == bytes(changed), "the file holds the new track ID only")

    # The About box: the main window takes nothing, not even the window manager's close.
    press(main, "About...")
    about = window("About Lopwinder")
    check(not main.getState().contains(pyatspi.STATE_SENSITIVE), "main window disabled")
    subprocess.run(["wmctrl", "-c", "Lopwinder - Zoomlet 2"], check=False)
    time.sleep(0.5)
    check(process.poll() is None and main.getState().contains(pyatspi.STATE_SHOWING),
          "the main window stays under the About box")
    subprocess.run(["import", "-window", "root", f"{artifacts}/about-box.png"], check=False)
    press(about, "OK")
    wait_for(lambda: main.getState().contains(pyatspi.STATE_SENSITIVE), "main window enabled")

    # Reset: Yes writes the factory order back and ends the program.
    press(main, "Reset ROM to Defaults")
    box, asked = message_box()
    press(box, "Yes")
    box, text = message_box(after=asked)
    check(text == "ROM has been set to default values. Now quitting application.", text)
    press(box, "OK")
    check(ended(process) and open(rom, "rb").read() == original, "reset and ended")

    # A refusal ends the program and leaves the file as it was.
    other = os.path.join(folder, "dump.smd")
    subprocess.run([demo_tool, "Zoomlet 2", other], check=True, stdout=subprocess.DEVNULL)
    process = start(other)
    box, text = message_box()
    check(text.startswith("This ROM is either not a Mega Drive Zoomlet ROM"), text)
    press(box, "OK")
    check(ended(process) and open(other, "rb").read() == original, "refused, untouched, ended")
    check(sorted(os.listdir(folder)) == ["dump.smd", "my rom.bin"], "no file beside the ROM")

written = [os.path.join(d, f) for d, _, files in os.walk(HOME) for f in files]
check(not written, f"no file in the home or XDG folders, found {written}")
print(f"e2e: {passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
