#include "harness.h"
#include "rom/varianttable.h"

#include <QFile>
#include <QPushButton>
#include <QtTest>

#include <random>

namespace {

const QString saved = QStringLiteral("File saved successfully.");
const QString resetDone =
    QStringLiteral("ROM has been set to default values. Now quitting application.");

} // namespace

class SaveResetTest : public QObject {
    Q_OBJECT
private slots:
    void clicksWriteOnlyTheChosenTable_data();
    void clicksWriteOnlyTheChosenTable();
    void aFailedResetKeepsTheProgramOpen();
};

void SaveResetTest::clicksWriteOnlyTheChosenTable_data() {
    QTest::addColumn<QString>("variant");
    for (const auto& row : varianttable::rows) {
        if (row.supported)
            QTest::newRow(row.name.data()) << QString::fromLatin1(row.name.data(), row.name.size());
    }
}

// Random choices, saved one after another, then Reset: each click writes exactly the table it
// should, and its message comes only once the bytes are on disk.
void SaveResetTest::clicksWriteOnlyTheChosenTable() {
    QFETCH(QString, variant);
    const auto* row = varianttable::findSupported(variant.toStdString());
    std::string original = romimage::build(variant.toStdString());
    romimage::put(original, row->slotTableOffset, std::string(row->slotCount, '\x01'));
    Harness h;
    const QString path = h.image({}, original);
    MainWindow& w = h.start(path);
    std::string onDiskAtMessage;
    h.prompter.onMessage = [&](const Message&) { onDiskAtMessage = romimage::readFile(path); };

    std::mt19937 random(20261206); // fixed, so that a failure can be replayed
    std::string expected = original;
    for (int round = 0; round < 10; ++round) {
        std::string chosen;
        for (int i = 0; i < row->slotCount; ++i) {
            QComboBox* list = w.comboLevelSlot(i);
            list->setCurrentIndex(
                static_cast<int>(random() % static_cast<unsigned>(list->count())));
            chosen.push_back(static_cast<char>(list->currentText().left(2).toInt(nullptr, 16)));
        }
        w.saveChanges()->click();
        romimage::put(expected, row->slotTableOffset, chosen);
        QCOMPARE(romimage::readFile(path), expected);
        QCOMPARE(onDiskAtMessage, expected);
    }
    QCOMPARE(h.messageTexts(), QStringList(10, saved));
    QCOMPARE(h.prompter.messages.back().icon, MessageIcon::Information);

    h.prompter.answers = {Answer::No, Answer::Yes};
    w.resetROM()->click();
    QCOMPARE(romimage::readFile(path), expected);
    QCOMPARE(h.prompter.endCount, 0);
    w.resetROM()->click();
    romimage::put(expected, row->slotTableOffset,
                  std::string(row->factoryOrder.begin(), row->factoryOrder.end()));
    QCOMPARE(romimage::readFile(path), expected);
    QCOMPARE(h.messageTexts().mid(10),
             (QStringList{"Really reset ROM?", "Really reset ROM?", resetDone}));
    const Message& ask = h.prompter.messages[10];
    QCOMPARE(ask.buttons, MessageButtons::YesNo);
    QCOMPARE(ask.icon, MessageIcon::Exclamation);
    QCOMPARE(ask.shownTitle(), QStringLiteral("Lopwinder"));
    QCOMPARE(h.prompter.endCount, 1);
}

void SaveResetTest::aFailedResetKeepsTheProgramOpen() {
    Harness h;
    const QString path = h.image("Zoomlet Military");
    MainWindow& w = h.start(path);
    QVERIFY(QFile::remove(path));
    h.prompter.answers = {Answer::Yes};
    w.resetROM()->click();
    QVERIFY(!QFile::exists(path));
    QVERIFY(h.prompter.messages.back().text.startsWith("Nothing was reset"));
    QCOMPARE(h.prompter.messages.back().icon, MessageIcon::Critical);
    QCOMPARE(h.prompter.endCount, 0);
}

QTEST_MAIN(SaveResetTest)
#include "savereset_test.moc"
