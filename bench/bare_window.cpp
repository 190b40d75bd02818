// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// The baseline: a bare Qt Widgets program that opens one empty window of the same size and ends
// once it has painted. With --caption the window shows one line of text, which is enough to make
// Qt load the font database and render glyphs.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1000, 575);
    if (argc > 1 && std::strcmp(argv[1], "--caption") == 0)
        (new QLabel(QStringLiteral("Level Slot 1"), &window))->setGeometry(16, 16, 145, 17);
    FirstPaint painted(&window, [] {
        announcePainted();
        QCoreApplication::exit(0);
    });
    window.show();
    return QApplication::exec();
}
