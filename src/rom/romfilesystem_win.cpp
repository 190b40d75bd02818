// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// The ROM file system on Windows: Qt's UTF-16 paths go to the wide-character API unchanged.
#include "rom/romfilesystem.h"

#include "rom/win32file.h"

namespace {

FileStatus fromWin32(const win32file::Status& status) {
    return {status.exists, status.regular, status.size};
}

IoResult result(const win32file::Result& result) {
    if (result.done)
        return IoResult::success();
    if (result.inUse)
        return IoResult::heldElsewhere();
    return IoResult::failure(QString::fromStdString(result.reason));
}

class WinRomFile final : public RomFile {
public:
    explicit WinRomFile(std::unique_ptr<win32file::File> file) : m_file(std::move(file)) {}
    IoResult size(qint64& size) override {
        std::int64_t bytes = 0;
        const IoResult queried = result(m_file->size(bytes));
        if (queried.ok())
            size = bytes;
        return queried;
    }
    IoResult lockExclusive() override { return result(m_file->lockAll()); }
    IoResult readAt(qint64 offset, qint64 length, std::string& out) override {
        if (const IoResult position = checkPosition(offset, length); !position.ok())
            return position;
        return result(m_file->readAt(offset, length, out));
    }
    IoResult writeAt(qint64 offset, const std::string& bytes) override {
        return result(m_file->writeAt(offset, bytes));
    }
    IoResult flush() override { return result(m_file->flush()); }
    IoResult close() override { return result(m_file->close()); }

private:
    std::unique_ptr<win32file::File> m_file;
};

class WinFileSystem final : public RomFileSystem {
public:
    FileStatus stat(const QString& path) override {
        return fromWin32(win32file::stat(path.toStdWString()));
    }
    IoResult readAt(const QString& path, qint64 offset, qint64 length, std::string& out) override {
        if (const IoResult position = checkPosition(offset, length); !position.ok())
            return position;
        return result(win32file::readAt(path.toStdWString(), offset, length, out));
    }
    std::unique_ptr<RomFile> openExisting(const QString& path, IoResult& opened) override {
        win32file::Result reply;
        auto file = win32file::File::openExisting(path.toStdWString(), reply);
        opened = result(reply);
        if (!file)
            return nullptr;
        return std::make_unique<WinRomFile>(std::move(file));
    }
};

} // namespace

RomFileSystem& systemFileSystem() {
    static WinFileSystem fileSystem;
    return fileSystem;
}
