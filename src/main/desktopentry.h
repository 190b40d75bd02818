// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

class QApplication;

// Names the program's desktop entry to the window system for every window, so that desktops show
// the entry's icon and name in title bars, docks and task switchers: on Wayland as the windows'
// application id, under X11 as the properties GNOME and Plasma read; and gives the windows the
// entry's icon, for desktops that take it from the window. Where the system takes both from the
// program file (Windows), nothing.
void nameDesktopEntry(QApplication& app);
