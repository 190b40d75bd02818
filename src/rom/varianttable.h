// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "rom/romvariant.h"

#include <QtGlobal>

#include <array>

// Where each ROM variant keeps its slot table, and which catalogue its lists offer (its factory
// order is track data, in tracks/factoryorders.h). Start-up, the slot editor, Save and Reset all
// take offset and slot count from here, so they can never disagree.
namespace varianttable {

// Which track catalogue fills a variant's slot lists; the labels themselves live with the tracks.
enum class Catalogue { Zoomlet2, Zoomlet96, ZoomletMilitary };

struct VariantRow {
    RomVariant variant;
    bool supported;
    qint32 slotTableOffset; // 0-based file offset of level slot 1
    qint16 slotCount;
    Catalogue catalogue;
};

inline constexpr std::array<VariantRow, 7> rows{{
    {RomVariant::Zoomlet2, true, 0x3E6AE, 27, Catalogue::Zoomlet2},
    {RomVariant::Zoomlet2JCart, true, 0x3EA46, 27, Catalogue::Zoomlet2},
    {RomVariant::Zoomlet96, true, 0x452C5, 27, Catalogue::Zoomlet96},
    // The J-Cart '96 keeps its table where the plain cartridge does.
    {RomVariant::Zoomlet96JCart, true, 0x452C5, 27, Catalogue::Zoomlet96},
    {RomVariant::ZoomletMilitary, true, 0x50CDC, 20, Catalogue::ZoomletMilitary},
    // The first game has no Time Trial mode and so no track order to choose.
    {RomVariant::Zoomlet1E, false, 0, 0, Catalogue::Zoomlet2},
    {RomVariant::Zoomlet1U, false, 0, 0, Catalogue::Zoomlet2},
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

} // namespace varianttable
