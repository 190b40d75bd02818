#!/usr/bin/python3
"""End-to-end test of the built program as a user drives it, through the accessibility bus.

Run by tests/e2e/run.sh under Xvfb and a private D-Bus session: e2e.py PROGRAM DEMO_TOOL ARTIFACTS.
It types paths into the real Open dialog, reads the window title, the slot lists and the message
boxes, changes slots with the keyboard, presses the buttons, checks the file's bytes, and takes
screenshots of the main window and the About box.
"""
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
           **{f"XDG_{k}_HOME": os.path.join(HOME, k.lower()) for k in ("CONFIG", "CACHE", "DATA",
                                                                      "STATE")})
Z2_TABLE = 0x3E6AE
Z2_FACTORY = bytes.fromhex("0905222404311E0F2A13271B0E022E340C1217031D2F2C28010D30")
passed = failed = 0


def check(condition, what):
    global passed, failed
    if condition:
        passed += 1
    else:
        failed += 1
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


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Lopwinder":
            return app
    return None


def find(node, role, name=None):
    """The first node below node (depth first) with this role and, if given, this name."""
    if node is None:
        return None
    if node.getRoleName() == role and (name is None or node.name == name):
        return node
    for child in node:
        found = find(child, role, name)
        if found is not None:
            return found
    return None


def window(name):
    return wait_for(lambda: next(w for w in application() if w is not None and w.name == name),
                    f"the window {name!r}")


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "Press":
            action.doAction(i)
            return
    raise AssertionError(f"{node.name!r} cannot be pressed")


def box_text(box):
    labels = [child.name for child in box if child is not None and child.getRoleName() == "label"]
    return " ".join(label for label in labels if label)


def message_box(after=None):
    """The open message box (a dialog titled Lopwinder) and its text; after: the text of the box
    just answered, which may linger in the tree for a moment."""
    def probe():
        for w in application():
            if w is not None and w.name == "Lopwinder" and box_text(w) and box_text(w) != after:
                return w, box_text(w)
        return None
    return wait_for(probe, "a message box")


def answer(box, button):
    press(wait_for(lambda: find(box, "push button", button), f"the {button} button"))


def start(rom_path):
    pyatspi.Registry.getDesktop(0)  # the registry must be up before the program looks for it
    process = subprocess.Popen([program], env=ENV, stderr=subprocess.DEVNULL)
    wait_for(lambda: application() and application().childCount, "the program on the bus")
    dialog = window("Select a ROM...")
    name = wait_for(lambda: find(dialog, "text", "File name:"), "the file name field")
    name.queryEditableText().setTextContents(rom_path)
    press(find(dialog, "push button", "Open"))
    return process


def slot_lists(main):
    return [c for c in main if c is not None and c.getRoleName() == "combo box"]


def screenshot(name):
    subprocess.run(["import", "-window", "root", os.path.join(artifacts, name)], check=False)


def choose_next(node):
    """Picks the entry after the current one, as a user would: click the list open, press Down,
    then Return."""
    before = node.name
    popup = node[0]
    x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(x + width // 2, y + height // 2, "b1c")
    wait_for(lambda: popup.getState().contains(pyatspi.STATE_SHOWING), "the open list")
    time.sleep(0.2)
    for keysym in (0xFF54, 0xFF0D):  # Down, Return
        pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
        time.sleep(0.1)
    wait_for(lambda: node.name != before, "the list to show its new entry", seconds=5)


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

    # Start-up, reading the window and its lists.
    process = start(rom)
    main = window("Lopwinder - Zoomlet 2")
    lists = wait_for(lambda: len(slot_lists(main)) == 27 and slot_lists(main), "27 slot lists")
    check([l.description for l in lists] == [f"Level Slot {n}" for n in range(1, 28)],
          "the lists describe their slots in order")
    check([l.name[:2] for l in lists] == [f"{b:02X}" for b in Z2_FACTORY],
          "each list shows the track its slot holds")
    screenshot("main-window.png")

    # Change slots 1 and 3 with the keyboard, then save.
    for index in (0, 2):
        choose_next(lists[index])
    check(lists[0].name.startswith("0A: "), f"slot 1 moved to 0A, shows {lists[0].name!r}")
    check(lists[2].name.startswith("23: "), f"slot 3 moved to 23, shows {lists[2].name!r}")
    press(find(main, "push button", "Save Changes"))
    box, text = message_box()
    check(text == "File saved successfully.", f"the save message, got {text!r}")
    answer(box, "OK")
    expected = bytearray(original)
    expected[Z2_TABLE] = 0x0A
    expected[Z2_TABLE + 2] = 0x23
    check(open(rom, "rb").read() == bytes(expected), "the file holds the two new track IDs only")

    # The About box, then Reset: No keeps everything, Yes writes the factory order and ends.
    press(find(main, "push button", "About..."))
    about = window("About Lopwinder")
    check(find(about, "label", "Lopwinder, v1.10") is not None, "the About box's title label")
    check(not main.getState().contains(pyatspi.STATE_SENSITIVE),
          "the main window is disabled under the About box")
    subprocess.run(["wmctrl", "-c", "Lopwinder - Zoomlet 2"], check=False)
    time.sleep(0.5)
    check(process.poll() is None and main.getState().contains(pyatspi.STATE_SHOWING),
          "the main window ignores the window manager's close under the About box")
    time.sleep(0.3)
    screenshot("about-box.png")
    press(find(about, "push button", "OK"))
    wait_for(lambda: main.getState().contains(pyatspi.STATE_SENSITIVE), "the main window enabled")

    press(find(main, "push button", "Reset ROM to Defaults"))
    box, text = message_box()
    check(text == "Really reset ROM?", f"the reset question, got {text!r}")
    answer(box, "No")
    time.sleep(0.3)
    check(open(rom, "rb").read() == bytes(expected) and process.poll() is None,
          "No changes nothing and the program goes on")
    press(find(main, "push button", "Reset ROM to Defaults"))
    box, asked = message_box()
    answer(box, "Yes")
    box, text = message_box(after=asked)
    check(text == "ROM has been set to default values. Now quitting application.",
          f"the reset message, got {text!r}")
    answer(box, "OK")
    check(ended(process), "the program ends after the reset")
    check(open(rom, "rb").read() == original, "the factory order is back")

    # A refusal: an image of another game ends the program with its message, untouched.
    other = os.path.join(folder, "interleaved dump.smd")
    subprocess.run([demo_tool, "Zoomlet 2", other], check=True, stdout=subprocess.DEVNULL)
    before = open(other, "rb").read()
    process = start(other)
    box, text = message_box()
    check(text.startswith("This ROM is either not a Mega Drive Zoomlet ROM"),
          f"the refusal, got {text!r}")
    answer(box, "OK")
    check(ended(process), "the program ends after the refusal")
    check(open(other, "rb").read() == before, "the refused file is untouched")
    check(sorted(os.listdir(folder)) == ["interleaved dump.smd", "my rom.bin"],
          f"no file beside the ROM, found {sorted(os.listdir(folder))}")

written = [os.path.join(d, f) for d, _, files in os.walk(HOME) for f in files]
check(not written, f"no file in the home or XDG folders, found {written}")

print(f"e2e: {passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
