// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/aboutapp.h"

#include "app/appidentity.h"
#include "app/linebreaks.h"
#include "app/prompter.h"
#include "ui/windowgeometry.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The boxes were sized for a narrow face; where the system's face is wider, shrink the text a
// little until all of it shows.
void fitToBox(QLabel* label) {
    QFont font = label->font();
    while (font.pointSizeF() > 6 && label->heightForWidth(label->width()) > label->height()) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
}

// The same for a button's caption, which must also keep clear of the button's frame.
void fitToButton(QPushButton* button, int margin) {
    QFont font = button->font();
    const QString shown = AboutApp::displayedCaption(button->text());
    while (font.pointSizeF() > 6 &&
           QFontMetrics(font).horizontalAdvance(shown) + 2 * margin > button->width()) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    button->setFont(font);
}

const QString acknowledgement = QStringLiteral(
    "We thank the track hackers of the Zoomlet mapping forums, whose careful notes on cartridge "
    "layouts made this editor possible, the Mega Drive homebrew community for its open tools and "
    "documents, and our tester, Pim Quellbrook, for racing every new build to the flag.");

// Whether the window is drawn light, as the box was designed for, or dark, as on a dark desktop.
bool isLight(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() >= 128;
}

} // namespace

AboutApp::AboutApp(QWidget& mainWindow, AboutServices& services)
    // Owned by the main window, so that every window system keeps it above that window; fixed in
    // size.
    : QWidget(&mainWindow, fixedSizeDialog), m_mainWindow(mainWindow), m_services(services) {
    setObjectName(QStringLiteral("aboutApp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twips(0, 0, 5730, 3555).size());

    m_iconLabel = makeLabel(this, "picIcon", twips(240, 240, 540, 540));
    m_iconLabel->setPixmap(QPixmap(QStringLiteral(":/lopwinder.xpm")));
    m_titleLabel = makeLabel(this, "lblTitle", twips(1050, 240, 3885, 480));
    m_descriptionLabel = makeLabel(this, "lblDescription", twips(1050, 720, 3885, 570));
    m_disclaimerLabel = makeLabel(this, "lblDisclaimer", twips(120, 1425, 4935, 810));
    m_versionLabel = makeLabel(this, "lblVersionInfo", twips(120, 2400, 4095, 1095));
    useWindowColours();

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("cmdOK"));
    m_okButton->setGeometry(twips(4365, 2625, 1260, 345));
    m_okButton->setDefault(true);
    m_sysInfoButton = new QPushButton(QStringLiteral("&System Info..."), this);
    m_sysInfoButton->setObjectName(QStringLiteral("cmdSysInfo"));
    m_sysInfoButton->setGeometry(twips(4380, 3075, 1245, 345));
    // Enter presses System Info only while it has the focus, OK otherwise.
    m_sysInfoButton->setAutoDefault(true);
    fitToButton(m_sysInfoButton, 8);
    setTabOrder(m_okButton, m_sysInfoButton);

    m_stillPlayingTimer = new QTimer(this);
    m_stillPlayingTimer->setObjectName(QStringLiteral("stillPlayingTimer"));
    m_stillPlayingTimer->setInterval(100);

    connect(m_okButton, &QPushButton::clicked, this, &QWidget::close);
    connect(m_sysInfoButton, &QPushButton::clicked, this, &AboutApp::onSysInfoClicked);
    connect(m_stillPlayingTimer, &QTimer::timeout, this, &AboutApp::onMusicPoll);

    loadTexts();
}

AboutApp::~AboutApp() {
    unload();
}

AboutApp* AboutApp::show(QWidget& mainWindow, AboutServices& services) {
    auto* box = new AboutApp(mainWindow, services);
    centreOnScreen(box);
    box->QWidget::show();
    box->m_okButton->setFocus();
    return box;
}

QString AboutApp::displayedCaption(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i; // "&&" keeps the second "&"; "&x" keeps the x
        shown += caption[i];
    }
    return shown;
}

QString AboutApp::programFile(const QString& folder, const QString& name, QChar separator) {
    return folder.endsWith(separator) ? folder + name : folder + separator + name;
}

