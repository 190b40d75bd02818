#include "about/mci_linux.h"

#include "about/midimodule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <cstring>
#include <map>
#include <vector>

#ifndef LOPWINDER_MODULE_DIR
#define LOPWINDER_MODULE_DIR ""
#endif

namespace {

// Splits a command into words; a word in double quotes may hold blanks.
std::vector<std::string> words(const std::string& command) {
    std::vector<std::string> result;
    std::size_t i = 0;
    while (i < command.size()) {
        while (i < command.size() && command[i] == ' ')
            ++i;
        if (i >= command.size())
            break;
        std::string word;
        if (command[i] == '"') {
            const std::size_t end = command.find('"', i + 1);
            word = command.substr(i + 1, end == std::string::npos ? end : end - i - 1);
            i = end == std::string::npos ? command.size() : end + 1;
        } else {
            const std::size_t end = command.find(' ', i);
            word = command.substr(i, end == std::string::npos ? end : end - i);
            i = end == std::string::npos ? command.size() : end;
        }
        result.push_back(word);
    }
    return result;
}

class LinuxMci final : public Mci {
public:
    explicit LinuxMci(LinuxMciOptions options) : m_options(std::move(options)) {}
    ~LinuxMci() override {
        for (auto& [alias, song] : m_songs)
            m_api->close(song);
    }

    std::uint32_t sendString(const std::string& command, char* reply,
                             std::uint32_t capacity) override {
        if (reply != nullptr && capacity > 0)
            reply[0] = '\0';
        const std::vector<std::string> w = words(command);
        if (w.size() == 6 && w[0] == "open" && w[2] == "type" && w[3] == "sequencer" &&
            w[4] == "alias")
            return open(w[1], w[5]);
        if (w.size() == 2 && w[0] == "play")
            return withSong(w[1], [this](void* song) {
                return m_api->play(song) == 0 ? 0u : mcierror::invalidDeviceName;
            });
        if (w.size() == 3 && w[0] == "status" && w[2] == "mode") {
            return withSong(w[1], [&](void* song) {
                const char* mode = m_api->playing(song) ? "playing" : "stopped";
                if (reply != nullptr && capacity > 0) {
                    std::strncpy(reply, mode, capacity - 1);
                    reply[capacity - 1] = '\0';
                }
                return 0u;
            });
        }
        if (w.size() == 2 && w[0] == "close") {
            return withSong(w[1], [&](void* song) {
                m_api->close(song);
                m_songs.erase(w[1]);
                return 0u;
            });
        }
        return mcierror::unrecognizedCommand;
    }

private:
    template <typename Action> std::uint32_t withSong(const std::string& alias, Action action) {
        const auto found = m_songs.find(alias);
        if (found == m_songs.end())
            return mcierror::invalidDeviceName;
        return action(found->second);
    }

    std::uint32_t open(const std::string& path, const std::string& alias) {
        if (m_songs.count(alias))
            return mcierror::duplicateAlias;
        const QString file = QString::fromLocal8Bit(path.c_str());
        if (!QFileInfo(file).isFile())
            return mcierror::fileNotFound;
        if (!loadModule())
            return mcierror::cannotLoadDriver;
        const QByteArray driver = m_options.audioDriver.toLocal8Bit();
        const QByteArray output = m_options.outputFile.toLocal8Bit();
        void* song = m_api->open(path.c_str(), driver.isEmpty() ? nullptr : driver.constData(),
                                 output.isEmpty() ? nullptr : output.constData());
        if (song == nullptr)
            return mcierror::invalidFile;
        m_songs.emplace(alias, song);
        return 0;
    }

    bool loadModule() {
        if (m_api != nullptr)
            return true;
        m_library.setFileName(m_options.modulePath);
        const auto entry =
            reinterpret_cast<LopwinderMidiApiFunction>(m_library.resolve(midiApiSymbol));
        const LopwinderMidiApi* api = entry ? entry() : nullptr;
        if (api == nullptr || api->version != midiApiVersion)
            return false;
        m_api = api;
        return true;
    }

    LinuxMciOptions m_options;
    QLibrary m_library;
    const LopwinderMidiApi* m_api = nullptr;
    std::map<std::string, void*> m_songs;
};

} // namespace

std::unique_ptr<Mci> createLinuxMci(const LinuxMciOptions& options) {
    return std::make_unique<LinuxMci>(options);
}

std::unique_ptr<Mci> createSystemMci() {
    // Beside the program in a build tree; in the library folder once installed.
    const QString name = QStringLiteral("liblopwinder_fluidsynth.so");
    QString module = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
    if (!QFileInfo::exists(module) && *LOPWINDER_MODULE_DIR)
        module = QStringLiteral(LOPWINDER_MODULE_DIR "/") + name;
    return createLinuxMci({module, {}, {}});
}
