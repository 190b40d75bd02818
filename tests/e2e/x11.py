# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""The end-to-end journey's hands and eyes on X11 with a window manager (openbox), for the program
run natively or under Wine: windows found by their titles, real keys and clicks (xdotool's XTEST:
Wine ignores synthetic events), the stacking order and owners as the window manager keeps them."""
import os
import re
import shutil
import subprocess
import time


def run(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout


def xdo(*args):
    return run("xdotool", *map(str, args)).split()


def until(condition, seconds=30):
    """condition()'s value once it holds, asked again as soon as it answers (each asking is a tool
    run or a read); its last value after the deadline."""
    deadline = time.monotonic() + seconds
    while not (held := condition()) and time.monotonic() < deadline:
        pass
    return held


def shown(title):
    return xdo("search", "--onlyvisible", "--name", f"^{re.escape(title)}$")


class Desktop:
    def __init__(self, program, artifacts, environment, check):
        self.program, self.wine = program, program.endswith(".exe")
        self.artifacts, self.check = artifacts, check
        # Under Wine, unpacked into a folder whose name code page 1252 (Wine's here) cannot write;
        # Wine's trace of MCI (its commands as it received them) goes to trace. Natively, no system
        # information program on its PATH, so that System Info shows its box.
        self.env = dict(environment("xcb"),
                        **({"WINEDEBUG": "trace+mci"} if self.wine else {"PATH": "/nonexistent"}))
        self.unpacked = os.path.join(os.path.abspath(artifacts),
                                     "\u0414\u043c\u0438\u0442\u0440\u0438\u0439 \u901f\u3044")
        for name in ("lopwinder.exe", "supplimentary.dat") if self.wine else ():
            os.makedirs(self.unpacked, exist_ok=True)
            shutil.copy(os.path.join(os.path.dirname(program), name), self.unpacked)
        self.command = ([os.environ["LOPWINDER_WINE"], os.path.join(self.unpacked, "lopwinder.exe")]
                        if self.wine else [program])
        self.trace = os.path.join(artifacts, "wine-mci-trace.txt")

    def window(self, title, other_than=None, seconds=60):
        """The id of the window shown with this title (not other_than), or None after the time."""
        found = until(lambda: [w for w in shown(title) if w != other_than], seconds)
        if not found:  # what the screen showed instead
            run("import", "-window", "root",
                os.path.join(self.artifacts, re.sub(r"\W", "-", title) + "-missing.png"))
        return found[-1] if found else None

    def gone(self, win):
        return until(lambda: win not in xdo("search", "--onlyvisible", "--name", "."))

    def confirm(self, box):
        self.keys(box, "Return")

    def barrier(self):
        """Returns once the window manager has handled every request sent before: one of its own
        that changes what the root window shows (the number of desktops, 2 or 3), seen done."""
        desktops = lambda: len(run("wmctrl", "-d").splitlines())
        target = 3 if desktops() == 2 else 2
        run("wmctrl", "-n", str(target))
        until(lambda: desktops() == target) or self.check(False, "the window manager answers")

    def still(self, win):
        """The window as shown once it has painted: two grabs in a row the same."""
        grabs = [b""]
        grab = lambda: subprocess.run(["import", "-window", win, "png:-"], capture_output=True).stdout
        until(lambda: grabs.append(grab()) or grabs[-1] == grabs[-2] != b"")
        return grabs[-1]

    def screenshot(self, win, name):
        open(f"{self.artifacts}/{name}.png", "wb").write(self.still(win))

    def click(self, win, x, y):
        """In the window's client area, once the window shows still: a window just mapped or brought
        back from minimised may not take a click yet."""
        self.still(win)
        xdo("mousemove", "--window", win, x, y, "click", 1)

    def keys(self, win, *names):
        """The keys, once the window has the focus."""
        xdo("windowactivate", "--sync", win)
        self.active(win) or self.check(False, f"window {win} has the focus")
        for name in names:
            xdo("key", name)

    def active(self, win):
        return until(lambda: xdo("getactivewindow") == [win])

    def start(self, rom):
        process = subprocess.Popen(self.command, env=self.env,
                                   stderr=open(self.trace, "a") if self.wine else subprocess.DEVNULL)
        dialog = self.window("Select a ROM...")
        self.still(dialog)  # the folder listed: what the dialog does then no longer meets the typing
        self.keys(dialog)
        xdo("type", "--delay", 20, "Z:" + rom.replace("/", "\\") if self.wine else rom)
        self.still(dialog)  # the name typed, and its completion shown
        self.keys(dialog, "Return")
        return process

    def main(self):
        main = self.window("Lopwinder - Zoomlet 96")
        if main and not self.wine:  # GNOME and Plasma find the desktop entry, and its icon, by these
            named = run("xprop", "-id", main, "_GTK_APPLICATION_ID", "_KDE_NET_WM_DESKTOP_FILE")
            self.check(named.count('= "net.lopwinder.Lopwinder"') == 2,
                       f"the main window names its entry: {named}")
        return main

    def box(self, title, other_than=None):
        return self.window(title, other_than)

    def above(self, box, main, what):
        """Clicks the main window beside the box, then checks the window manager's stacking order."""
        self.click(main, 20, 560)
        self.barrier()
        stacking = run("xprop", "-root", "_NET_CLIENT_LIST_STACKING")
        order = [int(w, 16) for w in re.findall(r"0x[0-9a-fA-F]+", stacking)]  # bottom first
        self.check(int(box) in order and int(main) in order
                   and order.index(int(box)) > order.index(int(main)),
                   f"the {what} is still above the main window after a click on it")

    def minimise_and_reach(self, about, main):
        """Minimised (openbox minimises the main window with it), the box comes back with the main
        window brought back from the task list, and takes the keyboard from it."""
        xdo("windowminimize", "--sync", about)
        xdo("windowactivate", main)
        return self.active(about) and shown("About Lopwinder")

    def owner(self, win):
        """The window that win's window manager keeps it above (WM_TRANSIENT_FOR), or None."""
        found = re.findall(r"window id # (0x[0-9a-fA-F]+)", run("xprop", "-id", win, "WM_TRANSIENT_FOR"))
        return int(found[0], 16) if found else None

    def close(self, title):
        """The window manager's close, seen handled."""
        subprocess.run(["wmctrl", "-c", title], check=False)
        self.barrier()

    def reg(self, *args):
        return subprocess.run([self.command[0], "reg", *args], env=self.env, capture_output=True)


