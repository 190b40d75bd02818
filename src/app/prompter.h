// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <QString>
#include <QStringList>

class QObject;

// The program's only ways of talking to the user and of ending itself. Real implementations use
// Qt's modal dialogs; tests script the answers and record what was shown.

enum class MessageIcon { None, Information, Exclamation, Critical };
enum class MessageButtons { Ok, YesNo }; // with YesNo, Yes is the default button
enum class Answer { Ok, Yes, No };

struct Message {
    QString text; // may hold "\r\n" line breaks
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    QString title; // empty: the application title

    QString shownTitle() const;
};

// What the Open dialog offers: one filter, its name and its patterns; each system's dialog puts
// them in its own form.
struct OpenFileRequest {
    QString title;
    QString filterName;   // as shown, e.g. "ROM Files (*.bin)"
    QStringList patterns; // e.g. "*.bin", "*.gen"
};

// Every dialog and box belongs to owner, the window the user acted in, so that every window
// system keeps it above that window, which it blocks; null where no window is shown yet.
class Prompter {
public:
    virtual ~Prompter() = default;
    // Modal. The chosen file's full path, or empty text after Cancel.
    virtual QString askOpenFile(const OpenFileRequest& request, QObject* owner) = 0;
    // Modal. The button the user pressed.
    virtual Answer message(const Message& message, QObject* owner) = 0;
};

class Lifetime {
public:
    virtual ~Lifetime() = default;
    // Ends the program at once; the caller must return without doing anything more.
    virtual void endProgram() = 0;
};
