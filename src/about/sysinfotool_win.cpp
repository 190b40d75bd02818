// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/sysinfo_win.h"
#include "about/sysinfotool.h"

namespace {

class Msinfo32 final : public SystemInfoTool {
public:
    bool start() override {
        sysinfo::Platform platform{*m_registry, sysinfo::systemPlainFileExists,
                                   sysinfo::systemLaunch};
        return sysinfo::launchSysInfo(platform);
    }

private:
    std::unique_ptr<Registry> m_registry = sysinfo::createSystemRegistry();
};

} // namespace

std::unique_ptr<SystemInfoTool> createSystemInfoTool() {
    return std::make_unique<Msinfo32>();
}
