// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "harness.h"
#include "main/desktopentry.h"
#include "main/qtprompter.h"
#include "tracks/startup.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <random>

namespace {

const QString notSupported = "This ROM is either not a Mega Drive Zoomlet ROM; or in SMD format, "
                             "which is not supported. Now closing down.";

// Name, text, geometry and, when bold, the font of a control, in one line.
QString describe(QWidget* w) {
    const QRect g = w->geometry();
    const QFont f = w->font();
    return w->objectName() + " " + w->property("text").toString() +
           QStringLiteral(" %1,%2 %3x%4 ").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()) +
           (f.bold() ? f.family() + " " + QString::number(f.pointSizeF()) : "");
}

} // namespace

class MainTest : public QObject {
    Q_OBJECT
    void variants_data();
private slots:
    void refusal();
    void layoutAndFocusOrder();
    void slotListsAndTheirClicks_data() { variants_data(); }
    void slotListsAndTheirClicks();
    void realDialogs();
    void desktopEntry();
};

// A refused file: the window asks for it, shows start-up's boxes in turn as their owner, ends the
// program once and never shows itself.
void MainTest::refusal() {
    Harness h;
    romimage::writeFile(h.dir.path(), "l.bin", romimage::build("Zoomlet 2"));
    h.fs.failReads = true;
    MainWindow& w = h.start(h.dir.filePath("l.bin"));
    const startup::Outcome expected = startup::open(h.fs, h.dir.filePath("l.bin"));
    QCOMPARE(h.messageTexts(), QStringList({"ROM not found!", notSupported}));
    QCOMPARE(h.prompter.messages.size(), expected.messages.size());
    for (std::size_t i = 0; i < expected.messages.size(); ++i) {
        QCOMPARE(h.prompter.messages[i].shownTitle(), expected.messages[i].shownTitle());
        QCOMPARE(h.prompter.messages[i].icon, expected.messages[i].icon);
    }
    QCOMPARE(h.prompter.openRequests.at(0).filterName, startup::romRequest().filterName);
    QCOMPARE(h.prompter.owners, std::vector<const QObject*>(3, &w));
    QCOMPARE(h.prompter.endCount, 1);
    QVERIFY(!w.isVisible());
}

void MainTest::layoutAndFocusOrder() {
    Harness h;
    MainWindow& w = h.start(h.image("Zoomlet 2"));
    QCOMPARE(w.objectName() + w.windowTitle(), QStringLiteral("mainLopwinder - Zoomlet 2"));
    QCOMPARE(w.size(), QSize(1000, 575));
    QCOMPARE(w.geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
    QStringList layout;
    for (QWidget* c : QWidgetList{w.saveButton(), w.resetButton(), w.aboutButton(), w.slotList(8),
                                  w.slotList(9), w.slotList(26), w.slotCaption(13)})
        layout << describe(c);
    QCOMPARE(layout,
             QStringList({"saveChanges Save Changes 184,512 281x49 MS Sans Serif 17.25",
                          "resetROM Reset ROM to Defaults 536,512 281x49 MS Sans Serif 13.5",
                          "about About... 928,1 65x25 ", "comboLevelSlot8  16,480 313x21 ",
                          "comboLevelSlot9  344,32 313x21 ", "comboLevelSlot26  672,480 313x21 ",
                          "LabelComboLevel13 Level Slot 14 344,240 145x17 MS Sans Serif 8.25"}));
    QWidgetList order{w.saveButton(), w.resetButton(), w.aboutButton(), w.slotList(0)};
    for (int i = 26; i >= 0; --i)
        order.prepend(w.slotList(i));
    for (QWidget* next = order.takeFirst(); !order.isEmpty(); next = order.takeFirst()) {
        do
            next = next->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus));
        QCOMPARE(next, order.first());
    }
    // A wheel turns only the list that has the keyboard focus.
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.slotList(0)->setFocus();
    for (QComboBox* list : {w.slotList(13), w.slotList(0)}) {
        const int before = list->currentIndex();
        const bool focused = list->hasFocus();
        QWheelEvent wheel({5, 5}, list->mapToGlobal(QPointF(5, 5)), {}, {0, -120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        // As from the mouse, where Qt may move the focus first; sendEvent would make it synthetic.
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        qApp->notify(list, &wheel);
        QCOMPARE(list->currentIndex() - before, focused ? 1 : 0);
        QVERIFY(w.slotList(0)->hasFocus());
    }
    // In a wide face every label reads whole: the chosen one as the list's tool tip, every one in
    // the open list, which is as wide as the longest.
    QComboBox* list = w.slotList(1);
    list->setFont(QFont(list->font().family(), 13));
    int longest = 0;
    for (int j = 0; j < list->count(); ++j)
        longest = list->itemText(j).size() > list->itemText(longest).size() ? j : longest;
    list->setCurrentIndex(longest);
    QCOMPARE(list->toolTip(), list->currentText());
    list->showPopup();
    QAbstractItemView* open = list->view();
    QTRY_VERIFY(open->isVisible());
    int widest = 0;
    for (int j = 0; j < list->count(); ++j)
        widest = std::max(widest, open->sizeHintForIndex(open->model()->index(j, 0)).width());
    QVERIFY2(open->viewport()->width() >= widest, qPrintable(QString::number(widest)));
    list->hidePopup();
}

void MainTest::variants_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("ids");      // the catalogue's IDs in list order, as ranges
    QTest::addColumn<QByteArray>("order"); // the factory order, which Reset writes
    const QByteArray z2 = "0905222404311E0F2A13271B0E022E340C1217031D2F2C28010D30";
    const QByteArray z96 = "02403316052D3C1C01090D193008172413270E1D312C3F222A3E29";
    const char* const z2Ids = "00-10 12-1F 21-32 34";
    const char* const z96Ids = "00-10 12-1F 21-22 24-25 27 29-36 3C-41";
    const std::tuple<const char*, int, const char*, QByteArray> rows[] = {
        {"Zoomlet 2", 0x3E6AE, z2Ids, z2},
        {"Zoomlet 2 (J-Cart)", 0x3EA46, z2Ids,
         "0905222404311E0F2A13271B0E022D340C1217031D2F2C28010D30"},
        {"Zoomlet 96", 0x452C5, z96Ids, z96},
        {"Zoomlet 96 (J-Cart)", 0x452C5, z96Ids, z96},
        {"Zoomlet Military", 0x50CDC, "00-1D 40-43", "0103060B0D0F14171A1B0205080A0C111216191D"}};
    for (const auto& [variant, offset, ids, order] : rows)
        QTest::newRow(variant) << variant << offset << ids << QByteArray::fromHex(order);
}

