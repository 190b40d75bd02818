// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// Tells the Windows version Qt sees, the style it picks for it and the colour scheme it follows,
// linked as lopwinder.exe is: the same static Qt, its plugins and the program's manifest.
#include <QApplication>
#include <QOperatingSystemVersion>
#include <QStyle>
#include <QStyleHints>
#include <cstdio>

int main(int argc, char* argv[]) {
    const QApplication app(argc, argv);
    const auto windows = QOperatingSystemVersion::current();
    const bool dark = QGuiApplication::styleHints()->colorScheme() == Qt::ColorScheme::Dark;
    std::printf("Windows %d.%d.%d: %s, %s\n", windows.majorVersion(), windows.minorVersion(),
                windows.microVersion(), qPrintable(QApplication::style()->name()),
                dark ? "dark" : "light");
}