void AboutApp::loadTexts() {
    const QString title = QString::fromLatin1(appidentity::title);
    setWindowTitle(QStringLiteral("About ") + title);
    // No separator between minor and revision: 1.1.0 reads "v1.10".
    // Kept on purpose: see HACKING.md, "Behaviour kept on purpose".
    m_titleLabel->setText(displayedCaption(QStringLiteral("%1, v%2.%3%4")
                                               .arg(title)
                                               .arg(appidentity::versionMajor)
                                               .arg(appidentity::versionMinor)
                                               .arg(appidentity::versionRevision)));
    m_descriptionLabel->setText(displayedCaption(QString::fromLatin1(appidentity::description)));
    m_disclaimerLabel->setText(displayedCaption(acknowledgement));
    m_versionLabel->setText(displayedCaption(withQtLineBreaks(
        QStringLiteral("Version History:\r\n"
                       "v1.00 (21/12/08) - Zoomlet 2 support added.\r\n"
                       "v1.10 (21/09/09) - Zoomlet 2 (J-Cart), Zoomlet 96, Zoomlet 96 (J-Cart) && "
                       "Zoomlet Military support added."))));

    for (QLabel* label : {m_titleLabel, m_descriptionLabel, m_disclaimerLabel, m_versionLabel})
        fitToBox(label);
}

// Whichever way the box is closed: the music first, then the main window is given back.
void AboutApp::unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_stillPlayingTimer->stop();
    m_services.music.stop();
    m_mainWindow.setEnabled(true);
}

void AboutApp::onSysInfoClicked() {
    if (!m_services.sysInfo.start()) {
        m_services.prompter.message(
            {QStringLiteral("System Information Is Unavailable At This Time"),
             MessageIcon::None,
             MessageButtons::Ok,
             {}},
            this);
    }
}

// The music plays once, from its start, while the box is open; the poll closes it when done.
void AboutApp::startMusic() {
    if (m_unloaded)
        return;
    m_stillPlayingTimer->start();
    // Kept on purpose: see HACKING.md, "Behaviour kept on purpose".
    m_services.music.start(programFile(m_services.programFolder,
                                       QStringLiteral("supplimentary.dat"), m_services.separator));
}

// A piece that has ended is closed, and never played again while the box stays open.
void AboutApp::onMusicPoll() {
    if (!m_services.music.isPlaying())
        m_services.music.stop();
}

void AboutApp::closeEvent(QCloseEvent* event) {
    unload();
    event->accept();
}

void AboutApp::keyPressEvent(QKeyEvent* event) {
    // OK is the cancel button too.
    if (event->key() == Qt::Key_Escape) {
        m_okButton->click();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !m_sysInfoButton->hasFocus()) {
        m_okButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AboutApp::useWindowColours() {
    // Black text on a light window, as designed; on a dark one, the theme's own light text.
    const QColor text =
        isLight(palette()) ? QColor(Qt::black) : palette().color(QPalette::WindowText);
    for (QLabel* label : {m_titleLabel, m_descriptionLabel, m_disclaimerLabel}) {
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, text);
        label->setPalette(colours);
    }
}

void AboutApp::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        useWindowColours();
    QWidget::changeEvent(event);
}

void AboutApp::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // An etched separator: a shadow line one pixel high with a light one two pixels high just below
    // it, grey and white on a light window, the theme's shadow and light on a dark one. Filled as
    // rectangles: a 2-pixel pen would straddle its line and paint over the shadow.
    const bool light = isLight(palette());
    QPainter painter(this);
    const QPoint below(0, 1);
    painter.fillRect(QRect(twips(90, 1365), twips(5654, 1365)),
                     light ? QColor(128, 128, 128) : palette().color(QPalette::Dark));
    painter.fillRect(QRect(twips(105, 1365) + below, twips(5654, 1365) + 2 * below),
                     light ? QColor(Qt::white) : palette().color(QPalette::Light));
    // The music starts once the box is on screen, right after its first paint, so that opening
    // its device never competes with that paint.
    if (!m_musicQueued) {
        m_musicQueued = true;
        QMetaObject::invokeMethod(this, &AboutApp::startMusic, Qt::QueuedConnection);
    }
}
