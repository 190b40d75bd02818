// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// Linux has no registry: this read-only stand-in answers the two places the System Info button
// asks, from what is installed. The first place ("PATH") names the first system information
// program found; the second (a folder holding MSINFO32.EXE) has no counterpart here and is absent.
#include "about/registry.h"

#include <QStandardPaths>
#include <QStringList>

#include <cstring>

namespace {

constexpr Registry::Key toolKey = 1;

class StandInRegistry final : public Registry {
public:
    long openKey(std::uint32_t root, const std::string& path, std::uint32_t, Key& key) override {
        if (root != localMachine || path != "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO")
            return errorNotFound;
        key = toolKey;
        return 0;
    }

    long queryValue(Key key, const std::string& name, std::uint32_t& type, unsigned char* data,
                    std::uint32_t& size) override {
        if (key != toolKey || name != "PATH")
            return errorNotFound;
        const QByteArray tool = installedTool().toLocal8Bit();
        if (tool.isEmpty())
            return errorNotFound;
        const auto needed =
            static_cast<std::uint32_t>(tool.size() + 1); // with its NUL, as REG_SZ keeps it
        if (needed > size)
            return errorMoreData;
        std::memcpy(data, tool.constData(), needed);
        type = typeText;
        size = needed;
        return 0;
    }

    void closeKey(Key) override {}

private:
    static QString installedTool() {
        const QStringList tools{QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
                                QStringLiteral("gnome-system-monitor"),
                                QStringLiteral("mate-system-monitor"),
                                QStringLiteral("xfce4-taskmanager")};
        for (const QString& tool : tools) {
            const QString path = QStandardPaths::findExecutable(tool);
            if (!path.isEmpty())
                return path;
        }
        return {};
    }
};

} // namespace

std::unique_ptr<Registry> createSystemRegistry() {
    return std::make_unique<StandInRegistry>();
}
