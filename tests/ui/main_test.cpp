#include "harness.h"
#include "main/qtprompter.h"
#include "rom/varianttable.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <random>

namespace {

const QString chooseRom = "You must choose a ROM! Closing down.";
const QString notSupported = "This ROM is either not a Mega Drive Zoomlet ROM; or in SMD format, "
                             "which is not supported. Now closing down.";
const QString saved = "File saved successfully.";

// Runs check on the active modal widget once it is up, from inside its event loop.
void whenModal(std::function<void(QWidget*)> check) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, check] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->deleteLater();
            timer->stop();
            check(modal);
        }
    });
    timer->start(10);
}

} // namespace

class MainTest : public QObject {
    Q_OBJECT
private slots:
    void refusals_data();
    void refusals();
    void layoutAndFocusOrder();
    void listsPerVariant_data();
    void listsPerVariant();
    void clicksWriteOnlyTheChosenTable_data();
    void clicksWriteOnlyTheChosenTable();
    void underTheAboutBoxTheWindowTakesNoInput();
    void realDialogs();
};

void MainTest::refusals_data() {
    QTest::addColumn<QString>("fileName"); // empty: the dialog was cancelled
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addColumn<int>("readFault");    // 0 none, 1 unreadable, 2 gone before the table
    QTest::addColumn<QStringList>("expected");
    const auto image = [](std::string_view variant, qint64 size = romimage::defaultSize) {
        return QByteArray::fromStdString(romimage::build(variant, size));
    };
    const QString firstGame = "Zoomlet 1 is not supported due to not having a Time Trial mode, "
                              "and therefore\r\nno choosable track list. Quitting application - "
                              "please choose one of the later titles.";
    QTest::newRow("cancelled") << "" << QByteArray() << 0 << QStringList{chooseRom};
    QTest::newRow("no such file") << "gone.bin" << QByteArray() << 0 << QStringList{chooseRom};
    QTest::newRow("other game") << "o.bin" << image("Error!") << 0 << QStringList{notSupported};
    QTest::newRow("first game") << "u.BIN" << image("Zoomlet 1 (U)") << 0 << QStringList{firstGame};
    QTest::newRow("unreadable") << "l.bin" << image("Zoomlet 2") << 1
                                << QStringList{"ROM not found!", notSupported};
    QTest::newRow("gone before its track table")
        << "g.bin" << image("Zoomlet 2") << 2 << QStringList{"ROM not found!", chooseRom};
    QTest::newRow("cut inside its track table")
        << "t.bin" << image("Zoomlet Military", 0x50CDC + 19) << 0
        << QStringList{"This ROM file is too short to hold its track table: it is probably cut "
                       "off or damaged. Nothing has been changed. Now closing down."};
}

void MainTest::refusals() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(int, readFault);
    QFETCH(QStringList, expected);
    Harness h;
    const QString path = fileName.isEmpty() ? QString() : h.dir.filePath(fileName);
    if (!bytes.isEmpty())
        romimage::writeFile(h.dir.path(), fileName, bytes.toStdString());
    h.fs.failReads = readFault == 1;
    h.fs.vanishAfterReads = readFault == 2 ? 3 : -1;

    MainWindow& w = h.start(path);
    QCOMPARE(h.messageTexts(), expected);
    const Message& last = h.prompter.messages.back();
    QCOMPARE(last.icon, expected.size() == 1 && expected[0].contains("too short")
                            ? MessageIcon::Critical
                            : MessageIcon::Information);
    QCOMPARE(last.shownTitle(), QStringLiteral("Lopwinder"));
    QCOMPARE(h.prompter.endCount, 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(h.fs.writeOpens, 0);
    if (readFault != 2 && !bytes.isEmpty())
        QCOMPARE(romimage::readFile(path), bytes.toStdString());
    const OpenFileRequest& asked = h.prompter.openRequests.at(0);
    QCOMPARE(asked.title, QStringLiteral("Select a ROM..."));
    QCOMPARE(asked.filter, QStringLiteral("ROM Files (*.bin)|*.bin;*.gen"));
    QCOMPARE(asked.filterIndex, 1);
}

