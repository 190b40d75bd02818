#include "harness.h"
#include "rom/varianttable.h"
#include "tracks/trackid.h"

#include <QLabel>
#include <QtTest>

using IdsAt = QList<QPair<int, QString>>; // entry position -> leading ID

class SlotEditorTest : public QObject {
    Q_OBJECT
private slots:
    void listsPerVariant_data();
    void listsPerVariant();
    void preselectsFromTheSlotBytes_data();
    void preselectsFromTheSlotBytes();
    void jCartTablesAreReadAtTheirOwnOffsets_data();
    void jCartTablesAreReadAtTheirOwnOffsets();
    void truncatedImageIsRefused();
    void geometryAndAccessibility();
};

void SlotEditorTest::listsPerVariant_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<int>("slotCount");
    QTest::addColumn<int>("entries");
    QTest::addColumn<IdsAt>("idsAt");

    const IdsAt zl2{{0, "00"}, {16, "10"}, {17, "12"}, {31, "21"}, {49, "34"}};
    const IdsAt zl96{{17, "12"}, {31, "21"}, {50, "3C"}, {55, "41"}};
    QTest::newRow("Zoomlet 2") << "Zoomlet 2" << 27 << 50 << zl2;
    QTest::newRow("Zoomlet 2 (J-Cart)") << "Zoomlet 2 (J-Cart)" << 27 << 50 << zl2;
    QTest::newRow("Zoomlet 96") << "Zoomlet 96" << 27 << 56 << zl96;
    QTest::newRow("Zoomlet 96 (J-Cart)") << "Zoomlet 96 (J-Cart)" << 27 << 56 << zl96;
    QTest::newRow("Zoomlet Military")
        << "Zoomlet Military" << 20 << 34 << IdsAt{{0, "00"}, {29, "1D"}, {30, "40"}, {33, "43"}};
}

void SlotEditorTest::listsPerVariant() {
    QFETCH(QString, variant);
    QFETCH(int, slotCount);
    QFETCH(int, entries);
    QFETCH(IdsAt, idsAt);

    Harness h;
    MainWindow& w = h.start(h.image(variant.toStdString()));
    QVERIFY(h.prompter.messages.empty());
    QCOMPARE(h.visibleLists(), slotCount);

    const auto* row = varianttable::findSupported(variant.toStdString());
    QStringList first;
    for (int j = 0; j < w.comboLevelSlot(0)->count(); ++j)
        first << w.comboLevelSlot(0)->itemText(j);
    QCOMPARE(first.size(), entries);
    for (const auto& [position, id] : idsAt)
        QCOMPARE(first[position].left(2), id);

    for (int i = 0; i < MainWindow::maxSlots; ++i) {
        QComboBox* list = w.comboLevelSlot(i);
        QLabel* caption = w.LabelComboLevel(i);
        if (i >= slotCount) {
            QVERIFY(list->isHidden());
            QCOMPARE(list->count(), 0);
            QCOMPARE(caption->text(), QString());
            continue;
        }
        QCOMPARE(caption->text(), QStringLiteral("Level Slot %1").arg(i + 1));
        QVERIFY(!list->isEditable());
        QStringList labels;
        for (int j = 0; j < list->count(); ++j)
            labels << list->itemText(j);
        QCOMPARE(labels, first);
        // The image holds the factory order, all of which the catalogue knows.
        QCOMPARE(list->currentText().left(2), trackid::text(row->factoryOrder[i]));
    }
}

void SlotEditorTest::preselectsFromTheSlotBytes_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<int>("slotByte");
    QTest::addColumn<QString>("selected"); // empty: no selection

    QTest::newRow("0x0A") << "Zoomlet 96" << 0x0A << "0A";
    QTest::newRow("0x00") << "Zoomlet 2" << 0x00 << "00";
    QTest::newRow("0x2D") << "Zoomlet Military" << 0x2D << "";
    QTest::newRow("45 = 0x2D") << "Zoomlet 96" << 45 << "2D";
    QTest::newRow("0x43 Military") << "Zoomlet Military" << 0x43 << "43";
    QTest::newRow("missing 0x11 in 2") << "Zoomlet 2" << 0x11 << "";
    QTest::newRow("missing 0x23 in 96") << "Zoomlet 96" << 0x23 << "";
    QTest::newRow("missing 0x1E in Military") << "Zoomlet Military" << 0x1E << "";
    QTest::newRow("above 0x34 in 2") << "Zoomlet 2" << 0x35 << "";
    QTest::newRow("0x80") << "Zoomlet 96" << 0x80 << "";
    QTest::newRow("0xFF") << "Zoomlet 2 (J-Cart)" << 0xFF << "";
}

