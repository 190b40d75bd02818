// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <string_view>

// Every value romVariant can take. Always compared as whole, case-sensitive strings.
namespace variantnames {

inline constexpr std::string_view zoomlet1E = "Zoomlet 1 (E)";
inline constexpr std::string_view zoomlet1U = "Zoomlet 1 (U)";
inline constexpr std::string_view zoomlet2 = "Zoomlet 2";
inline constexpr std::string_view zoomlet2JCart = "Zoomlet 2 (J-Cart)";
inline constexpr std::string_view zoomlet96 = "Zoomlet 96";
inline constexpr std::string_view zoomlet96JCart = "Zoomlet 96 (J-Cart)";
inline constexpr std::string_view zoomletMilitary = "Zoomlet Military";
inline constexpr std::string_view error = "Error!";

} // namespace variantnames
