// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/music_linux.h"

#include "about/midimodule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// The MIDI module, loaded by the first opener that needs it. Openers share it with the
// music, so that it outlives a music object destroyed while one of them is at work.
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

// One piece started. The song is opened on a thread of its own, so that the About box never waits
// for the synthesizer, its audio device or its sound font; that thread shares the device.
struct Device {
    std::mutex mutex; // guards everything below, and every call into the song
    const LopwinderMidiApi* api = nullptr;
    void* song = nullptr;   // null once resolved: no module, no audio device or not MIDI
    bool resolved = false;  // the opener has finished
    bool abandoned = false; // closed while still opening: the opener closes what it opens
};

// Openers still at work: a plain atomic, so that it can be read at any point of the program's end,
// after the statics below are gone too.
constinit std::atomic<int> openersRunning{0};

// At program exit the openers get a moment to finish, so that none is cut off inside the
// synthesizer while the process winds down; a stuck audio server is not waited for.
struct Openers {
    void count(int change) {
        const std::lock_guard lock(mutex);
        openersRunning += change;
        finished.notify_all();
    }
    std::mutex mutex;
    std::condition_variable finished;
};

std::shared_ptr<Openers> openers() {
    struct WaitAtExit {
        std::shared_ptr<Openers> openers = std::make_shared<Openers>();
        ~WaitAtExit() {
            std::unique_lock lock(openers->mutex);
            openers->finished.wait_for(lock, std::chrono::seconds(2),
                                       [] { return openersRunning == 0; });
        }
    };
    static WaitAtExit atExit;
    return atExit.openers;
}

// Opens the song and hands it to the device, or closes it again if the device was closed
// meanwhile. Owns a share of everything it touches, never the music object.
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
    if (song != nullptr)
        api->play(song);
}

class FluidSynthMusic final : public Music {
public:
    explicit FluidSynthMusic(const FluidSynthOptions& options)
        : m_module(std::make_shared<Module>(options.modulePath)),
          m_driver(options.audioDriver.toLocal8Bit()), m_output(options.outputFile.toLocal8Bit()) {}
    ~FluidSynthMusic() override { stop(); }

    void start(const QString& file) override {
        stop();
        if (!QFileInfo(file).isFile())
            return;
        // The thread is detached at once, so no failure can leave a joinable thread behind.
        auto device = std::make_shared<Device>();
        std::shared_ptr<Openers> running;
        try {
            running = openers();
            running->count(+1);
            std::thread([running, module = m_module, device, path = file.toLocal8Bit(),
                         driver = m_driver, output = m_output]() mutable {
                openSong(module, device, path.toStdString(), driver, output);
                module.reset(), device.reset();
                running->count(-1);
            }).detach();
        } catch (const std::exception&) {
            // No thread to open it with: the box stays silent, as without a device.
            if (running != nullptr)
                running->count(-1);
            return;
        }
        m_device = std::move(device);
    }

    bool isPlaying() override {
        if (!m_device)
            return false;
        const std::lock_guard lock(m_device->mutex);
        if (m_device->song == nullptr)
            return !m_device->resolved; // still opening: it will play
        return m_device->api->playing(m_device->song) != 0;
    }

    void stop() override {
        if (!m_device)
            return;
        {
            // Still opening: its opener closes what it opens. Nothing here waits for it.
            const std::lock_guard lock(m_device->mutex);
            if (!m_device->resolved)
                m_device->abandoned = true;
            else if (m_device->song != nullptr)
                m_device->api->close(m_device->song);
            m_device->song = nullptr;
        }
        m_device.reset();
    }

private:
    std::shared_ptr<Module> m_module;
    QByteArray m_driver; // empty: FluidSynth's default
    QByteArray m_output;
    std::shared_ptr<Device> m_device; // the piece started last, until stopped
};

} // namespace

std::unique_ptr<Music> createFluidSynthMusic(const FluidSynthOptions& options) {
    return std::make_unique<FluidSynthMusic>(options);
}

QString fluidSynthModulePath(const QString& programFolder) {
    // The build names both: the module's file and the folder it is installed to.
    const QString name = QStringLiteral(LOPWINDER_MUSIC_MODULE);
    const QString beside = programFolder + QLatin1Char('/') + name;
    return QFileInfo::exists(beside) ? beside : QStringLiteral(LOPWINDER_MODULE_DIR "/") + name;
}

int runningOpeners() {
    return openersRunning;
}

std::unique_ptr<Music> createSystemMusic() {
    return createFluidSynthMusic(
        {fluidSynthModulePath(QCoreApplication::applicationDirPath()), {}, {}});
}
