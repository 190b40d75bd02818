#include "about/sysinfo.h"

#include <QFileInfo>
#include <QProcess>

namespace sysinfo {

bool systemPlainFileExists(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

bool systemLaunch(const QString& commandLine) {
    // The text names the program itself; no shell ever sees it.
    return !commandLine.isEmpty() && QProcess::startDetached(commandLine, {});
}

} // namespace sysinfo
