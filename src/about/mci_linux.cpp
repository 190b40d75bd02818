#include "about/mci_linux.h"

#include "about/midimodule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
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

// One opened alias. The module is loaded and the song opened on a thread of its own, so that the
// About box never waits for the synthesizer, its audio device or its sound font.
struct Device {
    std::thread opener;
    std::mutex mutex;      // guards everything below, and every call into the song
    bool resolved = false; // the opener has finished
    void* song = nullptr;  // null once resolved: no module, no audio device or not MIDI
    bool playRequested = false;
};

class LinuxMci final : public Mci {
public:
    explicit LinuxMci(LinuxMciOptions options) : m_options(std::move(options)) {}
    ~LinuxMci() override {
        for (auto& [alias, device] : m_devices)
            release(*device);
    }

    std::uint32_t sendString(const std::string& command, char* reply,
                             std::uint32_t capacity) override {
        if (reply != nullptr && capacity > 0)
            reply[0] = '\0';
        const std::vector<std::string> w = words(command);
        if (w.size() == 6 && w[0] == "open" && w[2] == "type" && w[3] == "sequencer" &&
            w[4] == "alias")
            return open(w[1], w[5]);
        if (w.size() == 2 && w[0] == "play") {
            return withDevice(w[1], [this](Device& device) {
                if (device.resolved && device.song == nullptr)
                    return mcierror::cannotLoadDriver;
                device.playRequested = true;
                // Until the song is open, the opener starts it as soon as it can.
                if (device.song != nullptr && m_api->play(device.song) != 0)
                    return mcierror::invalidDeviceName;
                return 0u;
            });
        }
        if (w.size() == 3 && w[0] == "status" && w[2] == "mode") {
            return withDevice(w[1], [&](Device& device) {
                if (device.resolved && device.song == nullptr)
                    return mcierror::cannotLoadDriver;
                // A piece asked to play counts as playing while its device is still opening.
                const bool playing = device.song != nullptr ? m_api->playing(device.song) != 0
                                                            : device.playRequested;
                if (reply != nullptr && capacity > 0) {
                    std::strncpy(reply, playing ? "playing" : "stopped", capacity - 1);
                    reply[capacity - 1] = '\0';
                }
                return 0u;
            });
        }
        if (w.size() == 2 && w[0] == "close") {
            const auto found = m_devices.find(w[1]);
            if (found == m_devices.end())
                return mcierror::invalidDeviceName;
            release(*found->second);
            m_devices.erase(found);
            return 0;
        }
        return mcierror::unrecognizedCommand;
    }

private:
    template <typename Action> std::uint32_t withDevice(const std::string& alias, Action action) {
        const auto found = m_devices.find(alias);
        if (found == m_devices.end())
            return mcierror::invalidDeviceName;
        const std::lock_guard lock(found->second->mutex);
        return action(*found->second);
    }

    std::uint32_t open(const std::string& path, const std::string& alias) {
        if (m_devices.count(alias))
            return mcierror::duplicateAlias;
        if (!QFileInfo(QString::fromLocal8Bit(path.c_str())).isFile())
            return mcierror::fileNotFound;
        auto device = std::make_unique<Device>();
        device->opener = std::thread([this, path, d = device.get()] {
            void* song = nullptr;
            if (loadModule()) {
                const QByteArray driver = m_options.audioDriver.toLocal8Bit();
                const QByteArray output = m_options.outputFile.toLocal8Bit();
                song = m_api->open(path.c_str(), driver.isEmpty() ? nullptr : driver.constData(),
                                   output.isEmpty() ? nullptr : output.constData());
            }
            const std::lock_guard lock(d->mutex);
            d->song = song;
            d->resolved = true;
            if (song != nullptr && d->playRequested)
                m_api->play(song);
        });
        m_devices.emplace(alias, std::move(device));
        return 0;
    }

    void release(Device& device) {
        // Closing waits for an opener still at work; the sound stops at once after that.
        if (device.opener.joinable())
            device.opener.join();
        if (device.song != nullptr)
            m_api->close(device.song);
    }

    bool loadModule() {
        const std::lock_guard lock(m_moduleMutex);
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
    std::mutex m_moduleMutex;
    QLibrary m_library;
    const LopwinderMidiApi* m_api = nullptr; // set once, by the first opener that loads it
    std::map<std::string, std::unique_ptr<Device>> m_devices;
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
