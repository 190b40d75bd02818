// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "romimage/romimage.h"

#include "rom/varianttable.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace romimage {

void put(std::string& image, qint64 offset, std::string_view bytes) {
    // A short image keeps only what fits, as a cut-off dump would.
    const auto at = static_cast<std::size_t>(offset);
    if (at >= image.size())
        return;
    bytes = bytes.substr(0, image.size() - at);
    image.replace(at, bytes.size(), bytes);
}

std::string build(std::string_view name, qint64 size) {
    const varianttable::VariantRow* row = varianttable::findNamed(name);
    const std::optional<RomVariant> variant =
        row ? std::optional<RomVariant>(row->variant) : std::nullopt;
    std::string image(static_cast<std::size_t>(size), '\0');
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>((i * 131 + 7) % 251);

    put(image, 0x000, "\x00\xff\xfe\x00");
    put(image, 0x00A, "\x04");
    put(image, 0x100, "SEGA MEGA DRIVE ");
    put(image, 0x110, "(C)ACME 1995.JAN");
    put(image, 0x180, "GM 00000000-00");
    put(image, 0x18E, "\x12\x34");

    if (variant == RomVariant::Zoomlet2 || variant == RomVariant::Zoomlet2JCart)
        put(image, 0x183, "T-120096-50");
    if (variant == RomVariant::Zoomlet2JCart)
        put(image, 0x18E, "~P");
    if (variant == RomVariant::ZoomletMilitary)
        put(image, 0x113, "SEGA");
    if (variant == RomVariant::Zoomlet1U)
        put(image, 0x00A, "z");
    if (variant == RomVariant::Zoomlet1E)
        put(image, 0x00A, "y");
    if (variant == RomVariant::Zoomlet96JCart)
        put(image, 0x000, "DNLD");
    if (!variant)
        put(image, 0x183, "T-999999-00");

    if (row != nullptr && row->supported) {
        put(image, row->slotTableOffset,
            std::string(row->factoryOrder.begin(), row->factoryOrder.end()));
    }
    return image;
}

QString writeFile(const QString& dir, const QString& name, const std::string& bytes) {
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()))
        throw std::runtime_error("cannot write test image");
    return path;
}

std::string readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace romimage
