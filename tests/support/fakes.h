// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "about/music.h"
#include "about/sysinfotool.h"
#include "app/prompter.h"
#include "rom/romfilesystem.h"
#include "romimage/romimage.h"

#include <deque>
#include <functional>
#include <vector>

// A copy of image with bytes put at offset.
inline std::string with(std::string image, qint64 offset, std::string_view bytes) {
    romimage::put(image, offset, bytes);
    return image;
}

// Answers dialogs from a script and records every message and the program's end.
struct ScriptedPrompter final : Prompter, Lifetime {
    QString askOpenFile(const OpenFileRequest& request, QObject* owner) override;
    Answer message(const Message& message, QObject* owner) override;
    void endProgram() override { ++endCount; }

    QString openAnswer;                            // what the Open dialog returns
    std::deque<Answer> answers;                    // for Yes/No boxes, in turn; No when none left
    std::function<void(const Message&)> onMessage; // runs while the box would be open
    std::vector<OpenFileRequest> openRequests;
    std::vector<Message> messages;
    std::vector<const QObject*> owners; // of the Open dialogs and the messages, in turn
    int endCount = 0;
};

// What the scripted file system breaks. Truncate: another program empties the file just before
// the write. Size: every size query fails; SizeAfterWrite: only those after the write; Read: the
// open file's reads fail without a word from the system.
enum class Fault {
    None,
    OpenForWrite,
    Size,
    ShortWrite,
    Truncate,
    SizeAfterWrite,
    Flush,
    Close,
    Read
};

// The real file system, with every read recorded and chosen failures injected.
struct ScriptedFileSystem final : RomFileSystem {
    ScriptedFileSystem();
    FileStatus stat(const QString& path) override { return systemFileSystem().stat(path); }
    IoResult readAt(const QString& path, qint64 offset, qint64 length, std::string& out) override;
    std::unique_ptr<RomFile> openExisting(const QString& path, IoResult& result) override;

    bool failReads = false;
    int vanishAfterReads = -1; // the file is deleted before the read after this many
    Fault fault = Fault::None;
    std::function<void(const QString& path)> beforeWrite = [](const QString&) {};
    std::vector<std::pair<qint64, qint64>> reads; // offset and length, in turn
    int writeOpens = 0;
    // What the BSD and the record lock calls answer (0 or an errno), in turn; once a list is used
    // up, the real call answers. lockCalls records each call: "b" or "r".
    std::deque<int> bsdAnswers, recordAnswers;
    std::string lockCalls;

private:
    std::unique_ptr<RomFileSystem> m_linux;
};

// Records what the About box asks of its music ("start FILE", "isPlaying", "stop") and answers
// isPlaying() with playing.
struct RecordingMusic final : Music {
    void start(const QString& file) override {
        calls.push_back("start " + file.toStdString());
        onStart();
    }
    bool isPlaying() override {
        calls.push_back("isPlaying");
        return playing;
    }
    void stop() override {
        calls.push_back("stop");
        onStop();
    }

    bool playing = true;
    std::function<void()> onStart = [] {};
    std::function<void()> onStop = [] {};
    std::vector<std::string> calls;
};

// A system information tool that is there or not, and counts its starts.
struct CountingSysInfo final : SystemInfoTool {
    bool start() override { return ++starts, available; }
    bool available = false;
    int starts = 0;
};
