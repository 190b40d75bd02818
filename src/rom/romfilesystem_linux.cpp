// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "rom/romfilesystem_linux.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {

// Paths go to the kernel in the file system's own encoding, so blanks and non-ASCII names work.
QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

QString errnoReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

FileStatus fromStat(const struct stat& st) {
    FileStatus status;
    status.exists = true;
    status.regular = S_ISREG(st.st_mode);
    status.size = static_cast<qint64>(st.st_size);
    return status;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            if (m_fd >= 0)
                ::close(m_fd);
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    // Closes now and reports the result; a failed close can mean data never reached the disk. The
    // number is given up in the same step, so that the destructor never closes it a second time.
    int release() { return ::close(std::exchange(m_fd, -1)); }

private:
    int m_fd;
};

// O_NONBLOCK: a FIFO or device put at the path must not hang the program in open(), and a file
// another program holds a lease on is refused at once rather than waited for. The type is then
// checked on the descriptor itself, so nothing can be swapped in between.
IoResult openPlainFile(const QString& path, int access, FileDescriptor& fd) {
    fd = FileDescriptor(
        ::open(nativePath(path).constData(), access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == EWOULDBLOCK || error == EAGAIN)
            return IoResult::heldElsewhere();
        return IoResult::failure(errnoReason(error));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return IoResult::failure(errnoReason(errno));
    if (!S_ISREG(st.st_mode))
        return IoResult::failure(QString::fromLatin1(iotexts::notAPlainFile));
    return IoResult::success();
}

IoResult readDescriptor(int fd, qint64 offset, qint64 length, std::string& out) {
    out.clear();
    if (const IoResult position = checkPosition(offset, length); !position.ok())
        return position;
    out.resize(static_cast<std::size_t>(length));
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(fd, out.data() + done, out.size() - done,
                                  static_cast<off_t>(offset + static_cast<qint64>(done)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            out.clear();
            return IoResult::failure(errnoReason(error));
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    out.resize(done);
    return IoResult::success();
}

enum class LockAnswer { Held, InUse, NoLocks, Failed };

LockAnswer classify(int error) {
    switch (error) {
    case 0:
        return LockAnswer::Held;
    case EWOULDBLOCK: // EAGAIN too
    case EACCES:
        return LockAnswer::InUse;
    case ENOLCK:
    case EOPNOTSUPP:
    case ENOSYS:
    case EINVAL:
        return LockAnswer::NoLocks;
    default:
        return LockAnswer::Failed;
    }
}

int untilAnswered(const std::function<int(int)>& call, int fd) {
    int error = 0;
    do
        error = call(fd);
    while (error == EINTR);
    return error;
}

IoResult lockBoth(int fd, const LockCalls& calls) {
    // The record kind is asked even where the BSD kind is refused or fails: a file system may keep
    // one kind only, and a program holding the kind it keeps must still be met. Once the BSD kind
    // is held elsewhere the answer is known, and taking the record kind then could only make
    // another save, the one holding the BSD kind, fail as well: none would be saved.
    const int bsd = untilAnswered(calls.bsd, fd);
    if (classify(bsd) == LockAnswer::InUse)
        return IoResult::heldElsewhere();
    const int record = untilAnswered(calls.record, fd);
    if (classify(record) == LockAnswer::InUse)
        return IoResult::heldElsewhere();
    for (const int error : {bsd, record}) {
        if (classify(error) == LockAnswer::Failed)
            return IoResult::failure(errnoReason(error));
    }
    return IoResult::success();
}

class LinuxRomFile final : public RomFile {
public:
    LinuxRomFile(FileDescriptor fd, LockCalls locks)
        : m_fd(std::move(fd)), m_locks(std::move(locks)) {}

    IoResult size(qint64& size) override {
        struct stat st {};
        if (::fstat(m_fd.get(), &st) != 0)
            return IoResult::failure(errnoReason(errno));
        size = static_cast<qint64>(st.st_size);
        return IoResult::success();
    }

    IoResult lockExclusive() override { return lockBoth(m_fd.get(), m_locks); }

    IoResult readAt(qint64 offset, qint64 length, std::string& out) override {
        return readDescriptor(m_fd.get(), offset, length, out);
    }

    IoResult writeAt(qint64 offset, const std::string& bytes) override {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pwrite(m_fd.get(), bytes.data() + done, bytes.size() - done,
                                       static_cast<off_t>(offset + static_cast<qint64>(done)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return IoResult::failure(errnoReason(errno));
            if (n == 0)
                return IoResult::failure(QString::fromLatin1(iotexts::partWritten));
            done += static_cast<std::size_t>(n);
        }
        return IoResult::success();
    }

    IoResult flush() override {
        if (::fsync(m_fd.get()) != 0)
            return IoResult::failure(errnoReason(errno));
        return IoResult::success();
    }

    IoResult close() override {
        if (m_fd.get() < 0)
            return IoResult::success();
        if (m_fd.release() != 0)
            return IoResult::failure(errnoReason(errno));
        return IoResult::success();
    }

private:
    FileDescriptor m_fd;
    LockCalls m_locks;
};

class LinuxFileSystem final : public RomFileSystem {
public:
    explicit LinuxFileSystem(LockCalls locks) : m_locks(std::move(locks)) {}

    FileStatus stat(const QString& path) override {
        struct stat st {};
        if (path.isEmpty() || ::stat(nativePath(path).constData(), &st) != 0)
            return {};
        return fromStat(st);
    }

    IoResult readAt(const QString& path, qint64 offset, qint64 length, std::string& out) override {
        out.clear();
        FileDescriptor fd(-1);
        if (const IoResult opened = openPlainFile(path, O_RDONLY, fd); !opened.ok())
            return opened;
        if (const IoResult read = readDescriptor(fd.get(), offset, length, out); !read.ok())
            return read;
        if (fd.release() != 0) {
            out.clear();
            return IoResult::failure(errnoReason(errno));
        }
        return IoResult::success();
    }

    std::unique_ptr<RomFile> openExisting(const QString& path, IoResult& result) override {
        // No O_CREAT: a ROM that vanished since start-up must not come back as an empty file.
        FileDescriptor fd(-1);
        result = openPlainFile(path, O_RDWR, fd);
        if (!result.ok())
            return nullptr;
        return std::make_unique<LinuxRomFile>(std::move(fd), m_locks);
    }

private:
    LockCalls m_locks;
};

} // namespace

LockCalls systemLockCalls() {
    return {[](int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno; },
            [](int fd) {
                struct flock whole {};
                whole.l_type = F_WRLCK;
                whole.l_whence = SEEK_SET; // start and length 0: the whole file, however long
                return ::fcntl(fd, F_OFD_SETLK, &whole) == 0 ? 0 : errno;
            }};
}

std::unique_ptr<RomFileSystem> createLinuxFileSystem(LockCalls calls) {
    return std::make_unique<LinuxFileSystem>(std::move(calls));
}

RomFileSystem& systemFileSystem() {
    static LinuxFileSystem fileSystem(systemLockCalls());
    return fileSystem;
}
