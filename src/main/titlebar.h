// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <QString>

// Where the window system cuts a narrow box's title short: the width the box needs for title to
// show whole; 0 where the system never cuts it, or fits the box to its title itself.
int widthForWholeTitle(const QString& title);
