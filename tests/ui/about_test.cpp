#include "about/aboutapp.h"
#include "harness.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

using Commands = std::vector<std::string>;

// A main window on a Zoomlet 2 image whose About button opens the real About box over fakes.
struct AboutHarness : Harness {
    RecordingMci mci;
    ScriptedRegistry registry;
    std::vector<std::string> launched;
    AboutServices services{mci,
                           {registry, [](const std::string&) { return false; },
                            [this](const std::string& commandLine) {
                                launched.push_back(commandLine);
                                return true;
                            }},
                           prompter,
                           QStringLiteral("/opt/my games/lopwinder"),
                           QLatin1Char('/')};
    AboutApp* box = nullptr;

    AboutHarness() {
        showAbout = [this](QWidget* mainWindow) { box = AboutApp::show(mainWindow, services); };
        start(image("Zoomlet 2"));
        window->show();
    }
    void openAbout() {
        window->about()->click();
        QVERIFY(box);
    }
    int count(const std::string& command) const {
        return static_cast<int>(std::count(mci.commands.begin(), mci.commands.end(), command));
    }
};

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void textsAndLayout();
    void everyWayOfClosingStopsTheMusicAndEnablesTheMainWindow_data();
    void everyWayOfClosingStopsTheMusicAndEnablesTheMainWindow();
    void loadStartsTheMusicFromTheProgramFolder();
    void pollClosesAnEndedPieceOnceAndNeverRepeatsIt();
    void openingAgainPlaysAgain();
    void sysInfoButtonReportsAnUnavailableTool();
};

