// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "rom/iotexts.h"

#include <QString>
#include <QtGlobal>

#include <memory>
#include <string>
#include <utility>

// The file system as the ROM code sees it. The platform implementation is chosen at build time;
// tests wrap it to count reads and to inject each kind of failure.

struct FileStatus {
    bool exists = false;
    bool regular = false; // a plain file, not a directory or device
    qint64 size = 0;
};

// What a file operation did: succeeded, found the file held by another program (no reason: the
// caller says it in its own words), or failed with a reason fit to show, the system's own words or,
// where it gave none, "The system gave no reason.". Success is only ever said: a result nobody set
// is a failure.
class IoResult {
public:
    IoResult() = default;
    static IoResult success() { return IoResult(Kind::Done, {}); }
    static IoResult heldElsewhere() { return IoResult(Kind::InUse, {}); }
    static IoResult failure(QString reason) { return IoResult(Kind::Failed, std::move(reason)); }

    bool ok() const { return m_kind == Kind::Done; }
    bool inUse() const { return m_kind == Kind::InUse; }
    // Empty unless the operation failed.
    QString reason() const {
        if (m_kind != Kind::Failed)
            return {};
        return m_reason.isEmpty() ? QString::fromLatin1(iotexts::noReason) : m_reason;
    }

private:
    enum class Kind { Failed, Done, InUse };
    IoResult(Kind kind, QString reason) : m_kind(kind), m_reason(std::move(reason)) {}
    Kind m_kind = Kind::Failed;
    QString m_reason;
};

// The one check of a position asked for, whatever the system: ok, or "Invalid position." for a
// negative offset or length.
inline IoResult checkPosition(qint64 offset, qint64 length) {
    if (offset < 0 || length < 0)
        return IoResult::failure(QStringLiteral("Invalid position."));
    return IoResult::success();
}

// An existing plain file opened for reading and writing. Closes itself if the caller did not.
class RomFile {
public:
    virtual ~RomFile() = default;
    // The file's size now, into size; on failure size is left as it was.
    virtual IoResult size(qint64& size) = 0;
    // Takes an exclusive lock on the whole file without waiting; it lasts until close. ok: locked,
    // or the file system keeps no locks at all (some network mounts), so the caller goes on
    // without one; inUse: another program holds a lock on the file; else the reason it failed.
    virtual IoResult lockExclusive() = 0;
    // Reads up to length bytes at offset into out; fewer when the file ends first.
    virtual IoResult readAt(qint64 offset, qint64 length, std::string& out) = 0;
    // Writes all of bytes at offset, or fails; a partial write is a failure.
    virtual IoResult writeAt(qint64 offset, const std::string& bytes) = 0;
    // Makes the written bytes durable on the storage device.
    virtual IoResult flush() = 0;
    virtual IoResult close() = 0;
};

class RomFileSystem {
public:
    virtual ~RomFileSystem() = default;
    virtual FileStatus stat(const QString& path) = 0;
    // Opens, reads up to length bytes at offset into out (fewer when the file ends first) and
    // closes again. Fails for anything but a plain file.
    virtual IoResult readAt(const QString& path, qint64 offset, qint64 length,
                            std::string& out) = 0;
    // Opens an existing plain file for reading and writing: never creates one, never truncates,
    // and never waits on a device or pipe that was put at the path. A file another program keeps
    // from being opened (a lease, a share mode) fails with inUse set.
    virtual std::unique_ptr<RomFile> openExisting(const QString& path, IoResult& result) = 0;
};

// The platform's real file system.
RomFileSystem& systemFileSystem();
