// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// Opens the About box once, as the About button does, with the music taken from FOLDER and played
// through DRIVER ("default": FluidSynth's own choice), and prints three numbers: milliseconds from
// the click to the box's first paint, resident memory (KiB) just before the click, and the most
// resident memory seen during the 1.5 s after it. With CLOSE_AFTER_MS and the stand-in module,
// whose device takes 3 s to open, it closes the box that long after its first paint instead and
// prints how many milliseconds the close took.
#include "about/aboutapp.h"
#include "about/music_linux.h"
#include "app/prompter.h"
#include "firstpaint.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLibrary>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

class SilentPrompter final : public Prompter {
public:
    QString askOpenFile(const OpenFileRequest&, QObject*) override { return {}; }
    Answer message(const Message&, QObject*) override { return Answer::Ok; }
};

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: about_bench FOLDER MODULE DRIVER [CLOSE_AFTER_MS]\n");
        return 2;
    }
    const int closeAfterMs = argc > 4 ? std::atoi(argv[4]) : -1;
    QLibrary module(QString::fromLocal8Bit(argv[2]));
    if (const auto setOpenMs =
            reinterpret_cast<void (*)(int)>(module.resolve("standin_set_open_ms")))
        setOpenMs(3000);
    const QString driver = QString::fromLocal8Bit(argv[3]);
    const std::unique_ptr<Music> music = createFluidSynthMusic(
        {QString::fromLocal8Bit(argv[2]), driver == QLatin1String("default") ? QString() : driver,
         QStringLiteral("/dev/null")});
    SilentPrompter prompter;
    const std::unique_ptr<SystemInfoTool> sysInfo = createSystemInfoTool();
    AboutServices services{*music, *sysInfo, prompter, QString::fromLocal8Bit(argv[1]),
                           QLatin1Char('/')};
    QWidget mainWindow;
    mainWindow.resize(1000, 575);
    mainWindow.show();

    long before = 0;
    long most = 0;
    double shownMs = 0;
    QElapsedTimer clock;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        most = std::max(most, residentKiB());
        if (clock.elapsed() > 1500)
            QCoreApplication::exit(0);
    });
    QTimer::singleShot(300, [&] { // the main window is up and idle: click
        before = residentKiB();
        clock.start();
        AboutApp* box = AboutApp::show(mainWindow, services);
        new FirstPaint(box, [&, box] {
            shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            if (closeAfterMs < 0) {
                sampler.start(20);
                return;
            }
            QTimer::singleShot(closeAfterMs, [&, box] {
                QElapsedTimer closing;
                closing.start();
                box->close();
                std::printf("%.2f\n", static_cast<double>(closing.nsecsElapsed()) / 1e6);
                QCoreApplication::exit(0);
            });
        });
    });
    const int rc = QApplication::exec();
    if (closeAfterMs < 0)
        std::printf("%.2f %ld %ld\n", shownMs, before, most);
    return rc;
}