def looks(desktop, check, rom):
    """The looks the program meets on Windows, Wine's settings standing in: the style Qt picks
    (told by a program linked as this one is), and the main window and the About box, shot; at
    150 % both scale whole."""
    sizes = {}
    for look, version, light, dpi, picked in (("windows-10", "win10", 1, 96, "windowsvista, light"),
                                              ("windows-11", "win11", 1, 96, "windows11, light"),
                                              ("windows-11-dark", "win11", 0, 96, "windows11, dark"),
                                              ("windows-11-150", "win11", 1, 144, "windows11, light")):
        for key, name, value in ((r"HKCU\Software\Wine", "Version", version),
                                 (r"HKCU\Control Panel\Desktop", "LogPixels", dpi),
                                 (r"HKCC\Software\Fonts", "LogPixels", dpi),
                                 (r"HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize",
                                  "AppsUseLightTheme", light)):
            desktop.reg("add", key, "/v", name, "/t", "REG_SZ" if name == "Version" else "REG_DWORD",
                        "/d", str(value), "/f")
        subprocess.run([shutil.which("wineserver") or "/usr/lib/wine/wineserver64", "-w"], env=desktop.env)
        told = subprocess.run([desktop.command[0], os.path.join(os.path.dirname(desktop.program), "tests",
                              "platform", "style_report.exe")], env=desktop.env, capture_output=True,
                              text=True).stdout
        check(told.strip().endswith(": " + picked), f"{look}: Qt picks {picked}; told: {told}")
        process = desktop.start(rom)
        for name, title in (("main-window", "Lopwinder - Zoomlet 96"), ("about-box", "About Lopwinder")):
            win = desktop.window(title)
            desktop.screenshot(win or "root", f"{look}-{name}")
            found = re.findall(r"Geometry: (\d+)x(\d+)", " ".join(xdo("getwindowgeometry", win or "0")))
            sizes[name, dpi] = [int(n) for n in found[0]] if win and found else [0, 0]
            if dpi != 96:
                check(all(abs(n - m * 1.5) <= 1 for n, m in zip(sizes[name, dpi], sizes[name, 96])),
                      f"{look}: the {name} 1.5 times as large: {sizes[name, 96]}, {sizes[name, dpi]}")
            if name == "main-window":
                desktop.click(win, round(960 * dpi / 96), round(13 * dpi / 96))  # About...
        process.kill()
        process.wait()
