#pragma once

#include "app/prompter.h"

#include <QStringList>

// Qt's own modal file dialog and message boxes.
class QtPrompter final : public Prompter {
public:
    QString askOpenFile(const OpenFileRequest& request) override;
    Answer message(const Message& message) override;

    // "Desc|*.a;*.b" as Qt name filters: "Desc (*.a *.b)".
    static QStringList qtNameFilters(const QString& filter);
};

// Ends the program: leaves the event loop, or tells main() not to enter it.
class QtLifetime final : public Lifetime {
public:
    void endProgram() override;
    bool ended() const { return m_ended; }

private:
    bool m_ended = false;
};
