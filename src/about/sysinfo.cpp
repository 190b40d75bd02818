#include "about/sysinfo.h"

#include <array>

namespace sysinfo {
namespace {

// Read access plus set value, create subkey and create link: what the tool's installer documents.
constexpr quint32 keyAccess = 0x2003F;
constexpr quint32 bufferSize = 1024;

class OpenKey {
public:
    OpenKey(Registry& registry, quint32 root, const std::string& path) : m_registry(registry) {
        m_open = registry.openKey(root, path, keyAccess, m_key) == 0;
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey() {
        if (m_open)
            m_registry.closeKey(m_key);
    }
    bool isOpen() const { return m_open; }
    Registry::Key key() const { return m_key; }

private:
    Registry& m_registry;
    Registry::Key m_key = 0;
    bool m_open = false;
};

} // namespace

KeyRead GetKeyValue(Registry& registry, quint32 KeyRoot, const std::string& KeyName,
                    const std::string& SubKeyRef, QString& KeyVal) {
    const OpenKey key(registry, KeyRoot, KeyName);
    std::array<unsigned char, bufferSize> buffer{};
    quint32 size = bufferSize;
    quint32 type = 0;
    if (!key.isOpen() ||
        registry.queryValue(key.key(), SubKeyRef, type, buffer.data(), size) != 0 ||
        size > bufferSize) {
        KeyVal.clear();
        return KeyRead::NotFound;
    }
    if (size == 0)
        return KeyRead::Failed;
    if (buffer[size - 1] == 0)
        --size;

    if (type == Registry::typeText) {
        KeyVal = QString::fromLocal8Bit(reinterpret_cast<const char*>(buffer.data()),
                                        static_cast<qsizetype>(size));
    } else if (type == Registry::typeNumber) {
        KeyVal = QStringLiteral("&h");
        for (quint32 i = size; i > 0; --i)
            KeyVal += QStringLiteral("%1").arg(buffer[i - 1], 2, 16, QLatin1Char('0')).toUpper();
    }
    return KeyRead::Read;
}

void StartSysInfo(Platform& platform) {
    QString p;
    bool found = false;
    switch (GetKeyValue(platform.registry, Registry::localMachine,
                        "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", p)) {
    case KeyRead::Read:
        found = true; // launched as it stands, without a file check
        break;
    case KeyRead::Failed:
        break;
    case KeyRead::NotFound:
        if (GetKeyValue(platform.registry, Registry::localMachine,
                        "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                        p) == KeyRead::Read) {
            p += QStringLiteral("\\MSINFO32.EXE");
            found = platform.plainFileExists(p);
        }
        break;
    }
    if (found && platform.launch(p))
        return;
    platform.prompter.message({QStringLiteral("System Information Is Unavailable At This Time"),
                               MessageIcon::None,
                               MessageButtons::Ok,
                               {}});
}

} // namespace sysinfo
