// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/mci_linux.h"

#include "about/midimodule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <exception>
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

// The MIDI module, loaded by the first opener that needs it. Openers share it with the
// interpreter, so that it outlives an interpreter destroyed while one of them is at work.
class Module {
public:
    explicit Module(const QString& path) : m_library(path) {}

    const LopwinderMidiApi* load() {
        const std::lock_guard lock(m_mutex);
        if (m_api == nullptr) {
            const auto entry =
                reinterpret_cast<LopwinderMidiApiFunction>(m_library.resolve(midiApiSymbol));
            const LopwinderMidiApi* api = entry ? entry() : nullptr;
            if (api != nullptr && api->version == midiApiVersion)
                m_api = api;
        }
        return m_api;
    }

private:
    std::mutex m_mutex;
    QLibrary m_library;
    const LopwinderMidiApi* m_api = nullptr;
};

// One opened alias. The song is opened on a thread of its own, so that the About box never waits
// for the synthesizer, its audio device or its sound font; that thread shares the device.
struct Device {
    std::mutex mutex; // guards everything below, and every call into the song
    const LopwinderMidiApi* api = nullptr;
    void* song = nullptr;  // null once resolved: no module, no audio device or not MIDI
    bool resolved = false; // the opener has finished
    bool playRequested = false;
    bool abandoned = false; // closed while still opening: the opener closes what it opens
};

// Openers still at work. At program exit they get a moment to finish, so that none is cut off
// inside the synthesizer while the process winds down; a stuck audio server is not waited for.
struct Openers {
    void count(int change) {
        const std::lock_guard lock(mutex);
        running += change;
        finished.notify_all();
    }
    std::mutex mutex;
    std::condition_variable finished;
    int running = 0;
};

std::shared_ptr<Openers> openers() {
    struct WaitAtExit {
        std::shared_ptr<Openers> openers = std::make_shared<Openers>();
        ~WaitAtExit() {
            std::unique_lock lock(openers->mutex);
            openers->finished.wait_for(lock, std::chrono::seconds(2),
                                       [this] { return openers->running == 0; });
        }
    };
    static WaitAtExit atExit;
    return atExit.openers;
}

// Opens the song and hands it to the device, or closes it again if the device was closed
// meanwhile. Owns a share of everything it touches, never the interpreter.
void openSong(const std::shared_ptr<Module>& module, const std::shared_ptr<Device>& device,
              const std::string& path, const QByteArray& driver, const QByteArray& output) {
    const LopwinderMidiApi* api = module->load();
    void* song = api == nullptr
                     ? nullptr
                     : api->open(path.c_str(), driver.isEmpty() ? nullptr : driver.data(),
                                 output.isEmpty() ? nullptr : output.data());
    const std::lock_guard lock(device->mutex);
    if (device->abandoned) {
        if (song != nullptr)
            api->close(song);
        return;
    }
    device->api = api;
    device->song = song;
    device->resolved = true;
    if (song != nullptr && device->playRequested)
        api->play(song);
}

class LinuxMci final : public Mci {
public:
    explicit LinuxMci(const LinuxMciOptions& options)
        : m_module(std::make_shared<Module>(options.modulePath)),
          m_driver(options.audioDriver.toLocal8Bit()), m_output(options.outputFile.toLocal8Bit()) {}
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
            return withDevice(w[1], [](Device& device) {
                if (device.resolved && device.song == nullptr)
                    return mcierror::cannotLoadDriver;
                device.playRequested = true;
                // Until the song is open, the opener starts it as soon as it can.
                if (device.song != nullptr && device.api->play(device.song) != 0)
                    return mcierror::invalidDeviceName;
                return 0u;
            });
        }
        if (w.size() == 3 && w[0] == "status" && w[2] == "mode") {
            return withDevice(w[1], [&](Device& device) {
                if (device.resolved && device.song == nullptr)
                    return mcierror::cannotLoadDriver;
                // A piece asked to play counts as playing while its device is still opening.
                const bool playing = device.song != nullptr ? device.api->playing(device.song) != 0
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
        // Stored before the thread starts and the thread detached at once: no failure can leave
        // a joinable thread behind.
        const auto stored = m_devices.emplace(alias, std::make_shared<Device>()).first;
        std::shared_ptr<Openers> running;
        try {
            running = openers();
            running->count(+1);
            std::thread([running, module = m_module, device = stored->second, path,
                         driver = m_driver, output = m_output]() mutable {
                openSong(module, device, path, driver, output);
                module.reset(), device.reset();
                running->count(-1);
            }).detach();
        } catch (const std::exception&) {
            // No thread to open it with: the box stays silent, as without a device.
            if (running != nullptr)
                running->count(-1);
            m_devices.erase(stored);
            return mcierror::outOfMemory;
        }
        return 0;
    }

    static void release(Device& device) {
        // Still opening: its opener closes what it opens. Nothing here waits for it.
        const std::lock_guard lock(device.mutex);
        if (!device.resolved)
            device.abandoned = true;
        else if (device.song != nullptr)
            device.api->close(device.song);
        device.song = nullptr;
    }

    std::shared_ptr<Module> m_module;
    QByteArray m_driver; // empty: FluidSynth's default
    QByteArray m_output;
    std::map<std::string, std::shared_ptr<Device>> m_devices;
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
