#include "rom/detectrom.h"

#include "rom/readwritetext.h"
#include "rom/variantnames.h"

#include <string_view>

namespace detectROM {
namespace {

// Each read takes exactly as many bytes as the literals it is compared with.
bool readEquals(const RomContext& rom, qint32 offset, std::string_view literal) {
    return readwritetext::readText(rom, offset, static_cast<qint16>(literal.size())) == literal;
}

bool readEqualsAny(const RomContext& rom, qint32 offset, std::string_view a, std::string_view b) {
    const std::string bytes = readwritetext::readText(rom, offset, static_cast<qint16>(a.size()));
    return bytes == a || bytes == b;
}

bool hasEditableExtension(const QString& path) {
    // The last dot of the whole path, directories included.
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : path.mid(dot + 1).toLower();
    return extension == QLatin1String("bin") || extension == QLatin1String("gen");
}

std::string_view identify(const RomContext& rom, const QString& path) {
    using namespace variantnames;
    if (!hasEditableExtension(path))
        return error;
    if (!readEqualsAny(rom, 0x100, "SEGA MEGA DRIVE", "SEGA GENESIS   "))
        return error;

    const std::string serial = readwritetext::readText(rom, 0x183, 11);
    if (serial == "T-120096-50")
        return readEquals(rom, 0x18E, "~P") ? zoomlet2JCart : zoomlet2;
    if (serial != "00000000-00")
        return error;

    // This order is binding: a "SEGA" maker field wins whatever the vector bytes hold.
    if (readEquals(rom, 0x113, "SEGA"))
        return zoomletMilitary;
    const std::string vector = readwritetext::readText(rom, 0x00A, 1);
    if (vector == "z")
        return zoomlet1U;
    if (vector == "y")
        return zoomlet1E;
    return readEquals(rom, 0x000, "DNLD") ? zoomlet96JCart : zoomlet96;
}

} // namespace

bool identifyROM(RomContext& rom, const QString& path) {
    const FileStatus status = rom.fs.stat(path);
    if (!status.exists || !status.regular)
        return false;
    rom.romVariant = std::string(identify(rom, path));
    return true;
}

} // namespace detectROM
