// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/nosettings.h"

#include <QCoreApplication>
#include <QSettings>

void keepNoSettings() {
    // A folder inside the program file itself cannot exist, so QSettings finds nothing to read
    // and fails to write, silently.
    const QString nowhere = QCoreApplication::applicationFilePath();
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, nowhere);
    }
}
