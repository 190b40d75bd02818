#include "support/fakes.h"

#include <QFile>

QString ScriptedPrompter::askOpenFile(const OpenFileRequest& request) {
    openRequests.push_back(request);
    return openAnswer;
}

Answer ScriptedPrompter::message(const Message& message) {
    messages.push_back(message);
    if (onMessage)
        onMessage(message);
    if (message.buttons == MessageButtons::Ok)
        return Answer::Ok;
    if (answers.empty())
        return Answer::No;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

namespace {

// Passes through to a real file, failing at the chosen step.
class FaultyFile final : public RomFile {
public:
    FaultyFile(std::unique_ptr<RomFile> file, ScriptedFileSystem::Fault fault, QString path)
        : m_file(std::move(file)), m_fault(fault), m_path(std::move(path)) {}
    FileStatus status() override { return m_file->status(); }
    IoResult readAt(qint64 offset, qint64 length, std::string& out) override {
        return m_file->readAt(offset, length, out);
    }
    IoResult writeAt(qint64 offset, const std::string& bytes) override {
        using Fault = ScriptedFileSystem::Fault;
        if (m_fault == Fault::WriteNothing)
            return {QStringLiteral("Input/output error")};
        if (m_fault == Fault::Truncate)
            QFile::resize(m_path, 0);
        if (m_fault == Fault::ShortWrite) {
            // The first half reaches the file, as when the disk fills up midway.
            const IoResult half = m_file->writeAt(offset, bytes.substr(0, bytes.size() / 2));
            return half.ok() ? IoResult{QStringLiteral("No space left on device")} : half;
        }
        return m_file->writeAt(offset, bytes);
    }
    IoResult flush() override {
        if (m_fault == ScriptedFileSystem::Fault::Flush)
            return {QStringLiteral("Input/output error")};
        return m_file->flush();
    }
    IoResult close() override {
        const IoResult closed = m_file->close();
        if (m_fault == ScriptedFileSystem::Fault::Close)
            return {QStringLiteral("Input/output error")};
        return closed;
    }

private:
    std::unique_ptr<RomFile> m_file;
    ScriptedFileSystem::Fault m_fault;
    QString m_path;
};

} // namespace

FileStatus ScriptedFileSystem::stat(const QString& path) {
    return systemFileSystem().stat(path);
}

IoResult ScriptedFileSystem::readAt(const QString& path, qint64 offset, qint64 length,
                                    std::string& out) {
    reads.push_back({path, offset, length});
    if (vanishAfterReads >= 0 && reads.size() > static_cast<std::size_t>(vanishAfterReads))
        QFile::remove(path);
    if (failReads) {
        out.clear();
        return {QStringLiteral("Permission denied")};
    }
    return systemFileSystem().readAt(path, offset, length, out);
}

std::unique_ptr<RomFile> ScriptedFileSystem::openExisting(const QString& path, IoResult& result) {
    ++writeOpens;
    if (fault == Fault::OpenForWrite) {
        result = {QStringLiteral("Permission denied")};
        return nullptr;
    }
    std::unique_ptr<RomFile> file = systemFileSystem().openExisting(path, result);
    if (!file)
        return nullptr;
    return std::make_unique<FaultyFile>(std::move(file), fault, path);
}

#include <cstring>

std::uint32_t RecordingMci::sendString(const std::string& command, char* reply,
                                       std::uint32_t capacity) {
    commands.push_back(command);
    capacities.push_back(capacity);
    if (onCommand)
        onCommand(command);
    if (reply != nullptr && capacity > 0) {
        const std::string answer = command.rfind("status", 0) == 0 ? statusReply : "";
        std::strncpy(reply, answer.c_str(), capacity - 1);
        reply[capacity - 1] = '\0';
    }
    return 0;
}

long ScriptedRegistry::openKey(std::uint32_t root, const std::string& path, std::uint32_t access,
                               Key& key) {
    opened.push_back(path);
    accessRequested.push_back(access);
    if (root != localMachine || !m_values.count(path))
        return errorNotFound;
    m_handles.push_back(path);
    key = m_handles.size();
    ++openKeys;
    return 0;
}

long ScriptedRegistry::queryValue(Key key, const std::string& name, std::uint32_t& type,
                                  unsigned char* data, std::uint32_t& size) {
    const auto& values = m_values.at(m_handles.at(key - 1));
    const auto found = values.find(name);
    if (found == values.end())
        return errorNotFound;
    if (found->second.data.size() > size)
        return errorMoreData;
    std::memcpy(data, found->second.data.data(), found->second.data.size());
    size = static_cast<std::uint32_t>(found->second.data.size());
    type = found->second.type;
    return 0;
}

void ScriptedRegistry::closeKey(Key) {
    --openKeys;
}
