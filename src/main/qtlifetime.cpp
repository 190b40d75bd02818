// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/qtlifetime.h"

#include <QApplication>
#include <QWidget>

void QtLifetime::endProgram() {
    m_ended = true;
    // Hidden at once so nothing more can be clicked while the event loop winds down.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}
