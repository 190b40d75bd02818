// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/aboutapp.h"
#include "about/mci_linux.h"
#include "harness.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

using Commands = std::vector<std::string>;
const Commands started{"open \"/opt/my games/supplimentary.dat\" type sequencer alias midwhee",
                       "play midwhee"};

// A main window on a Zoomlet 2 image whose About button opens the real About box over fakes.
struct AboutHarness : Harness {
    RecordingMci mci;
    ScriptedRegistry registry;
    Commands launched;
    AboutServices services;
    QPointer<AboutApp> box;

    // A root folder's path ends in its separator, not to be doubled.
    explicit AboutHarness(Mci* music = nullptr, const QString& folder = "/opt/my games/")
        : services{music ? *music : mci,
                   {registry, [](const std::string&) { return false; },
                    [this](const std::string& line) { return launched.push_back(line), true; }},
                   prompter,
                   folder,
                   '/'} {
        showAbout = [this](QWidget* main) { box = AboutApp::show(main, services); };
        start(image("Zoomlet 2"));
        window->show();
        window->about()->click();
    }
    int count(const std::string& command) const {
        return static_cast<int>(std::count(mci.commands.begin(), mci.commands.end(), command));
    }
};

} // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void textsAndLayout();
    void musicSysInfoAndClosing();
    void closingNeverWaitsForTheMusicDevice();
};

void AboutTest::textsAndLayout() {
    AboutHarness h;
    AboutApp* box = h.box;
    QCOMPARE(
        QStringList({box->objectName(), box->windowTitle(), box->lblTitle()->text(),
                     box->lblDescription()->text(), box->cmdSysInfo()->text()}),
        QStringList({"aboutApp", "About Lopwinder", "Lopwinder, v1.10",
                     "An editor to select tracks in various Zoomlet ROMs.", "&System Info..."}));
    QVERIFY(box->lblVersionInfo()->text().contains(".\nv1.10 (21/09/09) - Zoomlet 2 (J-Cart), "
                                                   "Zoomlet 96, Zoomlet 96 (J-Cart) & Zoomlet"));
    QCOMPARE(box->minimumSize(), QSize(382, 237));
    QCOMPARE(box->maximumSize(), QSize(382, 237));
    QVERIFY(!(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // Owned by the main window, which it disables without being disabled with it.
    QVERIFY(box->parentWidget() == h.window.get() && box->isWindow() && box->isEnabled());
    QCOMPARE(box->windowHandle()->transientParent(), h.window->windowHandle());
    QString layout;
    for (QWidget* w : box->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect g = w->geometry();
        layout +=
            w->objectName() +
            QStringLiteral(" %1,%2 %3x%4 ").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
        if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull())
            QVERIFY2(label->heightForWidth(g.width()) <= g.height(), qPrintable(label->text()));
    }
    QCOMPARE(layout, "picIcon 16,16 36x36 lblTitle 70,16 259x32 lblDescription 70,48 259x38 "
                     "lblDisclaimer 8,95 329x54 lblVersionInfo 8,160 273x73 cmdOK 291,175 84x23 "
                     "cmdSysInfo 292,205 83x23 ");
    QCOMPARE(box->picIcon()->pixmap().size(), QSize(32, 32));
    QVERIFY(QFontMetrics(box->cmdSysInfo()->font()).horizontalAdvance("System Info...") + 12 <=
            box->cmdSysInfo()->width());
    QVERIFY(box->cmdOK()->isDefault() && box->focusWidget() == box->cmdOK());
    QCOMPARE(box->cmdOK()->nextInFocusChain(), box->cmdSysInfo());
    const QImage shot = box->grab().toImage(); // the etched line: a grey row, two white ones
    QCOMPARE(shot.pixelColor(99, 91).name() + shot.pixelColor(99, 93).name(), "#808080#ffffff");
    QCOMPARE(shot.pixelColor(99, 94), box->palette().window().color());
    // On a dark desktop: light text in the three labels, the line in the theme's shadow and light.
    const QPalette dark(QColor(0x31, 0x36, 0x3b), QColor(0x2a, 0x2e, 0x32)); // button, window
    box->setPalette(dark);
    const QImage night = box->grab().toImage();
    for (QLabel* label : {box->lblTitle(), box->lblDescription(), box->lblDisclaimer()}) {
        int lightest = 0;
        for (int y = label->y(); y < label->y() + label->height(); ++y)
            for (int x = label->x(); x < label->x() + label->width(); ++x)
                lightest = std::max(lightest, night.pixelColor(x, y).lightness());
        QVERIFY2(lightest - dark.window().color().lightness() > 150, qPrintable(label->text()));
    }
    QCOMPARE(night.pixelColor(99, 91).name() + night.pixelColor(99, 93).name(),
             dark.dark().color().name() + dark.light().color().name());
    box->close();
}

void AboutTest::musicSysInfoAndClosing() {
    AboutHarness h;
    QCOMPARE(h.mci.commands, started);
    QCOMPARE(h.box->stillPlayingTimer()->interval(), 100);
    h.mci.statusReply = "playing and more"; // only the beginning counts
    QTRY_VERIFY(h.count("status midwhee mode") >= 2);
    QCOMPARE(h.count("close midwhee"), 0);
    h.mci.statusReply = "stopped";
    QTRY_VERIFY(h.count("close midwhee") >= 1); // the next poll closes the ended piece
    QCOMPARE(h.count("play midwhee"), 1);       // and never plays it again

    h.box->cmdSysInfo()->click();
    QCOMPARE(h.messageTexts(), QStringList{"System Information Is Unavailable At This Time"});
    h.registry.put("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", Registry::typeText, "/t");
    QTest::keyClick(h.box->cmdSysInfo(), Qt::Key_Return); // Enter presses the focused button
    QCOMPARE(h.launched, Commands{"/t"});
    QVERIFY(h.box->isVisible());

    // Closing: the window system's close of the main window is ignored under the box; Escape,
    // and then OK on a second box, close the music first, then give the main window back.
    bool mainEnabledAtClose = true;
    h.mci.onCommand = [&](const std::string&) { mainEnabledAtClose = h.window->isEnabled(); };
    QVERIFY(!h.window->isEnabled() && !h.window->close());
    h.mci.commands.clear();
    QTest::keyClick(h.box->cmdSysInfo(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(h.box.isNull() && !mainEnabledAtClose);
    QCOMPARE(h.mci.commands, Commands{"close midwhee"});
    QVERIFY(h.window->isEnabled());
    h.window->about()->click();
    QCOMPARE(h.mci.commands, Commands({"close midwhee", started[0], started[1]}));
    h.box->cmdOK()->click();
    QCOMPARE(h.mci.commands.back(), "close midwhee");
    QVERIFY(h.window->isEnabled() && h.window->close());
}

// Through the real interpreter, with a music device that takes a minute to open.
void AboutTest::closingNeverWaitsForTheMusicDevice() {
    SlowModule slow(60000);
    QTemporaryDir folder;
    QFile(folder.filePath("supplimentary.dat")).open(QIODevice::WriteOnly);
    const std::unique_ptr<Mci> mci = createLinuxMci({LOPWINDER_SLOW_MODULE, {}, {}});
    AboutHarness h(mci.get(), folder.path() + "/");
    QTRY_COMPARE(slow.counts(), "1 0 0");
    QTest::keyClick(h.box, Qt::Key_Escape);
    QVERIFY(h.window->isEnabled() && slow.counts() == "1 0 0"); // closed, still opening
    slow.setOpenMs(0);
    QTRY_COMPARE(slow.counts(), "0 1 1"); // what was opened is closed
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