// Lists pre-selected from the table (decoys at the other revision's offset), then refused, random
// and factory writes: each click writes exactly its table, and says so once the bytes are on disk.
void MainTest::slotListsAndTheirClicks() {
    QFETCH(QString, variant);
    QFETCH(int, offset);
    QFETCH(QString, ids);
    QFETCH(QByteArray, order);
    const int slotCount = static_cast<int>(order.size());
    // The table ends at the end of the file, except for Zoomlet 2, whose decoy lies beyond it.
    std::string image =
        romimage::build(variant.toStdString(), std::max(offset, 0x3EA46) + slotCount);
    romimage::put(image, offset, std::string("\x00\x0A\x2D\x11\x23\x1E\x43\x80\xFF", 9));
    romimage::put(image, offset == 0x3E6AE ? 0x3EA46 : 0x3E6AE, std::string(27, 1));
    Harness h;
    const QString path = h.image({}, image);
    MainWindow& w = h.start(path);
    QVERIFY(h.prompter.messages.empty());
    const std::vector<int> selected = startup::open(h.fs, path).selected;
    QStringList labels;
    QString listed, expected;
    for (int j = 0; j < w.slotList(0)->count(); ++j)
        listed += (labels << w.slotList(0)->itemText(j)).last().left(3);
    for (const QString& range : ids.split(' '))
        for (int id = range.left(2).toInt(nullptr, 16); id <= range.right(2).toInt(nullptr, 16);)
            expected += QString::asprintf("%02X:", id++);
    QCOMPARE(listed, expected);
    QStringList unchosen;
    for (int i = 0; i < MainWindow::maxSlots; ++i) {
        QComboBox* list = w.slotList(i);
        const bool used = i < slotCount;
        const QString caption = used ? QStringLiteral("Level Slot %1").arg(i + 1) : "";
        // Assistive tools read the caption as the list's description, the chosen track as its name.
        QCOMPARE(w.slotCaption(i)->text() + "|" + list->accessibleDescription(),
                 caption + "|" + caption);
        QCOMPARE(list->isVisibleTo(&w), used);
        QCOMPARE(list->count(), used ? labels.size() : 0);
        if (!used)
            continue;
        QCOMPARE(std::pair(list->isEditable(), list->itemText(labels.size() - 1)),
                 std::pair(false, labels.last()));
        QCOMPARE(list->currentIndex(), selected[std::size_t(i)]);
        if (list->currentIndex() < 0)
            unchosen << w.slotCaption(i)->text();
    }
    w.saveButton()->click(); // refused before the file is opened
    QVERIFY(h.messageTexts()[0].startsWith("Nothing was saved: no track is chosen for " +
                                           unchosen.join(", ") + ".\r\n"));
    QCOMPARE(std::pair(h.prompter.messages[0].icon == MessageIcon::Exclamation, h.fs.writeOpens),
             std::pair(true, 0));
    h.prompter.messages.clear();

    std::string onDiskAtMessage;
    h.prompter.onMessage = [&](const Message&) { onDiskAtMessage = romimage::readFile(path); };
    std::mt19937 random(20261206); // fixed, so that a failure can be replayed
    for (int round = 0; round < 5; ++round) {
        std::string chosen;
        for (int i = 0; i < slotCount; ++i) {
            QComboBox* list = w.slotList(i);
            list->setCurrentIndex(static_cast<int>(random() % unsigned(list->count())));
            chosen.push_back(static_cast<char>(list->currentText().left(2).toInt(nullptr, 16)));
        }
        w.saveButton()->click();
        romimage::put(image, offset, chosen);
        QCOMPARE(romimage::readFile(path), image);
        QCOMPARE(onDiskAtMessage, image);
    }
    QCOMPARE(h.messageTexts(), QStringList(5, "File saved successfully."));
    QCOMPARE(h.prompter.messages.back().icon, MessageIcon::Information);
    h.prompter.answers = {Answer::No, Answer::Yes, Answer::Yes};
    w.resetButton()->click(); // No
    QCOMPARE(romimage::readFile(path), image);
    QVERIFY(QFile::remove(path));
    w.resetButton()->click(); // fails: the program stays
    QCOMPARE(
        std::pair(h.messageTexts().last().startsWith("Nothing was reset"), h.prompter.endCount),
        std::pair(true, 0));
    romimage::writeFile(h.dir.path(), "rom.bin", image);
    w.resetButton()->click();
    romimage::put(image, offset, order.toStdString());
    QCOMPARE(romimage::readFile(path), image);
    QCOMPARE(h.messageTexts().last(),
             "ROM has been set to default values. Now quitting application.");
    const Message& ask = h.prompter.messages[5];
    QCOMPARE(ask.text, QStringLiteral("Really reset ROM?"));
    QCOMPARE(std::pair(ask.buttons == MessageButtons::YesNo, ask.icon == MessageIcon::Exclamation),
             std::pair(true, true));
    QCOMPARE(h.prompter.endCount, 1);
    QCOMPARE(h.prompter.owners, std::vector<const QObject*>(h.prompter.owners.size(), &w));
}

