#pragma once

#include "main/prompter.h"
#include "rom/romfilesystem.h"

#include <deque>
#include <functional>
#include <vector>

// Answers dialogs from a script and records every message and the program's end.
class ScriptedPrompter final : public Prompter, public Lifetime {
public:
    QString askOpenFile(const OpenFileRequest& request) override;
    Answer message(const Message& message) override;
    void endProgram() override { ++endCount; }

    QString openAnswer;           // what the Open dialog returns
    std::deque<Answer> answers;   // answers to Yes/No boxes, in turn; No when empty
    std::function<void(const Message&)> onMessage; // runs while the box would be open

    std::vector<OpenFileRequest> openRequests;
    std::vector<Message> messages;
    int endCount = 0;
};

// The real file system, with every read recorded and chosen failures injected.
class ScriptedFileSystem final : public RomFileSystem {
public:
    struct Read {
        QString path;
        qint64 offset;
        qint64 length;
        bool operator==(const Read&) const = default;
    };
    enum class Fault { None, OpenForWrite, WriteNothing, ShortWrite, Flush, Close };

    FileStatus stat(const QString& path) override;
    IoResult readAt(const QString& path, qint64 offset, qint64 length, std::string& out) override;
    std::unique_ptr<RomFile> openExisting(const QString& path, IoResult& result) override;

    bool failReads = false;
    Fault fault = Fault::None;
    std::vector<Read> reads;
    int writeOpens = 0;
};
