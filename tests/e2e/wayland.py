# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""The end-to-end journey's hands and eyes on Wayland, the program a native client of KWin, whose
X11 back end is the screen's one window: xdotool's keys and clicks reach it as a seat's. A Wayland
client cannot say where its windows are, so they are found on screenshots: the main window on the
empty desktop, a message box as what changed when it opened, the About box by its icon's teal.
Whatever frame KWin draws around them (none where no decoration is installed), it is as wide on
either side and below."""
import re
import subprocess
import time

W, H = 1280, 800
DESKTOP, TEAL = bytes.fromhex("000000"), bytes.fromhex("008080")  # KWin's, with no wallpaper; the icon's


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], capture_output=True)


def pixel(image, x, y):
    return image[(y * W + x) * 3:(y * W + x) * 3 + 3]


def extent(differs, skip=(0, 0)):
    """Around the longest run of rows (but skip's) with 60 or more pixels where differs(x, y): a
    window's rows, not the pointer's or a focus frame's. A frameless box over a window of its own
    colour differs only where it shows something: rows less than 30 apart are one run."""
    runs, run, gap = [], [], 0
    for y in range(H):
        xs = [] if skip[0] <= y < skip[1] else [x for x in range(W) if differs(x, y)]
        if len(xs) >= 60:
            run.append((y, xs[0], xs[-1]))
            gap = 0
        elif run and (gap := gap + 1) >= 30:
            runs, run = runs + [run], []
    best = max(runs + [run], key=lambda rows: rows[-1][0] - rows[0][0] if rows else -1)
    return best and (min(r[1] for r in best), best[0][0], max(r[2] for r in best) + 1, best[-1][0] + 1)


def teal(image):
    found = [m.start() // 3 for m in re.finditer(re.escape(TEAL), image) if m.start() % 3 == 0]
    return (found and (min(i % W for i in found), min(i // W for i in found))) or (0, 0), len(found)


class Desktop:
    wine = False

    def __init__(self, program, artifacts, environment, check):
        self.program, self.artifacts, self.check = program, artifacts, check
        # No frame of Qt's own: KWin draws a frame where a decoration is installed (none is here),
        # and Qt 6.8 draws one where KWin offers none, another size on each release.
        self.env = dict(environment("wayland"), QT_WAYLAND_DISABLE_WINDOWDECORATION="1")
        self.last = None  # the screen as last seen still

    def rest(self):
        """The pointer to the bottom right corner, out of the screenshots. KWin's pointer follows
        the X pointer's steps, stopped at the edges: pressed into two opposite corners, the two
        agree."""
        for x, y in ((1, 1), (0, 0), (W - 2, H - 2), (W - 1, H - 1)):
            xdo("mousemove", "--sync", x, y)

    def shot(self, name="last"):
        path = f"{self.artifacts}/wayland-{name}.png"
        subprocess.run(["import", "-window", "root", path], check=True)
        return subprocess.run(["convert", path, "rgb:-"], capture_output=True, check=True).stdout

    def settle(self, *previous, want=lambda image: True):
        """A screenshot once the screen differs from every previous one, shows what is wanted and
        holds still (two screenshots in a row the same); the last one after 30 seconds."""
        last, deadline = self.shot(), time.monotonic() + 30
        while time.monotonic() < deadline:
            now = self.shot()
            if now == last and now not in previous and want(now):
                break
            last = now
        self.last = now
        return now

    def screenshot(self, win, name):
        self.shot(name)

    def click(self, win, x, y):  # in the main window's own area
        xdo("mousemove", win["x"] + x, win["y"] + y, "click", 1)
        self.rest()

    def keys(self, win, *names):  # the keyboard goes where KWin gives it
        for name in names:
            xdo("key", name)

    def start(self, rom):
        self.rest()
        empty = self.settle(want=lambda image: pixel(image, W // 2, H // 2) == DESKTOP)
        process = subprocess.Popen([self.program], env=self.env, stderr=subprocess.DEVNULL)
        dialog = self.settle(empty)  # the Open dialog, its file name field focused
        self.check(dialog != empty, "the Open dialog shows")
        xdo("type", "--delay", 20, rom)
        xdo("key", "Return")
        return process

    def main(self):
        main = self.settle(self.last)
        frame = extent(lambda x, y: pixel(main, x, y) != DESKTOP)
        self.check(frame and frame[2] - frame[0] >= 1000, f"the main window shows at {frame}")
        self.border = frame and (frame[2] - frame[0] - 1000) // 2
        self.title = frame and (frame[1], frame[1] + 30)
        x, y = frame[0] + self.border, frame[3] - self.border - 575  # its own area: 1000 by 575
        self.top = y - frame[1]
        # Spots on the main window where no box opens.
        self.spots = [(x + a, y + b) for a, b in ((20, 560), (980, 560), (20, 20), (980, 80), (500, 470))]
        return {"x": x, "y": y}

    def box(self, title, other_than=None):
        """What opened: the About box where its icon shows, a message box where the screen changed
        from what it showed before (before other_than opened, if given)."""
        base = other_than["base"] if other_than else self.last
        image = self.settle(self.last, base)
        if title == "About Lopwinder":
            (x, y), icon = teal(image)
            self.check(icon, "the About box shows")
            rect = (x - 16 - self.border, y - 16 - self.top,
                    x - 16 + 382 + self.border, y - 16 + 237 + self.border)
            return {"rect": rect, "image": image, "base": base, "icon": icon}
        rect = extent(lambda x, y: pixel(base, x, y) != pixel(image, x, y), self.title)
        self.check(rect, f"{title}: a box shows")
        return {"rect": rect, "image": image, "base": base}

    def above(self, box, main, what):
        """Clicks the main window beside the box; what the box shows must still show."""
        rect, image = box["rect"] or (0, 0, 0, 0), box["image"]
        spot = next(p for p in self.spots if not (rect[0] - 5 <= p[0] < rect[2] + 5 and
                                                   rect[1] - 5 <= p[1] < rect[3] + 5))
        xdo("mousemove", *spot, "click", 1)
        self.rest()
        after = self.settle()
        rows = range(rect[1] + 30, rect[3])  # its own frame's title may turn grey
        same = sum(pixel(image, x, y) == pixel(after, x, y) for y in rows for x in range(rect[0], rect[2]))
        share = same / max(1, (rect[2] - rect[0]) * len(rows))
        self.check(share > 0.9, f"the {what} is still on top after a click on the main window ({share:.2f})")
        if "icon" in box:
            self.check(teal(after)[1] == box["icon"], "its icon is whole")

    def gone(self, box):
        if "icon" in box:
            return not teal(self.settle(want=lambda image: teal(image)[1] == 0))[1]
        return self.settle(box["image"]) != box["image"]

    def minimise_and_reach(self, about, main):
        """Minimised by KWin (as by its Minimise button), the About box comes back, at the latest
        with a click on the main window, which KWin gives the keyboard."""
        script = f"{self.artifacts}/minimise.js"
        open(script, "w").write("for (const w of workspace.windowList ? workspace.windowList()"
                                " : workspace.clientList())\n"  # KWin 6 : 5
                                "    if (w.caption === 'About Lopwinder') w.minimized = true;\n")
        for method, arg in (("loadScript", f"string:{script}"), ("start", None)):
            subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.kde.KWin",
                            "/Scripting", f"org.kde.kwin.Scripting.{method}", *filter(None, [arg])],
                           capture_output=True)
        xdo("mousemove", *self.spots[0], "click", 1)
        self.rest()
        back = self.settle(want=lambda image: teal(image)[1] == about["icon"])
        self.shot("about-box-back")
        return teal(back)[1] == about["icon"]

    def confirm(self, box):
        """KWin may still be handing the keyboard from a closed box to the main window when the
        next one opens, and then keeps it there (seen once in four runs on a loaded machine): the
        user clicks the box first."""
        rect = box["rect"]
        rect and xdo("mousemove", (rect[0] + rect[2]) // 2, rect[1] + 5, "click", 1)
        self.rest()
        xdo("key", "Return")