// Qt's own message box as the user sees it (the end-to-end test drives the Open dialog), and who
// owns each dialog: the main window once it shows, so that the window system keeps them above it.
void MainTest::realDialogs() {
    Harness h;
    MainWindow& w = h.start(h.image("Zoomlet 2"));
    QtPrompter prompter;
    QStringList seen;
    const auto inspect = [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        const bool above =
            w.windowHandle() && dialog->windowHandle()->transientParent() == w.windowHandle();
        seen << QStringLiteral("%1 %2").arg(dialog->parentWidget() == &w ? "owned" : "free",
                                            above ? "above it" : "anywhere");
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            const bool fixed = !(box->windowFlags() &
                                 (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint));
            seen << QStringList{box->text(),
                                box->windowTitle(),
                                QString::number(box->icon()),
                                QString::number(box->buttons().size()),
                                QString::number(box->defaultButton() ==
                                                box->button(QMessageBox::Yes)),
                                fixed ? "fixed" : "resizable"}
                        .join('|');
        }
        if (auto* open = qobject_cast<QFileDialog*>(dialog))
            seen << open->windowTitle() + "|" + open->nameFilters().join(';');
        if (w.isVisible()) { // the main window, activated, hands the keyboard back to the box
            QSignalSpy moves(qApp, &QGuiApplication::focusWindowChanged);
            w.windowHandle()->requestActivate();
            seen << (QTest::qWaitFor([&] { return moves.size() >= 2 && dialog->isActiveWindow(); })
                         ? "comes back"
                         : "stays behind");
        }
        if (auto* box = qobject_cast<QMessageBox*>(dialog))
            box->button(QMessageBox::No)->click();
        dialog->close();
    };
    const Message ask{"Really\r\nreset?", MessageIcon::Exclamation, MessageButtons::YesNo, {}};
    QTimer::singleShot(0, inspect); // at start-up, before the main window shows
    QCOMPARE(prompter.message(ask, &w), Answer::No);
    const QString box =
        QStringLiteral("Really\nreset?|Lopwinder|%1|2|1|fixed").arg(QMessageBox::Warning);
    QStringList expected{"free anywhere", box};
#ifndef __SANITIZE_THREAD__
    // Qt's file dialog hands paths to a thread of its own through futexes ThreadSanitizer cannot
    // see, and neither that thread's frames nor, once its history is lost, the other side's carry
    // a name to match: under it only the message boxes are checked.
    QTimer::singleShot(0, inspect);
    QCOMPARE(prompter.askOpenFile({"Select a ROM...", "ROM Files (*.bin)", {"*.bin", "*.gen"}}, &w),
             "");
    expected << "owned above it"
             << "Select a ROM...|ROM Files (*.bin) (*.bin *.gen)";
#endif
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTimer::singleShot(0, inspect);
    QCOMPARE(prompter.message(ask, &w), Answer::No);
    QCOMPARE(seen, expected << "owned above it" << box << "comes back");
}

// Desktops find the installed entry, and its icon, by the name the windows carry.
void MainTest::desktopEntry() {
    nameDesktopEntry(*qApp);
    const QString entry = QGuiApplication::desktopFileName();
    QVERIFY2(QFile::exists(LOPWINDER_DATA_DIR "/" + entry + ".desktop"), qPrintable(entry));
    const QStringList drawn =
        QDir(LOPWINDER_DATA_DIR "/icons").entryList({"lopwinder-*.png"}, QDir::Files);
    QCOMPARE(QGuiApplication::windowIcon().availableSizes().size(), drawn.size());
}

QTEST_MAIN(MainTest)
#include "main_test.moc"
