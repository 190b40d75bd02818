// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "harness.h"
#include "main/desktopentry.h"
#include "main/qtprompter.h"
#include "tracks/catalogues.h"
#include "tracks/startup.h"
#include "tracks/trackid.h"

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

namespace {

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
private slots:
    void refusal();
    void layoutAndFocusOrder();
    void slotLists_data();
    void slotLists();
    void saveClick();
    void resetClick();
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
    QCOMPARE(h.prompter.messages.size(), std::size_t(2)); // "ROM not found!", then the refusal
    for (std::size_t i = 0; i < expected.messages.size(); ++i) {
        QCOMPARE(h.prompter.messages[i].text, expected.messages[i].text);
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

void MainTest::slotLists_data() {
    QTest::addColumn<QString>("variant");
    for (const char* variant : {"Zoomlet 2", "Zoomlet 2 (J-Cart)", "Zoomlet 96",
                                "Zoomlet 96 (J-Cart)", "Zoomlet Military"})
        QTest::newRow(variant) << variant;
}

// One list per level slot, captioned, offering the variant's catalogue, on the entry start-up
// chose (none for an ID the catalogue lacks); the lists beyond the variant's slots stay hidden.
void MainTest::slotLists() {
    QFETCH(QString, variant);
    const varianttable::VariantRow& row = *varianttable::findNamed(variant.toStdString());
    Harness h;
    const QString path =
        h.image({}, with(romimage::build(row.name), row.slotTableOffset + 1, "\xFF"));
    MainWindow& w = h.start(path);
    QVERIFY(h.prompter.messages.empty());
    const std::vector<int> selected = startup::open(h.fs, path).selected;
    QCOMPARE(selected[1], -1);
    const auto labels = catalogues::labels(*row.catalogue);
    for (int i = 0; i < MainWindow::maxSlots; ++i) {
        QComboBox* list = w.slotList(i);
        const bool used = i < row.slotCount;
        const QString caption = used ? savereset::slotName(i + 1) : "";
        QCOMPARE(w.slotCaption(i)->text(), caption);
        // Assistive tools read the caption as the list's description, the chosen track as its name.
        QCOMPARE(list->accessibleDescription(), caption);
        QCOMPARE(list->isVisibleTo(&w), used);
        QCOMPARE(list->count(), used ? int(labels.size()) : 0);
        if (!used)
            continue;
        QVERIFY(!list->isEditable());
        QCOMPARE(list->currentIndex(), selected[std::size_t(i)]);
        for (int j = 0; j < list->count(); ++j)
            QCOMPARE(list->itemText(j), QLatin1String(labels[std::size_t(j)]));
    }
}

// Save is refused before the file is opened while a list is on no track; otherwise it writes each
// list's track into its slot, and says so once the bytes are on disk.
void MainTest::saveClick() {
    const varianttable::VariantRow& row = *varianttable::findNamed("Zoomlet 96");
    const std::string image = romimage::build(row.name);
    Harness h;
    const QString path = h.image({}, image);
    MainWindow& w = h.start(path);
    w.slotList(4)->setCurrentIndex(-1);
    w.saveButton()->click();
    QCOMPARE(h.fs.writeOpens, 0);
    QVERIFY(h.messageTexts().at(0).contains("no track is chosen for Level Slot 5."));
    std::string chosen;
    for (int i = 0; i < row.slotCount; ++i) {
        QComboBox* list = w.slotList(i);
        list->setCurrentIndex(i * 7 % list->count());
        chosen.push_back(char(trackid::fromLabel(list->currentText()).value()));
    }
    std::string onDiskAtMessage;
    h.prompter.onMessage = [&](const Message&) { onDiskAtMessage = romimage::readFile(path); };
    w.saveButton()->click();
    QCOMPARE(h.messageTexts().at(1), "File saved successfully.");
    QCOMPARE(onDiskAtMessage, with(image, row.slotTableOffset, chosen));
    QCOMPARE(h.prompter.owners, std::vector<const QObject*>(3, &w));
    QCOMPARE(h.prompter.endCount, 0);
}

// Reset asks first: No leaves the file; after a failure the program stays; Yes writes the factory
// order and ends the program.
void MainTest::resetClick() {
    const varianttable::VariantRow& row = *varianttable::findNamed("Zoomlet Military");
    const std::string image = with(romimage::build(row.name), row.slotTableOffset, "\x1D");
    Harness h;
    const QString path = h.image({}, image);
    MainWindow& w = h.start(path);
    h.prompter.answers = {Answer::No, Answer::Yes, Answer::Yes};
    w.resetButton()->click();
    QCOMPARE(romimage::readFile(path), image);
    const Message& ask = h.prompter.messages.at(0);
    QCOMPARE(ask.text, "Really reset ROM?");
    QCOMPARE(ask.buttons, MessageButtons::YesNo);
    QCOMPARE(ask.icon, MessageIcon::Exclamation);
    QVERIFY(QFile::remove(path));
    w.resetButton()->click();
    QVERIFY(h.messageTexts().at(2).startsWith("Nothing was reset"));
    QCOMPARE(h.prompter.endCount, 0);
    romimage::writeFile(h.dir.path(), "rom.bin", image);
    w.resetButton()->click();
    QCOMPARE(romimage::readFile(path),
             with(image, row.slotTableOffset,
                  std::string(row.factoryOrder.begin(), row.factoryOrder.end())));
    QCOMPARE(h.prompter.messages.back().icon, MessageIcon::Information);
    QCOMPARE(h.prompter.endCount, 1);
    QCOMPARE(h.prompter.owners, std::vector<const QObject*>(6, &w));
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
