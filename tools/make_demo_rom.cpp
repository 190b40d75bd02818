// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// make-demo-rom: writes a synthetic cartridge image that Lopwinder identifies as the chosen
// variant, for trying the program without a dump. It holds the header bytes and the slot table
// (in the factory order) with filler elsewhere: no game code, nothing that runs.
#include "rom/varianttable.h"
#include "romimage/romimage.h"

#include <QFileInfo>

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: make-demo-rom VARIANT FILE [SIZE]\nVARIANT is one of:\n");
        for (const varianttable::VariantRow& row : varianttable::rows) {
            std::fprintf(stderr, "  \"%.*s\"\n", static_cast<int>(row.name.size()),
                         row.name.data());
        }
        return 2;
    }
    const std::string variant = argv[1];
    if (varianttable::findNamed(variant) == nullptr) {
        std::fprintf(stderr, "make-demo-rom: unknown variant \"%s\"\n", variant.c_str());
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[2]);
    // Never overwrite: the name may well be somebody's real dump.
    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "make-demo-rom: %s exists already; choose a new name\n", argv[2]);
        return 1;
    }
    const qint64 size =
        argc == 4 ? QByteArray(argv[3]).toLongLong(nullptr, 0) : romimage::defaultSize;
    if (size <= 0 || size > 64 * 1024 * 1024) {
        std::fprintf(stderr, "make-demo-rom: SIZE must be 1 byte to 64 MiB\n");
        return 2;
    }
    const QFileInfo info(path);
    try {
        romimage::writeFile(info.absolutePath(), info.fileName(), romimage::build(variant, size));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make-demo-rom: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("Wrote a demo \"%s\" image to %s\n", variant.c_str(), argv[2]);
    return 0;
}
