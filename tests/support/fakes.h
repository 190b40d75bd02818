#pragma once

#include "app/prompter.h"
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

    QString openAnswer;         // what the Open dialog returns
    std::deque<Answer> answers; // answers to Yes/No boxes, in turn; No when empty
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
    // Truncate: another program empties the file just before the write.
    enum class Fault { None, OpenForWrite, WriteNothing, ShortWrite, Truncate, Flush, Close };

    FileStatus stat(const QString& path) override;
    IoResult readAt(const QString& path, qint64 offset, qint64 length, std::string& out) override;
    std::unique_ptr<RomFile> openExisting(const QString& path, IoResult& result) override;

    bool failReads = false;
    int vanishAfterReads = -1; // the file is deleted before the read after this many

    Fault fault = Fault::None;
    std::vector<Read> reads;
    int writeOpens = 0;
};

#include "about/mci.h"
#include "about/registry.h"

#include <map>
#include <string>

// Records every MCI command and answers "status" with statusReply.
class RecordingMci final : public Mci {
public:
    std::uint32_t sendString(const std::string& command, char* reply,
                             std::uint32_t capacity) override;

    std::string statusReply = "stopped";
    std::function<void(const std::string&)> onCommand;
    std::vector<std::string> commands;
    std::vector<std::uint32_t> capacities;
};

// A registry holding exactly the keys and values a test puts in it.
class ScriptedRegistry final : public Registry {
public:
    struct Value {
        std::uint32_t type;
        std::string data;
    };
    void put(const std::string& key, const std::string& name, std::uint32_t type,
             std::string data) {
        m_values[key][name] = {type, std::move(data)};
    }
    void addKey(const std::string& key) { m_values[key]; }

    long openKey(std::uint32_t root, const std::string& path, std::uint32_t access,
                 Key& key) override;
    long queryValue(Key key, const std::string& name, std::uint32_t& type, unsigned char* data,
                    std::uint32_t& size) override;
    void closeKey(Key key) override;

    std::vector<std::string> opened; // key paths, in order
    std::vector<std::uint32_t> accessRequested;
    int openKeys = 0; // open minus closed

private:
    std::map<std::string, std::map<std::string, Value>> m_values;
    std::vector<std::string> m_handles;
};
