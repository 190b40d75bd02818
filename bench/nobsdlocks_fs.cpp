// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// nobsdlocks-fs BACKING MOUNTPOINT: a FUSE file system that passes every call through to the
// folder BACKING, except BSD locks: flock(2) answers EOPNOTSUPP, as on some FUSE and network
// mounts, while record locks are kept by the kernel as on any local file system. For measuring
// the ROM lock where only one of its two kinds exists. Runs in the foreground until unmounted.
#define FUSE_USE_VERSION 31
#include <fuse3/fuse.h>

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string backing;

std::string real(const char* path) {
    return backing + path;
}

int result(int value) {
    return value < 0 ? -errno : value;
}

int fsGetattr(const char* path, struct stat* st, fuse_file_info* fi) {
    return result(fi != nullptr ? ::fstat(static_cast<int>(fi->fh), st)
                                : ::lstat(real(path).c_str(), st));
}

int fsReaddir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
              fuse_readdir_flags) {
    DIR* dir = ::opendir(real(path).c_str());
    if (dir == nullptr)
        return -errno;
    while (const dirent* entry = ::readdir(dir))
        fill(buffer, entry->d_name, nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
    ::closedir(dir);
    return 0;
}

int fsOpen(const char* path, fuse_file_info* fi) {
    const int fd = ::open(real(path).c_str(), fi->flags);
    fi->fh = static_cast<uint64_t>(fd);
    return fd < 0 ? -errno : 0;
}

int fsCreate(const char* path, mode_t mode, fuse_file_info* fi) {
    const int fd = ::open(real(path).c_str(), fi->flags | O_CREAT, mode);
    fi->fh = static_cast<uint64_t>(fd);
    return fd < 0 ? -errno : 0;
}

int fsRead(const char*, char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
    return result(static_cast<int>(::pread(static_cast<int>(fi->fh), buffer, size, offset)));
}

int fsWrite(const char*, const char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
    return result(static_cast<int>(::pwrite(static_cast<int>(fi->fh), buffer, size, offset)));
}

int fsTruncate(const char* path, off_t size, fuse_file_info* fi) {
    return result(fi != nullptr ? ::ftruncate(static_cast<int>(fi->fh), size)
                                : ::truncate(real(path).c_str(), size));
}

int fsRelease(const char*, fuse_file_info* fi) {
    return result(::close(static_cast<int>(fi->fh)));
}

int fsFsync(const char*, int, fuse_file_info* fi) {
    return result(::fsync(static_cast<int>(fi->fh)));
}

int fsUnlink(const char* path) {
    return result(::unlink(real(path).c_str()));
}

int fsRename(const char* from, const char* to, unsigned int) {
    return result(::rename(real(from).c_str(), real(to).c_str()));
}

int fsChmod(const char* path, mode_t mode, fuse_file_info*) {
    return result(::chmod(real(path).c_str(), mode));
}

int fsUtimens(const char* path, const timespec times[2], fuse_file_info*) {
    return result(::utimensat(AT_FDCWD, real(path).c_str(), times, AT_SYMLINK_NOFOLLOW));
}

int fsFlock(const char*, fuse_file_info*, int) {
    return -EOPNOTSUPP;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: nobsdlocks-fs BACKING MOUNTPOINT\n");
        return 2;
    }
    backing = argv[1];
    fuse_operations operations{};
    operations.getattr = fsGetattr;
    operations.readdir = fsReaddir;
    operations.open = fsOpen;
    operations.create = fsCreate;
    operations.read = fsRead;
    operations.write = fsWrite;
    operations.truncate = fsTruncate;
    operations.release = fsRelease;
    operations.fsync = fsFsync;
    operations.unlink = fsUnlink;
    operations.rename = fsRename;
    operations.chmod = fsChmod;
    operations.utimens = fsUtimens;
    operations.flock = fsFlock;
    char* args[] = {argv[0], const_cast<char*>("-f"), argv[2]};
    return fuse_main(3, args, &operations, nullptr);
}
