// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/aboutapp.h"
#include "harness.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

using Calls = std::vector<std::string>;
const std::string started = "start /opt/my games/supplimentary.dat";

// A main window on a Zoomlet 2 image whose About button opens the real About box over fakes.
struct AboutHarness : Harness {
    RecordingMusic music;
    CountingSysInfo sysInfo;
    AboutServices services;
    QPointer<AboutApp> box;

    // The folder ends in its separator, as a drive's root does: not to be doubled.
    AboutHarness() : services{music, sysInfo, prompter, "/opt/my games/", '/'} {
        showAbout = [this](QWidget& main) { box = AboutApp::show(main, services); };
        start(image("Zoomlet 2"));
        window->show();
        window->aboutButton()->click();
    }
    ~AboutHarness() { delete box; } // while its music is there to stop, should a check fail
    int count(const std::string& call) const {
        return static_cast<int>(std::count(music.calls.begin(), music.calls.end(), call));
    }
};

struct PaintCounter : QObject { // of the About box
    int paints = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
        paints += e->type() == QEvent::Paint && qobject_cast<AboutApp*>(o);
        return false;
    }
};

} // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void textsAndLayout();
    void music();
    void sysInfo();
    void closing();
    void comesBack_data();
    void comesBack();
};

void AboutTest::textsAndLayout() {
    AboutHarness h;
    AboutApp* box = h.box;
    QCOMPARE(
        QStringList({box->objectName(), box->windowTitle(), box->titleLabel()->text(),
                     box->descriptionLabel()->text(), box->sysInfoButton()->text()}),
        QStringList({"aboutApp", "About Lopwinder", "Lopwinder, v1.10",
                     "An editor to select tracks in various Zoomlet ROMs.", "&System Info..."}));
    QVERIFY(box->versionLabel()->text().contains(".\nv1.10 (21/09/09) - Zoomlet 2 (J-Cart), "
                                                 "Zoomlet 96, Zoomlet 96 (J-Cart) & Zoomlet"));
    QCOMPARE(box->minimumSize(), QSize(382, 237));
    QCOMPARE(box->maximumSize(), QSize(382, 237));
    QVERIFY(!(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // Owned by the main window, which it disables without being disabled with it.
    QCOMPARE(box->parentWidget(), h.window.get());
    QVERIFY(box->isWindow() && box->isEnabled());
    QCOMPARE(box->windowHandle()->transientParent(), h.window->windowHandle());
    QString layout;
    for (QWidget* w : box->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect g = w->geometry();
        layout +=
            w->objectName() +
            QStringLiteral(" %1,%2 %3x%4 ").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
        if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull())
            QVERIFY2(label->wordWrap() && label->heightForWidth(g.width()) <= g.height(),
                     qPrintable(label->text()));
    }
    QCOMPARE(layout, "picIcon 16,16 36x36 lblTitle 70,16 259x32 lblDescription 70,48 259x38 "
                     "lblDisclaimer 8,95 329x54 lblVersionInfo 8,160 273x73 cmdOK 291,175 84x23 "
                     "cmdSysInfo 292,205 83x23 ");
    QCOMPARE(box->iconLabel()->pixmap().size(), QSize(32, 32));
    QCOMPARE(box->titleLabel()->font().pointSizeF(), box->font().pointSizeF()); // fits: not shrunk
    QVERIFY(QFontMetrics(box->sysInfoButton()->font()).horizontalAdvance("System Info...") + 12 <=
            box->sysInfoButton()->width());
    QVERIFY(box->okButton()->isDefault());
    QCOMPARE(box->focusWidget(), box->okButton());
    QCOMPARE(box->okButton()->nextInFocusChain(), box->sysInfoButton());
    const QImage shot = box->grab().toImage(); // the etched line: a grey row, two white ones
    QCOMPARE(shot.pixelColor(99, 91).name() + shot.pixelColor(99, 93).name(), "#808080#ffffff");
    QCOMPARE(shot.pixelColor(99, 94), box->palette().window().color());
    // On a light desktop whose text is grey, the three labels stay black, as designed.
    QPalette grey = box->palette();
    grey.setColor(QPalette::WindowText, QColor(0x40, 0x40, 0x40));
    box->setPalette(grey);
    QCOMPARE(box->disclaimerLabel()->palette().color(QPalette::WindowText), QColor(Qt::black));
    // On a dark desktop: light text in the three labels, the line in the theme's shadow and light.
    const QPalette dark(QColor(0x31, 0x36, 0x3b), QColor(0x2a, 0x2e, 0x32)); // button, window
    box->setPalette(dark);
    const QImage night = box->grab().toImage();
    for (QLabel* label : {box->titleLabel(), box->descriptionLabel(), box->disclaimerLabel()}) {
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

// The music starts right after the box's first paint, once per opening, and an ended piece is
// closed and never played again.
void AboutTest::music() {
    AboutHarness h;
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    int paintsAtStart = -1;
    h.music.onStart = [&] { paintsAtStart = counter.paints; };
    QVERIFY(h.music.calls.empty());
    QTRY_COMPARE(h.music.calls, Calls{started});
    QCOMPARE(paintsAtStart, 1);
    // Once per opening: not again when the box is painted again, covered and uncovered, recoloured.
    h.box->repaint();
    QWidget cover;
    cover.setGeometry(h.box->geometry());
    cover.show();
    cover.close();
    h.box->setPalette(QPalette(Qt::darkCyan));
    QCoreApplication::processEvents();
    QCOMPARE(h.count(started), 1);
    QTRY_VERIFY(h.count("isPlaying") >= 2);
    QCOMPARE(h.count("stop"), 0);
    h.music.playing = false;
    QTRY_VERIFY(h.count("stop") >= 1); // the next poll closes the ended piece
    QCOMPARE(h.count(started), 1);     // and never plays it again
}

// System Info starts the tool, or says it is unavailable in a box the About box owns.
void AboutTest::sysInfo() {
    AboutHarness h;
    h.box->sysInfoButton()->click();
    QCOMPARE(h.messageTexts(), QStringList{"System Information Is Unavailable At This Time"});
    QCOMPARE(h.prompter.messages.back().icon, MessageIcon::None);
    QCOMPARE(h.prompter.owners.back(), h.box.data()); // the box the user clicked in
    h.sysInfo.available = true;
    QTest::keyClick(h.box->sysInfoButton(), Qt::Key_Return); // Enter presses the focused button
    QCOMPARE(h.sysInfo.starts, 2);
    QCOMPARE(h.messageTexts().size(), 1);
    QVERIFY(h.box->isVisible());
}

// The window system's close of the main window is ignored under the box; Escape, and then OK on a
// second box, stop the music first, then give the main window back.
void AboutTest::closing() {
    AboutHarness h;
    QTRY_COMPARE(h.music.calls, Calls{started});
    bool mainEnabledAtStop = true;
    h.music.onStop = [&] { mainEnabledAtStop = h.window->isEnabled(); };
    QVERIFY(!h.window->isEnabled());
    QVERIFY(!h.window->close());
    h.music.calls.clear();
    QTest::keyClick(h.box->sysInfoButton(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(h.box.isNull());
    QVERIFY(!mainEnabledAtStop);
    QCOMPARE(h.music.calls, Calls{"stop"});
    QVERIFY(h.window->isEnabled());
    h.window->aboutButton()->click();
    QTRY_COMPARE(h.music.calls, Calls({"stop", started}));
    h.box->okButton()->click();
    QCOMPARE(h.music.calls.back(), "stop");
    // A box closed between its first paint and the music's start plays nothing.
    h.music.calls.clear();
    h.window->aboutButton()->click();
    h.box->grab();
    h.box->close();
    QCoreApplication::processEvents();
    QCOMPARE(h.music.calls, Calls{"stop"});
    QVERIFY(h.window->isEnabled());
    QVERIFY(h.window->close());
}

void AboutTest::comesBack_data() {
    QTest::addColumn<bool>("click"); // else the window system activates the main window
    QTest::newRow("main window activated") << false;
    QTest::newRow("main window clicked") << true;
}

// A box that holds the main window comes back, with the keyboard, when the user reaches for the
// main window, minimised or not; once it has closed, the main window keeps what it is given.
void AboutTest::comesBack() {
    QFETCH(bool, click);
    AboutHarness h;
    const auto reach = [&] {
        if (click)
            QTest::mouseClick(h.window->windowHandle(), Qt::LeftButton, {}, QPoint(20, 560));
        else
            h.window->windowHandle()->requestActivate();
    };
    QWidget elsewhere; // another program's window, which has the keyboard meanwhile
    elsewhere.show();
    // Asked again until it holds: the box may still be coming back from the main window's start.
    const auto activateElsewhere = [&] {
        return QTest::qWaitFor([&] {
            elsewhere.activateWindow();
            return elsewhere.isActiveWindow();
        });
    };
    for (bool minimised : {true, false}) {
        QVERIFY(activateElsewhere());
        if (minimised)
            h.box->showMinimized();
        reach();
        QTRY_COMPARE(QApplication::activeWindow(), h.box.data());
        QCOMPARE(h.box->isMinimized(), false);
    }
    h.box->close();
    reach();
    h.window->windowHandle()->requestActivate();
    QTRY_COMPARE(QApplication::activeWindow(), h.window.get());
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
