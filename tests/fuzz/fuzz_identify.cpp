// Fuzzes identification and the slot-table read with arbitrary file contents, names and lengths.
// Input: byte 0 picks the file name, bytes 1-3 the file's length (little-endian, up to 1 MiB), the
// rest is its content from offset 0 and, again, at every variant's slot table.
#include "app/prompter.h"
#include "rom/detectrom.h"
#include "rom/slottable.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

struct SilentPrompter final : Prompter {
    QString askOpenFile(const OpenFileRequest&) override { return {}; }
    Answer message(const Message&) override { return Answer::Ok; }
};

void require(bool condition) {
    if (!condition)
        std::abort();
}

const char* const names[] = {"rom.bin",     "ROM.Gen",    "rom.smd",
                             "rom.bin.zip", "v1.0/noext", "R\u00e4der \u00df.bin",
                             ".bin",        "folder.bin", ""};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString folder = [] {
        const QString dir = QDir::tempPath() + QStringLiteral("/lopwinder-fuzz-%1").arg(getpid());
        QDir().mkpath(dir + "/v1.0");
        QDir().mkpath(dir + "/folder.bin");
        return dir;
    }();
    if (size < 4)
        return 0;
    const QString name = QString::fromUtf8(names[data[0] % std::size(names)]);
    const std::size_t length = data[1] | (data[2] << 8) | ((data[3] & 0x0f) << 16);
    const std::string content(reinterpret_cast<const char*>(data + 4), size - 4);
    std::string image(length, '\0');
    for (const std::size_t at : {std::size_t{0}, std::size_t{0x3E6AE}, std::size_t{0x3EA46},
                                 std::size_t{0x452C5}, std::size_t{0x50CDC}}) {
        if (at < image.size())
            image.replace(at, std::min(content.size(), image.size() - at),
                          content.substr(0, image.size() - at));
    }
    const QString path = name.isEmpty() ? QString() : folder + '/' + name;
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
    require(varianttable::find(rom.romVariant) != nullptr || rom.romVariant == "Error!");
    const auto* row = varianttable::findSupported(rom.romVariant);
    if (row == nullptr)
        return 0;
    const slottable::Table table = slottable::read(rom, *row);
    const auto offset = static_cast<std::size_t>(row->slotTableOffset);
    const bool fits = image.size() >= offset + static_cast<std::size_t>(row->slotCount);
    require(table.status == (fits ? slottable::Status::Read : slottable::Status::Truncated));
    require(!fits || table.bytes == image.substr(offset, static_cast<std::size_t>(row->slotCount)));
    return 0;
}
