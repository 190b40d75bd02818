#pragma once

#include "rom/romcontext.h"

#include <QString>

// Names the ROM variant from the file name's extension and a few cartridge header bytes.
namespace detectROM {

// Sets rom.romVariant to one of the names in variantnames. Returns false, leaving romVariant
// empty and reading nothing, when path names no existing plain file (an empty path included).
// Reads go through readText and so through rom.romPath, which must equal path.
[[nodiscard]] bool identifyROM(RomContext& rom, const QString& path);

} // namespace detectROM
