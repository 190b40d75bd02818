// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/desktopentry.h"

// Windows shows the icon of the program file's resources for its windows, as Qt leaves them.
void nameDesktopEntry(QApplication&) {}