void SlotEditorTest::preselectsFromTheSlotBytes() {
    QFETCH(QString, variant);
    QFETCH(int, slotByte);
    QFETCH(QString, selected);

    const auto* row = varianttable::findSupported(variant.toStdString());
    std::string image = romimage::build(variant.toStdString());
    constexpr int slot = 5;
    image[static_cast<std::size_t>(row->slotTableOffset + slot - 1)] = static_cast<char>(slotByte);

    Harness h;
    MainWindow& w = h.start(h.image({}, image));
    QVERIFY(h.prompter.messages.empty());
    QComboBox* list = w.comboLevelSlot(slot - 1);
    if (selected.isEmpty()) {
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(list->currentText(), QString());
    } else {
        QCOMPARE(list->currentText().left(2), selected);
    }
    for (int i = 0; i < row->slotCount; ++i) {
        if (i != slot - 1)
            QVERIFY(w.comboLevelSlot(i)->currentIndex() >= 0);
    }
    // The whole table came in one read, after the header reads.
    const auto& last = h.fs.reads.back();
    QCOMPARE(last.offset, qint64{row->slotTableOffset});
    QCOMPARE(last.length, qint64{row->slotCount});
}

void SlotEditorTest::jCartTablesAreReadAtTheirOwnOffsets_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<int>("decoyOffset");
    QTest::newRow("2 (J-Cart)") << "Zoomlet 2 (J-Cart)" << 0x3E6AE;
    QTest::newRow("2") << "Zoomlet 2" << 0x3EA46;
    QTest::newRow("96 (J-Cart)") << "Zoomlet 96 (J-Cart)" << 0x3EA46;
}

void SlotEditorTest::jCartTablesAreReadAtTheirOwnOffsets() {
    QFETCH(QString, variant);
    QFETCH(int, decoyOffset);
    std::string image = romimage::build(variant.toStdString());
    romimage::put(image, decoyOffset, std::string(27, '\x01'));
    const auto* row = varianttable::findSupported(variant.toStdString());

    Harness h;
    MainWindow& w = h.start(h.image({}, image));
    for (int i = 0; i < 27; ++i)
        QCOMPARE(w.comboLevelSlot(i)->currentText().left(2), trackid::text(row->factoryOrder[i]));
}

void SlotEditorTest::truncatedImageIsRefused() {
    // The header passes, but the file ends inside the slot table.
    const std::string image = romimage::build("Zoomlet Military", 0x50CDC + 19);
    Harness h;
    const QString path = h.image({}, image);
    MainWindow& w = h.start(path);
    QCOMPARE(h.prompter.messages.size(), std::size_t{1});
    QVERIFY(h.prompter.messages[0].text.contains("too short to hold its track table"));
    QCOMPARE(h.prompter.messages[0].icon, MessageIcon::Critical);
    QCOMPARE(h.prompter.endCount, 1);
    QCOMPARE(h.visibleLists(), 0);
    QVERIFY(!w.isVisible());
    QCOMPARE(romimage::readFile(path), image);
}

void SlotEditorTest::geometryAndAccessibility() {
    Harness h;
    MainWindow& w = h.start(h.image("Zoomlet 2"));
    QCOMPARE(w.comboLevelSlot(0)->geometry(), QRect(16, 32, 313, 21));
    QCOMPARE(w.LabelComboLevel(0)->geometry(), QRect(16, 16, 145, 17));
    QCOMPARE(w.comboLevelSlot(8)->geometry(), QRect(16, 480, 313, 21));
    QCOMPARE(w.comboLevelSlot(9)->geometry(), QRect(344, 32, 313, 21));
    QCOMPARE(w.LabelComboLevel(13)->geometry(), QRect(344, 240, 145, 17));
    QCOMPARE(w.comboLevelSlot(26)->geometry(), QRect(672, 480, 313, 21));

    const QFont font = w.LabelComboLevel(4)->font();
    QCOMPARE(font.family(), QStringLiteral("MS Sans Serif"));
    QVERIFY(font.bold());
    QCOMPARE(font.pointSizeF(), 8.25);

    QCOMPARE(w.comboLevelSlot(11)->accessibleDescription(), QStringLiteral("Level Slot 12"));
    QCOMPARE(w.LabelComboLevel(11)->buddy(), w.comboLevelSlot(11));
}

QTEST_MAIN(SlotEditorTest)
#include "sloteditor_test.moc"
