// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <array>
#include <optional>
#include <string_view>

// The games and cartridge revisions that identification tells apart. A file that is none of them
// has no variant (std::nullopt), and is refused.
enum class RomVariant {
    Zoomlet1E,
    Zoomlet1U,
    Zoomlet2,
    Zoomlet2JCart,
    Zoomlet96,
    Zoomlet96JCart,
    ZoomletMilitary,
};

inline constexpr std::array<RomVariant, 7> allVariants{
    RomVariant::Zoomlet1E,      RomVariant::Zoomlet1U, RomVariant::Zoomlet2,
    RomVariant::Zoomlet2JCart,  RomVariant::Zoomlet96, RomVariant::Zoomlet96JCart,
    RomVariant::ZoomletMilitary};

// The variant's name as the window's caption and the messages show it.
constexpr std::string_view displayName(RomVariant variant) {
    switch (variant) {
    case RomVariant::Zoomlet1E:
        return "Zoomlet 1 (E)";
    case RomVariant::Zoomlet1U:
        return "Zoomlet 1 (U)";
    case RomVariant::Zoomlet2:
        return "Zoomlet 2";
    case RomVariant::Zoomlet2JCart:
        return "Zoomlet 2 (J-Cart)";
    case RomVariant::Zoomlet96:
        return "Zoomlet 96";
    case RomVariant::Zoomlet96JCart:
        return "Zoomlet 96 (J-Cart)";
    case RomVariant::ZoomletMilitary:
        return "Zoomlet Military";
    }
    return {};
}

// The variant whose name is exactly name (case-sensitive, whole); none for any other text.
constexpr std::optional<RomVariant> variantNamed(std::string_view name) {
    for (const RomVariant variant : allVariants) {
        if (displayName(variant) == name)
            return variant;
    }
    return std::nullopt;
}
