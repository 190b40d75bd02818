// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "rom/variantnames.h"

#include <QtGlobal>

#include <array>
#include <span>
#include <string_view>

// Everything the program knows about a ROM variant beyond its name. Start-up, the slot editor,
// Save and Reset all take offset and slot count from here, so they can never disagree.
namespace varianttable {

// Which track catalogue fills a variant's slot lists; the labels themselves live with the tracks.
enum class Catalogue { Zoomlet2, Zoomlet96, ZoomletMilitary };

struct VariantRow {
    std::string_view name;
    bool supported;
    qint32 slotTableOffset; // 0-based file offset of level slot 1
    qint16 slotCount;
    Catalogue catalogue;
    std::span<const quint8> factoryOrder; // exactly slotCount track IDs, slot 1 first
};

inline constexpr std::array<quint8, 27> zoomlet2Factory{
    0x09, 0x05, 0x22, 0x24, 0x04, 0x31, 0x1E, 0x0F, 0x2A, 0x13, 0x27, 0x1B, 0x0E, 0x02,
    0x2E, 0x34, 0x0C, 0x12, 0x17, 0x03, 0x1D, 0x2F, 0x2C, 0x28, 0x01, 0x0D, 0x30};
// The J-Cart revision differs in level slot 15 only.
inline constexpr std::array<quint8, 27> zoomlet2JCartFactory{
    0x09, 0x05, 0x22, 0x24, 0x04, 0x31, 0x1E, 0x0F, 0x2A, 0x13, 0x27, 0x1B, 0x0E, 0x02,
    0x2D, 0x34, 0x0C, 0x12, 0x17, 0x03, 0x1D, 0x2F, 0x2C, 0x28, 0x01, 0x0D, 0x30};
inline constexpr std::array<quint8, 27> zoomlet96Factory{
    0x02, 0x40, 0x33, 0x16, 0x05, 0x2D, 0x3C, 0x1C, 0x01, 0x09, 0x0D, 0x19, 0x30, 0x08,
    0x17, 0x24, 0x13, 0x27, 0x0E, 0x1D, 0x31, 0x2C, 0x3F, 0x22, 0x2A, 0x3E, 0x29};
inline constexpr std::array<quint8, 20> zoomletMilitaryFactory{
    0x01, 0x03, 0x06, 0x0B, 0x0D, 0x0F, 0x14, 0x17, 0x1A, 0x1B,
    0x02, 0x05, 0x08, 0x0A, 0x0C, 0x11, 0x12, 0x16, 0x19, 0x1D};

inline constexpr std::array<VariantRow, 7> rows{{
    {variantnames::zoomlet2, true, 0x3E6AE, 27, Catalogue::Zoomlet2, zoomlet2Factory},
    {variantnames::zoomlet2JCart, true, 0x3EA46, 27, Catalogue::Zoomlet2, zoomlet2JCartFactory},
    {variantnames::zoomlet96, true, 0x452C5, 27, Catalogue::Zoomlet96, zoomlet96Factory},
    // The J-Cart '96 keeps its table where the plain cartridge does.
    {variantnames::zoomlet96JCart, true, 0x452C5, 27, Catalogue::Zoomlet96, zoomlet96Factory},
    {variantnames::zoomletMilitary, true, 0x50CDC, 20, Catalogue::ZoomletMilitary,
     zoomletMilitaryFactory},
    // The first game has no Time Trial mode and so no track order to choose.
    {variantnames::zoomlet1E, false, 0, 0, Catalogue::Zoomlet2, {}},
    {variantnames::zoomlet1U, false, 0, 0, Catalogue::Zoomlet2, {}},
}};

// The row named exactly romVariant, or nullptr ("Error!" and anything else have none).
constexpr const VariantRow* find(std::string_view romVariant) {
    for (const VariantRow& row : rows) {
        if (row.name == romVariant)
            return &row;
    }
    return nullptr;
}

// The row of an editable variant, or nullptr.
constexpr const VariantRow* findSupported(std::string_view romVariant) {
    const VariantRow* row = find(romVariant);
    return row != nullptr && row->supported ? row : nullptr;
}

} // namespace varianttable
