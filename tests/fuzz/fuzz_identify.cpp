// Fuzzes identification and the slot-table read with arbitrary file contents, names and lengths.
// Input layout: byte 0 picks the file name, bytes 1-3 the file length in bytes (little-endian,
// up to 1 MiB), the rest is the file's content from offset 0; the same bytes also fill every
// variant's slot table, so that pre-selection sees arbitrary track IDs.
#include "app/prompter.h"
#include "rom/detectrom.h"
#include "rom/slottable.h"
#include "rom/variantnames.h"
#include "tracks/catalogues.h"
#include "tracks/trackid.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class SilentPrompter final : public Prompter {
public:
    QString askOpenFile(const OpenFileRequest&) override { return {}; }
    Answer message(const Message&) override { return Answer::Ok; }
};

void require(bool condition) {
    if (!condition)
        std::abort();
}

const QString& folder() {
    static const QString path = [] {
        QString dir = QDir::tempPath() + QStringLiteral("/lopwinder-fuzz-%1").arg(getpid());
        QDir().mkpath(dir + QStringLiteral("/v1.0"));
        QDir().mkpath(dir + QStringLiteral("/folder.bin"));
        return dir;
    }();
    return path;
}

const char* const names[] = {"rom.bin",
                             "ROM.BIN",
                             "rom.Gen",
                             "rom.smd",
                             "rom.bin.zip",
                             "v1.0/noext",
                             "R\u00e4der \u00df.bin",
                             "rom.",
                             ".bin",
                             "folder.bin",
                             ""};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    const QString name = QString::fromUtf8(names[data[0] % std::size(names)]);
    const std::size_t length =
        static_cast<std::size_t>(data[1] | (data[2] << 8) | ((data[3] & 0x0f) << 16));
    const std::string content(reinterpret_cast<const char*>(data + 4), size - 4);

    std::string image(length, '\0');
    image.replace(0, std::min(content.size(), length), content.substr(0, length));
    for (const auto& row : varianttable::rows) {
        const auto at = static_cast<std::size_t>(row.slotTableOffset);
        if (row.supported && at < image.size())
            image.replace(at, std::min(content.size(), image.size() - at),
                          content.substr(0, image.size() - at));
    }
    const QString path = name.isEmpty() ? QString() : folder() + QLatin1Char('/') + name;
    if (!name.isEmpty() && name != QLatin1String("folder.bin")) {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(image.data(), static_cast<qint64>(image.size()));
    }

    SilentPrompter prompter;
    RomContext rom{systemFileSystem(), prompter, path, {}};
    if (!detectROM::identifyROM(rom, path)) {
        require(rom.romVariant.empty());
        return 0;
    }
    require(varianttable::find(rom.romVariant) != nullptr || rom.romVariant == variantnames::error);
    const auto* row = varianttable::findSupported(rom.romVariant);
    if (row == nullptr)
        return 0;

    const slottable::Table table = slottable::read(rom, *row);
    const bool fits =
        image.size() >= static_cast<std::size_t>(row->slotTableOffset) + row->slotCount;
    require((table.status == slottable::Status::Read) == fits);
    require((table.status == slottable::Status::Truncated) == !fits);
    if (!fits)
        return 0;
    require(table.bytes == image.substr(static_cast<std::size_t>(row->slotTableOffset),
                                        static_cast<std::size_t>(row->slotCount)));
    for (const char byte : table.bytes) {
        const QString id = trackid::text(static_cast<quint8>(byte));
        int matches = 0;
        for (const std::string_view label : catalogues::labels(row->catalogue))
            matches += QString::fromLatin1(label.data(), 2) == id ? 1 : 0;
        require(matches <= 1);
        require(trackid::fromLabel(id) == static_cast<quint8>(byte));
    }
    return 0;
}
