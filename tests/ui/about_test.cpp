#include "about/aboutapp.h"
#include "harness.h"

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
    Commands launched;
    AboutServices services{mci,
                           {registry, [](const std::string&) { return false; },
                            [this](const std::string& commandLine) {
                                launched.push_back(commandLine);
                                return true;
                            }},
                           prompter,
                           "/opt/my games/lopwinder",
                           '/'};
    QPointer<AboutApp> box;

    AboutHarness() {
        showAbout = [this](QWidget* main) { box = AboutApp::show(main, services); };
        start(image("Zoomlet 2"));
        window->show();
    }
    AboutApp* open() {
        window->about()->click();
        return box;
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
    void everyWayOfClosingStopsTheMusicAndEnablesTheMainWindow_data();
    void everyWayOfClosingStopsTheMusicAndEnablesTheMainWindow();
    void musicPlaysOncePerOpening();
    void sysInfoButton();
};

void AboutTest::textsAndLayout() {
    AboutHarness h;
    AboutApp* box = h.open();
    QCOMPARE(box->objectName(), QStringLiteral("aboutApp"));
    QCOMPARE(box->windowTitle(), QStringLiteral("About Lopwinder"));
    QCOMPARE(box->lblTitle()->text(), QStringLiteral("Lopwinder, v1.10"));
    QCOMPARE(box->lblDescription()->text(),
             QStringLiteral("An editor to select tracks in various Zoomlet ROMs."));
    QCOMPARE(box->lblVersionInfo()->text(),
             QStringLiteral("Version History:\nv1.00 (21/12/08) - Zoomlet 2 support added.\n"
                            "v1.10 (21/09/09) - Zoomlet 2 (J-Cart), Zoomlet 96, Zoomlet 96 "
                            "(J-Cart) & Zoomlet Military support added."));
    QCOMPARE(box->size(), QSize(382, 237));
    QCOMPARE(box->minimumSize(), box->maximumSize());
    QVERIFY(!(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    const QList<QPair<QWidget*, QRect>> geometry{
        {box->picIcon(), {16, 16, 36, 36}},         {box->lblTitle(), {70, 16, 259, 32}},
        {box->lblDescription(), {70, 48, 259, 38}}, {box->lblDisclaimer(), {8, 95, 329, 54}},
        {box->lblVersionInfo(), {8, 160, 273, 73}}, {box->cmdOK(), {291, 175, 84, 23}},
        {box->cmdSysInfo(), {292, 205, 83, 23}}};
    for (const auto& [widget, rect] : geometry)
        QCOMPARE(widget->geometry(), rect);
    QCOMPARE(box->picIcon()->pixmap().size(), QSize(32, 32));
    for (QLabel* label :
         {box->lblTitle(), box->lblDescription(), box->lblDisclaimer(), box->lblVersionInfo()})
        QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                 qPrintable(label->objectName() + " is cut off"));
    QCOMPARE(box->cmdSysInfo()->text(), QStringLiteral("&System Info..."));
    QVERIFY(QFontMetrics(box->cmdSysInfo()->font()).horizontalAdvance("System Info...") + 12 <=
            box->cmdSysInfo()->width());
    QVERIFY(box->cmdOK()->isDefault());
    QCOMPARE(box->focusWidget(), box->cmdOK());
    QCOMPARE(box->cmdOK()->nextInFocusChain(), box->cmdSysInfo());
    QCOMPARE(box->stillPlayingTimer()->interval(), 100);
    // The etched separator: one grey row, then two white ones.
    const QImage shot = box->grab().toImage();
    QCOMPARE(shot.pixelColor(100, 91), QColor(128, 128, 128));
    QCOMPARE(shot.pixelColor(100, 92), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(100, 93), QColor(Qt::white));
    QVERIFY(shot.pixelColor(100, 94) != QColor(Qt::white));
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
    AboutApp* box = h.open();
    bool mainEnabledAtClose = true;
    h.mci.onCommand = [&](const std::string& command) {
        if (command == "close midwhee")
            mainEnabledAtClose = h.window->isEnabled();
    };
    QVERIFY(!h.window->isEnabled());
    QVERIFY(!h.window->close()); // the window system's close is ignored under the box
    if (route == "OK")
        box->cmdOK()->click();
    else if (route == "window close")
        box->close();
    else
        QTest::keyClick(box->cmdOK(), route == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(h.box.isNull());
    QCOMPARE(h.count("close midwhee"), 1);
    QVERIFY(!mainEnabledAtClose); // the music is closed first
    QVERIFY(h.window->isEnabled());
    QVERIFY(h.window->close());
}

void AboutTest::musicPlaysOncePerOpening() {
    AboutHarness h;
    h.mci.statusReply = "playing";
    h.open();
    const Commands started{
        "open \"/opt/my games/lopwinder/supplimentary.dat\" type sequencer alias midwhee",
        "play midwhee"};
    QCOMPARE(h.mci.commands, started);
    QTRY_VERIFY(h.count("status midwhee mode") >= 2);
    QCOMPARE(h.count("close midwhee"), 0);
    h.mci.statusReply = "stopped";
    QTRY_VERIFY(h.count("close midwhee") >= 1); // the next poll closes the ended piece
    QCOMPARE(h.count("play midwhee"), 1);       // and never plays it again
    h.box->cmdOK()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    h.mci.commands.clear();
    h.open();
    QCOMPARE(h.mci.commands, started);
    h.box->close();
}

void AboutTest::sysInfoButton() {
    AboutHarness h;
    AboutApp* box = h.open();
    box->cmdSysInfo()->click();
    QCOMPARE(h.messageTexts(), QStringList{"System Information Is Unavailable At This Time"});
    QVERIFY(h.launched.empty());
    h.registry.put("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", Registry::typeText,
                   "/usr/bin/sysinfo-tool");
    QTest::keyClick(box->cmdSysInfo(), Qt::Key_Return); // Enter presses the focused button
    QCOMPARE(h.launched, Commands{"/usr/bin/sysinfo-tool"});
    QVERIFY(box->isVisible());
    box->close();
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
