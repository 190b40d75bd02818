// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "support/fakes.h"

#include "rom/romfilesystem_linux.h"

#include <QFile>

QString ScriptedPrompter::askOpenFile(const OpenFileRequest& request, QObject* owner) {
    openRequests.push_back(request);
    owners.push_back(owner);
    return openAnswer;
}

Answer ScriptedPrompter::message(const Message& message, QObject* owner) {
    messages.push_back(message);
    owners.push_back(owner);
    if (onMessage)
        onMessage(message);
    if (message.buttons == MessageButtons::Ok)
        return Answer::Ok;
    const Answer answer = answers.empty() ? Answer::No : answers.front();
    if (!answers.empty())
        answers.pop_front();
    return answer;
}

namespace {

const IoResult ioError = IoResult::failure(QStringLiteral("Input/output error"));

// Passes through to a real file, failing at the chosen step.
struct FaultyFile final : RomFile {
    FaultyFile(std::unique_ptr<RomFile> real, Fault chosen, QString at,
               std::function<void(const QString&)> beforeWrite)
        : file(std::move(real)), fault(chosen), path(std::move(at)),
          before(std::move(beforeWrite)) {}
    IoResult size(qint64& size) override {
        if (fault == Fault::Size || (fault == Fault::SizeAfterWrite && writeTried))
            return ioError;
        return file->size(size);
    }
    IoResult lockExclusive() override { return file->lockExclusive(); }
    IoResult readAt(qint64 offset, qint64 length, std::string& out) override {
        if (fault == Fault::Read)
            return IoResult::failure({});
        return file->readAt(offset, length, out);
    }
    IoResult writeAt(qint64 offset, const std::string& bytes) override {
        writeTried = true;
        before(path);
        if (fault == Fault::Truncate)
            QFile::resize(path, 0);
        if (fault != Fault::ShortWrite)
            return file->writeAt(offset, bytes);
        // The first half reaches the file, as when the disk fills up midway.
        const IoResult half = file->writeAt(offset, bytes.substr(0, bytes.size() / 2));
        return half.ok() ? IoResult::failure(QStringLiteral("No space left on device")) : half;
    }
    IoResult flush() override { return fault == Fault::Flush ? ioError : file->flush(); }
    IoResult close() override {
        const IoResult closed = file->close();
        return fault == Fault::Close ? ioError : closed;
    }

    std::unique_ptr<RomFile> file;
    Fault fault;
    QString path;
    std::function<void(const QString&)> before;
    bool writeTried = false;
};

} // namespace

ScriptedFileSystem::ScriptedFileSystem() {
    const LockCalls real = systemLockCalls();
    const auto scripted = [this](std::deque<int>& answers, const std::function<int(int)>& call,
                                 char name) {
        return [this, &answers, call, name](int fd) {
            lockCalls += name;
            if (answers.empty())
                return call(fd);
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        };
    };
    m_linux = createLinuxFileSystem(
        {scripted(bsdAnswers, real.bsd, 'b'), scripted(recordAnswers, real.record, 'r')});
}

IoResult ScriptedFileSystem::readAt(const QString& path, qint64 offset, qint64 length,
                                    std::string& out) {
    reads.emplace_back(offset, length);
    if (vanishAfterReads >= 0 && reads.size() > static_cast<std::size_t>(vanishAfterReads))
        QFile::remove(path);
    if (failReads) {
        out.clear();
        return IoResult::failure(QStringLiteral("Permission denied"));
    }
    return systemFileSystem().readAt(path, offset, length, out);
}

std::unique_ptr<RomFile> ScriptedFileSystem::openExisting(const QString& path, IoResult& result) {
    ++writeOpens;
    if (fault == Fault::OpenForWrite) {
        result = IoResult::failure(QStringLiteral("Permission denied"));
        return nullptr;
    }
    std::unique_ptr<RomFile> file = m_linux->openExisting(path, result);
    return file ? std::make_unique<FaultyFile>(std::move(file), fault, path, beforeWrite) : nullptr;
}
