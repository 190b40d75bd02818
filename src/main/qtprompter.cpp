#include "main/qtprompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>

QStringList QtPrompter::qtNameFilters(const QString& filter) {
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters;
}

QtPrompter::QtPrompter() = default;

QtPrompter::~QtPrompter() {
    // Qt's Open dialog records its folder history in the user's settings (the registry, on
    // Windows) when it is destroyed. The program keeps no settings, and asks once per run, so the
    // dialog is left for the system to reclaim with the process.
    static_cast<void>(m_openDialog.release());
}

QString QtPrompter::askOpenFile(const OpenFileRequest& request) {
    if (!m_openDialog)
        m_openDialog = std::make_unique<QFileDialog>();
    QFileDialog& dialog = *m_openDialog;
    dialog.setWindowTitle(request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name need not exist: the caller reports it as no ROM chosen.
    dialog.setFileMode(QFileDialog::AnyFile);
    // Show only the description; the patterns are in it already for the first entry.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

Answer QtPrompter::message(const Message& message) {
    static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                  QMessageBox::Warning, QMessageBox::Critical};
    QString text = message.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(icons[static_cast<int>(message.icon)], message.shownTitle(), text);
    if (message.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int pressed = box.exec();
    if (message.buttons == MessageButtons::Ok)
        return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtLifetime::endProgram() {
    m_ended = true;
    // Hidden at once so nothing more can be clicked while the event loop winds down.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}
