// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

// The program keeps no settings. Qt's Open dialog records its folder history through QSettings
// whenever it closes; this points that store at a place where nothing can be created, so that no
// file is written. Call once, after the application object exists.
void keepNoSettings();
