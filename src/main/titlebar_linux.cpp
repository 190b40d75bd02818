// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/titlebar.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QVersionNumber>

// On X11 the window manager draws the frame. On Wayland Qt draws it itself, and Qt 6.4's frame
// (Debian 12) shows minimise, maximise and close whatever the window asks for, and cuts the title
// where they begin: measured under weston, 77 pixels from the right edge, so that a "Lopwinder"
// title on a "File saved successfully." box read "Lopwinde". Qt 6.8 (Debian 13) keeps the title
// clear of its buttons: on the same box, measured the same way, "Lopwinder" ends 14 pixels before
// the first of them, so it needs nothing. Qt is asked at run time, because one package runs on
// both releases.
int widthForWholeTitle(const QString& title) {
    const bool qtKeepsTitleClear = QLibraryInfo::version() >= QVersionNumber(6, 8);
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")) || qtKeepsTitleClear)
        return 0;
    QFont titleFont;
    titleFont.setPixelSize(14);
    // The title is centred on the bar, so the buttons' room is kept on both sides.
    return QFontMetrics(titleFont).horizontalAdvance(title) + 2 * 77 + 16;
}
