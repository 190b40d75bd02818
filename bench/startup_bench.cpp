// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// Runs Lopwinder's real start-up on ROM (the Open dialog's answer given through the prompter
// seam), ends once the main window has painted with every list filled. With --save it then
// presses "Save Changes" first. Any message box other than the save's confirmation is a failure.
#include "about/aboutapp.h"
#include "firstpaint.h"
#include "main/mainwindow.h"
#include "main/qtlifetime.h"
#include "main/qtprompter.h"

#include <QApplication>
#include <QPushButton>

#include <cstdio>
#include <cstring>

namespace {

class AnsweringPrompter final : public Prompter {
public:
    explicit AnsweringPrompter(QString path) : m_path(std::move(path)) {}
    QString askOpenFile(const OpenFileRequest&, QObject*) override { return m_path; }
    Answer message(const Message& message, QObject*) override {
        if (message.text != QLatin1String("File saved successfully.")) {
            std::fprintf(stderr, "startup_bench: unexpected message: %s\n",
                         qPrintable(message.text));
            std::exit(1);
        }
        return Answer::Ok;
    }

private:
    QString m_path;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_bench ROM [--save]\n");
        return 2;
    }
    const bool save = argc > 2 && std::strcmp(argv[2], "--save") == 0;
    AnsweringPrompter prompter(QString::fromLocal8Bit(argv[1]));
    QtLifetime lifetime;
    MainWindow window({systemFileSystem(), prompter, lifetime, {}});
    window.loadRom();
    if (lifetime.ended())
        return 1;
    FirstPaint painted(&window, [&] {
        announcePainted();
        if (save)
            window.saveButton()->click();
        QCoreApplication::exit(0);
    });
    window.show();
    return QApplication::exec();
}
