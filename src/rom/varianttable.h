// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "rom/romvariant.h"

#include <QtGlobal>

#include <array>
#include <optional>
#include <span>
#include <string_view>

// Everything the program knows of each ROM variant beyond telling it apart (which detectrom.cpp
// does): its name, whether it can be edited, where its slot table lies, how many slots it has,
// which catalogue fills its lists and the factory order Reset writes. Start-up, the slot editor,
// Save, Reset and the synthetic test images all read it here, so they can never disagree.
namespace varianttable {

// Which track catalogue fills a variant's slot lists; the labels live with the tracks.
enum class Catalogue { Zoomlet2, Zoomlet96, ZoomletMilitary };

struct VariantRow {
    RomVariant variant;
    std::string_view name;  // as the window's caption and the messages show it
    bool supported;         // false: the first game, refused at start-up
    qint32 slotTableOffset; // 0-based file offset of level slot 1
    qint16 slotCount;
    std::optional<Catalogue> catalogue;   // none for the first game
    std::span<const quint8> factoryOrder; // slot 1 first, one ID per slot; empty for the first game
};

namespace factory {
inline constexpr std::array<quint8, 27> zoomlet2{
    0x09, 0x05, 0x22, 0x24, 0x04, 0x31, 0x1E, 0x0F, 0x2A, 0x13, 0x27, 0x1B, 0x0E, 0x02,
    0x2E, 0x34, 0x0C, 0x12, 0x17, 0x03, 0x1D, 0x2F, 0x2C, 0x28, 0x01, 0x0D, 0x30};
// The J-Cart revision differs in level slot 15 only.
inline constexpr std::array<quint8, 27> zoomlet2JCart{
    0x09, 0x05, 0x22, 0x24, 0x04, 0x31, 0x1E, 0x0F, 0x2A, 0x13, 0x27, 0x1B, 0x0E, 0x02,
    0x2D, 0x34, 0x0C, 0x12, 0x17, 0x03, 0x1D, 0x2F, 0x2C, 0x28, 0x01, 0x0D, 0x30};
inline constexpr std::array<quint8, 27> zoomlet96{
    0x02, 0x40, 0x33, 0x16, 0x05, 0x2D, 0x3C, 0x1C, 0x01, 0x09, 0x0D, 0x19, 0x30, 0x08,
    0x17, 0x24, 0x13, 0x27, 0x0E, 0x1D, 0x31, 0x2C, 0x3F, 0x22, 0x2A, 0x3E, 0x29};
inline constexpr std::array<quint8, 20> zoomletMilitary{0x01, 0x03, 0x06, 0x0B, 0x0D, 0x0F, 0x14,
                                                        0x17, 0x1A, 0x1B, 0x02, 0x05, 0x08, 0x0A,
                                                        0x0C, 0x11, 0x12, 0x16, 0x19, 0x1D};
} // namespace factory

// In the order of RomVariant.
inline constexpr std::array<VariantRow, 7> rows{{
    // The first game has no Time Trial mode and so no track order to choose.
    {RomVariant::Zoomlet1E, "Zoomlet 1 (E)", false, 0, 0, std::nullopt, {}},
    {RomVariant::Zoomlet1U, "Zoomlet 1 (U)", false, 0, 0, std::nullopt, {}},
    {RomVariant::Zoomlet2, "Zoomlet 2", true, 0x3E6AE, 27, Catalogue::Zoomlet2, factory::zoomlet2},
    {RomVariant::Zoomlet2JCart, "Zoomlet 2 (J-Cart)", true, 0x3EA46, 27, Catalogue::Zoomlet2,
     factory::zoomlet2JCart},
    {RomVariant::Zoomlet96, "Zoomlet 96", true, 0x452C5, 27, Catalogue::Zoomlet96,
     factory::zoomlet96},
    // The J-Cart '96 keeps its table where the plain cartridge does, with the same order.
    {RomVariant::Zoomlet96JCart, "Zoomlet 96 (J-Cart)", true, 0x452C5, 27, Catalogue::Zoomlet96,
     factory::zoomlet96},
    {RomVariant::ZoomletMilitary, "Zoomlet Military", true, 0x50CDC, 20, Catalogue::ZoomletMilitary,
     factory::zoomletMilitary},
}};

// The row of variant; none for a file without one.
constexpr const VariantRow* find(std::optional<RomVariant> variant) {
    for (const VariantRow& row : rows) {
        if (row.variant == variant)
            return &row;
    }
    return nullptr;
}

// The row of an editable variant, or nullptr.
constexpr const VariantRow* findSupported(std::optional<RomVariant> variant) {
    const VariantRow* row = find(variant);
    return row != nullptr && row->supported ? row : nullptr;
}

// The row whose name is exactly name (case-sensitive, whole); nullptr for any other text.
constexpr const VariantRow* findNamed(std::string_view name) {
    for (const VariantRow& row : rows) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

constexpr bool wellFormed(const VariantRow& row, std::size_t index) {
    const bool editable = row.catalogue.has_value() && row.slotCount > 0 &&
                          row.factoryOrder.size() == static_cast<std::size_t>(row.slotCount);
    const bool refused = !row.catalogue && row.slotCount == 0 && row.factoryOrder.empty();
    return static_cast<std::size_t>(row.variant) == index && (row.supported ? editable : refused);
}

static_assert(
    [] {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (!wellFormed(rows[i], i))
                return false;
        }
        return true;
    }(),
    "one row per variant, in order; an editable one has a catalogue and one ID per slot");

} // namespace varianttable

// The variant's name as the window's caption and the messages show it.
constexpr std::string_view displayName(RomVariant variant) {
    return varianttable::find(variant)->name;
}
