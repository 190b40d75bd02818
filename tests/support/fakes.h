// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "about/mci.h"
#include "about/registry.h"
#include "app/prompter.h"
#include "rom/romfilesystem.h"
#include "romimage/romimage.h"

#include <QLibrary>
#include <QThread>

#include <deque>
#include <functional>
#include <map>
#include <vector>

// A copy of image with bytes put at offset.
inline std::string with(std::string image, qint64 offset, std::string_view bytes) {
    romimage::put(image, offset, bytes);
    return image;
}

// Answers dialogs from a script and records every message and the program's end.
struct ScriptedPrompter final : Prompter, Lifetime {
    QString askOpenFile(const OpenFileRequest& request) override;
    Answer message(const Message& message) override;
    void endProgram() override { ++endCount; }

    QString openAnswer;                            // what the Open dialog returns
    std::deque<Answer> answers;                    // for Yes/No boxes, in turn; No when none left
    std::function<void(const Message&)> onMessage; // runs while the box would be open
    std::vector<OpenFileRequest> openRequests;
    std::vector<Message> messages;
    int endCount = 0;
};

// The real file system, with every read recorded and chosen failures injected.
struct ScriptedFileSystem final : RomFileSystem {
    // Truncate: another program empties the file just before the write.
    enum class Fault { None, OpenForWrite, ShortWrite, Truncate, Flush, Close };

    ScriptedFileSystem();
    FileStatus stat(const QString& path) override { return systemFileSystem().stat(path); }
    IoResult readAt(const QString& path, qint64 offset, qint64 length, std::string& out) override;
    std::unique_ptr<RomFile> openExisting(const QString& path, IoResult& result) override;

    bool failReads = false;
    int vanishAfterReads = -1; // the file is deleted before the read after this many
    Fault fault = Fault::None;
    std::vector<std::pair<qint64, qint64>> reads; // offset and length, in turn
    int writeOpens = 0;
    // What the BSD and the record lock calls answer (0 or an errno), in turn; once a list is used
    // up, the real call answers. lockCalls records each call: "b" or "r".
    std::deque<int> bsdAnswers, recordAnswers;
    std::string lockCalls;

private:
    std::unique_ptr<RomFileSystem> m_linux;
};

// Records every MCI command and answers "status" with statusReply.
struct RecordingMci final : Mci {
    std::uint32_t sendString(const std::string& command, char* reply,
                             std::uint32_t capacity) override;

    std::string statusReply = "stopped";
    std::function<void(const std::string&)> onCommand;
    std::vector<std::string> commands;
};

// A registry holding exactly the values a test puts in it; values[path] alone makes a key without
// values.
struct ScriptedRegistry final : Registry {
    void put(const std::string& key, const std::string& name, std::uint32_t type,
             std::string data) {
        values[key][name] = {type, std::move(data)};
    }
    long openKey(std::uint32_t root, const std::string& path, std::uint32_t access,
                 Key& key) override;
    long queryValue(Key key, const std::string& name, std::uint32_t& type, unsigned char* data,
                    std::uint32_t& size) override;
    void closeKey(Key) override { --openKeys; }

    std::map<std::string, std::map<std::string, std::pair<std::uint32_t, std::string>>> values;
    std::vector<std::string> opened; // key paths, in order; a key is its place in this list
    std::vector<std::uint32_t> accessRequested;
    int openKeys = 0; // open minus closed
};

// The controls of the stand-in music module (tools/slowmidi/slow_midi.cpp), whose open takes
// openMs.
struct SlowModule {
    explicit SlowModule(int openMs) { setOpenMs(openMs); }
    ~SlowModule() { setOpenMs(0); } // lets every open still waiting go on
    void setOpenMs(int ms) {
        reinterpret_cast<void (*)(int)>(library.resolve("standin_set_open_ms"))(ms);
    }
    std::string counts() { // "opening opened closed"
        int c[3];
        reinterpret_cast<void (*)(int*)>(library.resolve("standin_counts"))(c);
        return std::to_string(c[0]) + " " + std::to_string(c[1]) + " " + std::to_string(c[2]);
    }
    std::string await(const std::string& expected) { // up to 5 s
        for (int i = 0; i < 500 && counts() != expected; ++i)
            QThread::msleep(10);
        return counts();
    }
    QLibrary library{QStringLiteral(LOPWINDER_SLOW_MODULE)};
};
