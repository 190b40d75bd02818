// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Who the program is: shown by the About box and used as the title of every message box that
// names none.
namespace appidentity {

inline constexpr const char* title = "Lopwinder";
inline constexpr int versionMajor = 1;
inline constexpr int versionMinor = 1;
inline constexpr int versionRevision = 0;
inline constexpr const char* description = "An editor to select tracks in various Zoomlet ROMs.";

} // namespace appidentity