void MainTest::layoutAndFocusOrder() {
    Harness h;
    MainWindow& w = h.start(h.image("Zoomlet 2"));
    QCOMPARE(w.objectName(), QStringLiteral("main"));
    QCOMPARE(w.size(), QSize(1000, 575));
    QCOMPARE(w.geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
    const QList<std::tuple<QWidget*, QRect, QString, qreal>> items{
        {w.saveChanges(), {184, 512, 281, 49}, "Save Changes", 17.25},
        {w.resetROM(), {536, 512, 281, 49}, "Reset ROM to Defaults", 13.5},
        {w.about(), {928, 1, 65, 25}, "About...", 0},
        {w.comboLevelSlot(0), {16, 32, 313, 21}, "", 0},
        {w.comboLevelSlot(8), {16, 480, 313, 21}, "", 0},
        {w.comboLevelSlot(26), {672, 480, 313, 21}, "", 0},
        {w.LabelComboLevel(13), {344, 240, 145, 17}, "Level Slot 14", 8.25},
    };
    for (const auto& [widget, geometry, text, boldSize] : items) {
        QCOMPARE(widget->geometry(), geometry);
        if (auto* button = qobject_cast<QPushButton*>(widget))
            QCOMPARE(button->text(), text);
        if (auto* label = qobject_cast<QLabel*>(widget))
            QCOMPARE(label->text(), text);
        QCOMPARE(widget->font().bold(), boldSize > 0);
        if (boldSize > 0) {
            QCOMPARE(widget->font().pointSizeF(), boldSize);
            QCOMPARE(widget->font().family(), QStringLiteral("MS Sans Serif"));
        }
    }
    QWidget* focus = w.comboLevelSlot(0);
    QWidgetList order;
    for (int i = 0; i < 30; ++i) {
        order << focus;
        do
            focus = focus->nextInFocusChain();
        while (!(focus->focusPolicy() & Qt::TabFocus));
    }
    QCOMPARE(order.mid(26),
             (QWidgetList{w.comboLevelSlot(26), w.saveChanges(), w.resetROM(), w.about()}));
    for (int i = 0; i < 26; ++i)
        QCOMPARE(order[i], w.comboLevelSlot(i));
}

void MainTest::listsPerVariant_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<int>("slotCount");
    QTest::addColumn<QString>("idsAt"); // the IDs at positions 0, 17, 30, last
    QTest::newRow("2") << "Zoomlet 2" << 27 << "00 12 1F 34";
    QTest::newRow("2 (J-Cart)") << "Zoomlet 2 (J-Cart)" << 27 << "00 12 1F 34";
    QTest::newRow("96") << "Zoomlet 96" << 27 << "00 12 1F 41";
    QTest::newRow("96 (J-Cart)") << "Zoomlet 96 (J-Cart)" << 27 << "00 12 1F 41";
    QTest::newRow("Military") << "Zoomlet Military" << 20 << "00 11 40 43";
}

// Every list holds the whole catalogue; each is pre-selected from its own byte at the variant's
// offset, the last match winning, and a byte without a label selects nothing.
void MainTest::listsPerVariant() {
    QFETCH(QString, variant);
    QFETCH(int, slotCount);
    QFETCH(QString, idsAt);
    const auto* row = varianttable::findSupported(variant.toStdString());
    std::string image = romimage::build(variant.toStdString());
    const std::string bytes("\x00\x0A\x2D\x11\x23\x1E\x43\x80\xFF", 9);
    romimage::put(image, row->slotTableOffset, bytes);
    // Decoys where the other revision keeps its table.
    romimage::put(image, row->slotTableOffset == 0x3E6AE ? 0x3EA46 : 0x3E6AE, std::string(27, 1));
    Harness h;
    MainWindow& w = h.start(h.image({}, image));
    QVERIFY(h.prompter.messages.empty());
    QCOMPARE(h.fs.reads.back(), std::make_pair(qint64{row->slotTableOffset}, qint64{slotCount}));
    QStringList labels;
    for (int j = 0; j < w.comboLevelSlot(0)->count(); ++j)
        labels << w.comboLevelSlot(0)->itemText(j);
    QCOMPARE((QStringList{labels[0].left(2), labels[17].left(2), labels[30].left(2),
                          labels.last().left(2)})
                 .join(' '),
             idsAt);
    for (int i = 0; i < MainWindow::maxSlots; ++i) {
        QComboBox* list = w.comboLevelSlot(i);
        QCOMPARE(w.LabelComboLevel(i)->text(),
                 i < slotCount ? QStringLiteral("Level Slot %1").arg(i + 1) : QString());
        QCOMPARE(list->isVisibleTo(&w), i < slotCount);
        QCOMPARE(list->count(), i < slotCount ? labels.size() : 0);
        if (i >= slotCount)
            continue;
        QVERIFY(!list->isEditable());
        QCOMPARE(list->itemText(labels.size() - 1), labels.last());
        const quint8 byte = static_cast<quint8>(i < 9 ? bytes[i] : image[row->slotTableOffset + i]);
        const auto match = std::find_if(labels.begin(), labels.end(), [&](const QString& l) {
            return l.left(2).toInt(nullptr, 16) == byte;
        });
        QCOMPARE(list->currentIndex(), match == labels.end() ? -1 : int(match - labels.begin()));
    }
}

void MainTest::clicksWriteOnlyTheChosenTable_data() {
    listsPerVariant_data();
}

