// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// Fuzzes identification and the slot-table read with arbitrary file contents, names and lengths.
// Input: byte 0 picks the file name, bytes 1-3 the file's length (little-endian, up to 1 MiB), the
// rest is its content from offset 0 and, again, at every variant's slot table.
#include "rom/detectrom.h"
#include "rom/slottable.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

const char* const names[] = {"rom.bin",     "ROM.Gen",    "rom.smd",
                             "rom.bin.zip", "v1.0/noext", "R\u00e4der \u00df.bin",
                             ".bin",        "folder.bin", ""};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString folder =
        QDir::tempPath() + QStringLiteral("/lopwinder-fuzz-%1").arg(getpid());
    static const bool made =
        QDir().mkpath(folder + "/v1.0") && QDir().mkpath(folder + "/folder.bin");
    if (size < 4 || !made)
        return 0;
    const QString name = QString::fromUtf8(names[data[0] % std::size(names)]);
    std::string image(data[1] | (data[2] << 8) | ((data[3] & 0x0f) << 16), '\0');
    const std::string content(reinterpret_cast<const char*>(data + 4), size - 4);
    for (const std::size_t at : {0x0, 0x3E6AE, 0x3EA46, 0x452C5, 0x50CDC})
        if (at < image.size())
            image.replace(at, std::min(content.size(), image.size() - at), content, 0,
                          image.size() - at);
    const QString path = name.isEmpty() ? QString() : folder + '/' + name;
    if (QFile file(path); !name.isEmpty() && name != "folder.bin" &&
                          (!file.open(QIODevice::WriteOnly) ||
                           file.write(image.data(), qint64(image.size())) != qint64(image.size())))
        std::abort();

    RomContext rom{systemFileSystem(), path, {}};
    const bool identified = detectROM::identifyROM(rom, path).plainFile;
    if ((rom.romVariant && !identified) || (rom.romVariant && !varianttable::find(rom.romVariant)))
        std::abort();
    const auto* row = varianttable::findSupported(rom.romVariant);
    if (!identified || !row)
        return 0;
    const slottable::Table table = slottable::read(rom, *row);
    const auto offset = static_cast<std::size_t>(row->slotTableOffset);
    const auto count = static_cast<std::size_t>(row->slotCount);
    const bool fits = image.size() >= offset + count;
    if (table.status != (fits ? slottable::Status::Read : slottable::Status::Truncated) ||
        (fits && table.bytes != image.substr(offset, count)))
        std::abort();
    return 0;
}
