// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "rom/romfilesystem.h"

#include <functional>
#include <memory>

// Linux keeps two kinds of lock apart, and other programs take one or the other: BSD locks
// (flock) and record locks (fcntl; the open-file-description kind, which also meets the classic
// per-process locks). Save and Reset take both.
struct LockCalls {
    // Each takes its kind of exclusive lock on the whole file without waiting: 0 when it holds
    // it, else the errno value.
    std::function<int(int fd)> bsd;
    std::function<int(int fd)> record;
};

// flock(2) and fcntl(2) F_OFD_SETLK.
LockCalls systemLockCalls();

// The Linux file system, taking its locks through calls. Its files' lockExclusive() tries both
// kinds, each until it answers something other than EINTR: in use when either says another program
// holds the file; ok when each is held or refused because the file system keeps no locks of its
// kind (ENOLCK, EOPNOTSUPP, ENOSYS, EINVAL); any other answer fails with its reason. Locks taken
// are held until the file closes.
std::unique_ptr<RomFileSystem> createLinuxFileSystem(LockCalls calls);
