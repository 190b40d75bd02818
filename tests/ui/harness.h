// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "main/mainwindow.h"
#include "romimage/romimage.h"
#include "support/fakes.h"

#include <QComboBox>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// A main window wired to a scripted user and file system, started on a synthetic image.
struct Harness {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ScriptedFileSystem fs;
    std::unique_ptr<MainWindow> window;
    std::function<void(QWidget&)> showAbout = [](QWidget&) {};

    MainWindow& start(const QString& path) {
        prompter.openAnswer = path;
        window = std::make_unique<MainWindow>(
            MainWindowServices{fs, prompter, prompter, [this](QWidget& main) { showAbout(main); }});
        window->loadRom();
        return *window;
    }
    QString image(std::string_view variant, const std::string& bytes = {}) {
        return romimage::writeFile(dir.path(), "rom.bin",
                                   bytes.empty() ? romimage::build(variant) : bytes);
    }
    QStringList messageTexts() const {
        QStringList texts;
        for (const Message& m : prompter.messages)
            texts << m.text;
        return texts;
    }
};
