#pragma once

#include "about/registry.h"
#include "main/prompter.h"

#include <QString>

#include <functional>
#include <string>

// Finds the system information tool through two registry locations and starts it.
namespace sysinfo {

enum class KeyRead {
    Read,     // KeyVal holds the value
    NotFound, // no such key or value, or more data than the buffer holds; KeyVal is empty
    Failed,   // the value has no data at all; the caller reports it as a failure
};

// Reads value SubKeyRef of key KeyName under KeyRoot as text: REG_SZ without its terminating NUL,
// REG_DWORD as "&h" and its bytes most significant first (a leading zero byte dropped); any other
// type leaves KeyVal as it was.
KeyRead GetKeyValue(Registry& registry, quint32 KeyRoot, const std::string& KeyName,
                    const std::string& SubKeyRef, QString& KeyVal);

struct Platform {
    Registry& registry;
    std::function<bool(const QString& path)> plainFileExists; // not a folder, hidden or system file
    std::function<bool(const QString& commandLine)> launch;   // false when nothing could start
    Prompter& prompter;
};

void StartSysInfo(Platform& platform);

} // namespace sysinfo

namespace sysinfo {

// The platform's own file lookup and launcher.
bool systemPlainFileExists(const QString& path);
bool systemLaunch(const QString& commandLine);

} // namespace sysinfo
