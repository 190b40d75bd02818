// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "rom/slottable.h"

#include "rom/readwritetext.h"

namespace slottable {

Table read(const RomContext& rom, const varianttable::VariantRow& row) {
    Table table;
    const FileStatus status = rom.fs.stat(rom.romPath);
    if (status.regular && status.size < static_cast<qint64>(row.slotTableOffset) + row.slotCount) {
        table.status = Status::Truncated;
        return table;
    }
    if (std::optional<std::string> bytes =
            readwritetext::readText(rom, row.slotTableOffset, row.slotCount)) {
        table.bytes = std::move(*bytes);
        table.status = Status::Read;
    }
    return table;
}

} // namespace slottable
