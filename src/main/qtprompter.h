#pragma once

#include "app/prompter.h"

#include <QStringList>

#include <memory>

class QFileDialog;

// Qt's own modal file dialog and message boxes.
class QtPrompter final : public Prompter {
public:
    QtPrompter();
    ~QtPrompter() override;
    QString askOpenFile(const OpenFileRequest& request) override;
    Answer message(const Message& message) override;

    // "Desc|*.a;*.b" as Qt name filters: "Desc (*.a *.b)".
    static QStringList qtNameFilters(const QString& filter);

private:
    std::unique_ptr<QFileDialog> m_openDialog;
};

// Ends the program: leaves the event loop, or tells main() not to enter it.
class QtLifetime final : public Lifetime {
public:
    void endProgram() override;
    bool ended() const { return m_ended; }

private:
    bool m_ended = false;
};