void AboutTest::textsAndLayout() {
    AboutHarness h;
    h.openAbout();
    AboutApp* box = h.box;
    QCOMPARE(box->objectName(), QStringLiteral("aboutApp"));
    QCOMPARE(box->windowTitle(), QStringLiteral("About Lopwinder"));
    QCOMPARE(box->lblTitle()->text(), QStringLiteral("Lopwinder, v1.10"));
    QCOMPARE(box->lblDescription()->text(),
             QStringLiteral("An editor to select tracks in various Zoomlet ROMs."));
    QVERIFY(box->lblDisclaimer()->text().size() >= 240);
    QVERIFY(box->lblDisclaimer()->text().size() <= 290);
    QCOMPARE(
        box->lblVersionInfo()->text(),
        QStringLiteral("Version History:\n"
                       "v1.00 (21/12/08) - Zoomlet 2 support added.\n"
                       "v1.10 (21/09/09) - Zoomlet 2 (J-Cart), Zoomlet 96, Zoomlet 96 (J-Cart) "
                       "& Zoomlet Military support added."));

    QCOMPARE(box->size(), QSize(382, 237));
    QCOMPARE(box->minimumSize(), box->maximumSize());
    QVERIFY(!(box->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(box->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(box->picIcon()->geometry(), QRect(16, 16, 36, 36));
    QCOMPARE(box->picIcon()->pixmap().size(), QSize(32, 32));
    QCOMPARE(box->lblTitle()->geometry(), QRect(70, 16, 259, 32));
    QCOMPARE(box->lblDescription()->geometry(), QRect(70, 48, 259, 38));
    QCOMPARE(box->lblDisclaimer()->geometry(), QRect(8, 95, 329, 54));
    QCOMPARE(box->lblVersionInfo()->geometry(), QRect(8, 160, 273, 73));
    QCOMPARE(box->cmdOK()->geometry(), QRect(291, 175, 84, 23));
    QCOMPARE(box->cmdSysInfo()->geometry(), QRect(292, 205, 83, 23));
    for (QLabel* label :
         {box->lblTitle(), box->lblDescription(), box->lblDisclaimer(), box->lblVersionInfo()})
        QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                 qPrintable(label->objectName() + " is cut off"));
    QVERIFY(QFontMetrics(box->cmdSysInfo()->font()).horizontalAdvance("System Info...") + 12 <=
            box->cmdSysInfo()->width());
    // The etched separator: one grey row, then two white ones.
    const QImage shot = box->grab().toImage();
    QCOMPARE(shot.pixelColor(100, 91), QColor(128, 128, 128));
    QCOMPARE(shot.pixelColor(100, 92), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(100, 93), QColor(Qt::white));
    QVERIFY(shot.pixelColor(100, 94) != QColor(Qt::white));
    QCOMPARE(box->cmdOK()->text(), QStringLiteral("OK"));
    QVERIFY(box->cmdOK()->isDefault());
    QCOMPARE(box->cmdSysInfo()->text(), QStringLiteral("&System Info..."));
    QCOMPARE(box->focusWidget(), box->cmdOK());
    QCOMPARE(box->cmdOK()->nextInFocusChain(), box->cmdSysInfo());
    QCOMPARE(box->stillPlayingTimer()->interval(), 100);
    QVERIFY(box->stillPlayingTimer()->isActive());
    QVERIFY(!h.window->isEnabled());
    box->close();
}

void AboutTest::everyWayOfClosingStopsTheMusicAndEnablesTheMainWindow_data() {
    QTest::addColumn<QString>("route");
    for (const char* route : {"OK", "Enter", "Escape", "window close"})
        QTest::newRow(route) << route;
}

void AboutTest::everyWayOfClosingStopsTheMusicAndEnablesTheMainWindow() {
    QFETCH(QString, route);
    AboutHarness h;
    h.openAbout();
    QPointer<AboutApp> box = h.box;
    bool mainEnabledAtClose = true;
    h.mci.onCommand = [&](const std::string& command) {
        if (command == "close midwhee")
            mainEnabledAtClose = h.window->isEnabled();
    };
    QVERIFY(!h.window->isEnabled());
    QVERIFY(!h.window->close()); // the window system's close is ignored too
    QVERIFY(h.window->isVisible());

    if (route == "OK")
        box->cmdOK()->click();
    else if (route == "Enter")
        QTest::keyClick(box->cmdOK(), Qt::Key_Return);
    else if (route == "Escape")
        QTest::keyClick(box->cmdOK(), Qt::Key_Escape);
    else
        box->close();
    flushDeletes();

    QVERIFY(box.isNull());
    QCOMPARE(h.count("close midwhee"), 1);
    QVERIFY(!mainEnabledAtClose); // the music is closed first
    QVERIFY(h.window->isEnabled());
    QVERIFY(h.window->close());
}

void AboutTest::loadStartsTheMusicFromTheProgramFolder() {
    AboutHarness h;
    h.openAbout();
    QCOMPARE(h.mci.commands,
             (Commands{"open \"/opt/my games/lopwinder/supplimentary.dat\" type sequencer alias "
                       "midwhee",
                       "play midwhee"}));
    h.box->close();
}

void AboutTest::pollClosesAnEndedPieceOnceAndNeverRepeatsIt() {
    AboutHarness h;
    h.mci.statusReply = "playing";
    h.openAbout();
    QTRY_VERIFY(h.count("status midwhee mode") >= 2);
    QCOMPARE(h.count("close midwhee"), 0);

    h.mci.statusReply = "stopped";
    const int polls = h.count("status midwhee mode");
    QTRY_VERIFY(h.count("status midwhee mode") > polls);
    QVERIFY(h.count("close midwhee") >= 1);
    QCOMPARE(h.count("play midwhee"), 1);
    QCOMPARE(h.mci.commands[0].rfind("open ", 0), 0u);
    QCOMPARE(std::count_if(h.mci.commands.begin(), h.mci.commands.end(),
                           [](const std::string& c) { return c.rfind("open ", 0) == 0; }),
             1);
    h.box->close();
}

void AboutTest::openingAgainPlaysAgain() {
    AboutHarness h;
    h.openAbout();
    h.box->cmdOK()->click();
    flushDeletes();
    h.box = nullptr;
    h.openAbout();
    QCOMPARE(h.box->lblTitle()->text(), QStringLiteral("Lopwinder, v1.10"));
    QCOMPARE(h.count("play midwhee"), 2);
    QCOMPARE(h.mci.commands.back(), std::string("play midwhee"));
    h.box->close();
}

void AboutTest::sysInfoButtonReportsAnUnavailableTool() {
    AboutHarness h;
    h.openAbout();
    h.box->cmdSysInfo()->click();
    QCOMPARE(h.messageTexts(),
             QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
    QVERIFY(h.launched.empty());
    QVERIFY(h.box->isVisible());

    // With the tool registered, the button starts it and the box stays open.
    h.registry.put("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", Registry::typeText,
                   std::string("/usr/bin/sysinfo-tool\0", 22));
    QTest::keyClick(h.box->cmdSysInfo(), Qt::Key_Return);
    QCOMPARE(h.launched, std::vector<std::string>{"/usr/bin/sysinfo-tool"});
    QVERIFY(h.box->isVisible());
    h.box->close();
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