// Random choices, saved one after another, then Reset: each click writes exactly the table it
// should, and its message comes only once the bytes are on disk.
void MainTest::clicksWriteOnlyTheChosenTable() {
    QFETCH(QString, variant);
    const auto* row = varianttable::findSupported(variant.toStdString());
    std::string expected = romimage::build(variant.toStdString());
    Harness h;
    const QString path = h.image({}, expected);
    MainWindow& w = h.start(path);
    std::string onDiskAtMessage;
    h.prompter.onMessage = [&](const Message&) { onDiskAtMessage = romimage::readFile(path); };

    std::mt19937 random(20261206); // fixed, so that a failure can be replayed
    for (int round = 0; round < 5; ++round) {
        std::string chosen;
        for (int i = 0; i < row->slotCount; ++i) {
            QComboBox* list = w.comboLevelSlot(i);
            list->setCurrentIndex(static_cast<int>(random() % unsigned(list->count())));
            chosen.push_back(static_cast<char>(list->currentText().left(2).toInt(nullptr, 16)));
        }
        w.saveChanges()->click();
        romimage::put(expected, row->slotTableOffset, chosen);
        QCOMPARE(romimage::readFile(path), expected);
        QCOMPARE(onDiskAtMessage, expected);
    }
    QCOMPARE(h.messageTexts(), QStringList(5, saved));
    QCOMPARE(h.prompter.messages.back().icon, MessageIcon::Information);

    h.prompter.answers = {Answer::No, Answer::Yes};
    w.resetROM()->click();
    QCOMPARE(romimage::readFile(path), expected);
    QCOMPARE(h.prompter.endCount, 0);
    QVERIFY(QFile::remove(path)); // a failed Reset keeps the program open
    w.resetROM()->click();
    QVERIFY(h.prompter.messages.back().text.startsWith("Nothing was reset"));
    QCOMPARE(h.prompter.endCount, 0);
    romimage::writeFile(h.dir.path(), "rom.bin", expected);
    h.prompter.answers = {Answer::Yes};
    w.resetROM()->click();
    QCOMPARE(h.messageTexts().last(),
             "ROM has been set to default values. Now quitting application.");
    const Message& ask = h.prompter.messages[5];
    QCOMPARE(ask.text, QStringLiteral("Really reset ROM?"));
    QCOMPARE(ask.buttons, MessageButtons::YesNo);
    QCOMPARE(ask.icon, MessageIcon::Exclamation);
    QCOMPARE(h.prompter.endCount, 1);
}

void MainTest::underTheAboutBoxTheWindowTakesNoInput() {
    Harness h;
    int opened = 0;
    h.showAbout = [&](QWidget*) { ++opened; };
    MainWindow& w = h.start(h.image("Zoomlet 2"));
    w.show();
    w.about()->click();
    QCOMPARE(opened, 1);
    QVERIFY(!w.isEnabled());
    QVERIFY(!w.close()); // the window system's close request too
    w.setEnabled(true);  // as the About box does when it closes
    QVERIFY(w.close());
}

void MainTest::realDialogs() {
    QString seen;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        seen = QStringList{box->text(), box->windowTitle(), QString::number(box->icon()),
                           QString::number(box->buttons().size()),
                           QString::number(box->defaultButton() == box->button(QMessageBox::Yes))}
                   .join('|');
        box->button(QMessageBox::No)->click();
    });
    QtPrompter prompter;
    QCOMPARE(
        prompter.message({"Really\r\nreset?", MessageIcon::Exclamation, MessageButtons::YesNo, {}}),
        Answer::No);
    QCOMPARE(seen, QStringLiteral("Really\nreset?|Lopwinder|%1|2|1").arg(QMessageBox::Warning));
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        seen = box->windowTitle() + QString::number(box->icon());
        box->button(QMessageBox::Ok)->click();
    });
    QCOMPARE(prompter.message(
                 {"ROM not found!", MessageIcon::Critical, MessageButtons::Ok, "Hexwarden"}),
             Answer::Ok);
    QCOMPARE(seen, QStringLiteral("Hexwarden%1").arg(QMessageBox::Critical));

    // The Open dialog: its title and one filter entry shown by its description; a typed name
    // need not exist. Its file model may clear the field once the folder has loaded, so the name
    // is typed again until the dialog takes it, as a user would.
    QTemporaryDir dir;
    const QString wanted = dir.filePath(QStringLiteral("my rom ä.gen"));
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        seen = QStringList{dialog->windowTitle(), dialog->nameFilters().join(';'),
                           dialog->selectedNameFilter()}
                   .join('|');
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* retry = new QTimer(dialog);
        QObject::connect(retry, &QTimer::timeout, dialog, [dialog, name, wanted] {
            name->setText(wanted);
            static_cast<QDialog*>(dialog)->accept();
        });
        retry->start(50);
    });
    QCOMPARE(prompter.askOpenFile({"Select a ROM...", "ROM Files (*.bin)|*.bin;*.gen", 1}), wanted);
    QCOMPARE(seen,
             QStringLiteral("Select a ROM...|ROM Files (*.bin) (*.bin *.gen)|ROM Files (*.bin)"));
    whenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    QCOMPARE(prompter.askOpenFile({"Select a ROM...", "ROM Files (*.bin)|*.bin;*.gen", 1}),
             QString());
}

QTEST_MAIN(MainTest)
#include "main_test.moc"
