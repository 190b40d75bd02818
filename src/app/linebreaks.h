// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <QString>

// The program's texts break lines with "\r\n", as the system's message boxes take them; Qt's boxes
// and labels break at "\n" alone, and would show the "\r" as a blank.
inline QString withQtLineBreaks(QString text) {
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}
