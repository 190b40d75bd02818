// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "app/appversion.h"

// Who the program is: shown by the About box and used as the title of every message box that
// names none.
namespace appidentity {

inline constexpr const char* title = "Lopwinder";
// The application's own numbers, which the About box writes with nothing between minor and
// revision: release 1.10 is the application's 1.1.0, and reads "v1.10" again.
inline constexpr int versionMajor = appversion::releaseMajor;
inline constexpr int versionMinor = appversion::releaseMinor / 10;
inline constexpr int versionRevision = appversion::releaseMinor % 10;
static_assert(appversion::releaseMinor < 100, "a release minor number has two digits at most");
inline constexpr const char* description = "An editor to select tracks in various Zoomlet ROMs.";

} // namespace appidentity
