#include "harness.h"
#include "rom/varianttable.h"

#include <QFile>
#include <QPushButton>
#include <QtTest>

#include <random>

namespace {

using Fault = ScriptedFileSystem::Fault;

const QString saved = QStringLiteral("File saved successfully.");
const QString resetDone =
    QStringLiteral("ROM has been set to default values. Now quitting application.");

// Selects the entry whose label begins with id.
void choose(QComboBox* list, const QString& id) {
    for (int j = 0; j < list->count(); ++j) {
        if (list->itemText(j).startsWith(id)) {
            list->setCurrentIndex(j);
            return;
        }
    }
    QFAIL(qPrintable("no entry " + id));
}

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (const int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

} // namespace

class SaveResetTest : public QObject {
    Q_OBJECT
private slots:
    void randomSelectionsNeverTouchAnythingElse_data();
    void randomSelectionsNeverTouchAnythingElse();
    void savingUnchangedOrTwiceRewritesTheSameBytes();
    void savePinnedExamples();
    void saveRefusesSlotsWithoutATrack();
    void resetNoChangesNothing();
    void resetYesWritesTheFactoryOrder_data();
    void resetYesWritesTheFactoryOrder();
    void failuresAreReportedAndNothingClaimsSuccess_data();
    void failuresAreReportedAndNothingClaimsSuccess();
    void aRemovedFileIsNotCreatedAgain();

private:
    static void variants_data();
};

void SaveResetTest::variants_data() {
    QTest::addColumn<QString>("variant");
    for (const auto& row : varianttable::rows) {
        if (row.supported) {
            const QString name = QString::fromLatin1(row.name.data(), row.name.size());
            QTest::newRow(qPrintable(name)) << name;
        }
    }
}

void SaveResetTest::randomSelectionsNeverTouchAnythingElse_data() {
    variants_data();
}

void SaveResetTest::randomSelectionsNeverTouchAnythingElse() {
    QFETCH(QString, variant);
    const auto* row = varianttable::findSupported(variant.toStdString());
    const std::string original = romimage::build(variant.toStdString());
    Harness h;
    const QString path = h.image({}, original);
    MainWindow& w = h.start(path);

    std::mt19937 random(20261206); // fixed, so that a failure can be replayed
    std::string onDiskAtMessage;
    h.prompter.onMessage = [&](const Message&) { onDiskAtMessage = romimage::readFile(path); };
    for (int round = 0; round < 25; ++round) {
        std::string chosen;
        for (int i = 0; i < row->slotCount; ++i) {
            QComboBox* list = w.comboLevelSlot(i);
            list->setCurrentIndex(
                static_cast<int>(random() % static_cast<unsigned>(list->count())));
            chosen.push_back(static_cast<char>(list->currentText().left(2).toInt(nullptr, 16)));
        }
        w.saveChanges()->click();
        std::string expected = original;
        romimage::put(expected, row->slotTableOffset, chosen);
        QCOMPARE(romimage::readFile(path), expected);
        QCOMPARE(onDiskAtMessage, expected); // the message came after the write
    }
    QCOMPARE(h.messageTexts(), QStringList(25, saved));
    const Message& m = h.prompter.messages.back();
    QCOMPARE(m.icon, MessageIcon::Information);
    QCOMPARE(m.buttons, MessageButtons::Ok);
    QCOMPARE(m.shownTitle(), QStringLiteral("Lopwinder"));
    QCOMPARE(h.prompter.endCount, 0);
}

void SaveResetTest::savingUnchangedOrTwiceRewritesTheSameBytes() {
    Harness h;
    const std::string original = romimage::build("Zoomlet 2");
    const QString path = h.image({}, original);
    MainWindow& w = h.start(path);
    w.saveChanges()->click();
    QCOMPARE(romimage::readFile(path), original);
    QCOMPARE(h.fs.writeOpens, 1);

    choose(w.comboLevelSlot(26), "34");
    w.saveChanges()->click();
    const std::string first = romimage::readFile(path);
    w.saveChanges()->click();
    QCOMPARE(romimage::readFile(path), first);
    QCOMPARE(first[0x3E6AE + 26], '\x34');
    QCOMPARE(h.messageTexts(), (QStringList{saved, saved, saved}));
}

void SaveResetTest::savePinnedExamples() {
    {
        Harness h;
        const QString path = h.image("Zoomlet 96");
        MainWindow& w = h.start(path);
        choose(w.comboLevelSlot(2), "0A");
        w.saveChanges()->click();
        QCOMPARE(romimage::readFile(path)[0x452C7], '\x0A');
    }
    {
        Harness h;
        const QString path = h.image("Zoomlet 2 (J-Cart)");
        MainWindow& w = h.start(path);
        choose(w.comboLevelSlot(0), "2E");
        choose(w.comboLevelSlot(9), "2E");
        w.saveChanges()->click();
        const std::string after = romimage::readFile(path);
        QCOMPARE(after[0x3EA46], '\x2E');
        QCOMPARE(after[0x3EA46 + 9], '\x2E');
        QCOMPARE(h.messageTexts(), QStringList{saved});
    }
}

void SaveResetTest::saveRefusesSlotsWithoutATrack() {
    std::string original = romimage::build("Zoomlet 2");
    original[0x3E6AE + 4] = '\x11';
    original[0x3E6AE + 20] = '\x90';
    Harness h;
    const QString path = h.image({}, original);
    MainWindow& w = h.start(path);
    w.saveChanges()->click();
    QCOMPARE(h.prompter.messages.size(), std::size_t{1});
    const Message& m = h.prompter.messages[0];
    QVERIFY(m.text.startsWith("Nothing was saved: no track is chosen for Level Slot 5, Level Slot "
                              "21."));
    QCOMPARE(m.icon, MessageIcon::Exclamation);
    QCOMPARE(h.fs.writeOpens, 0);
    QCOMPARE(romimage::readFile(path), original);

    choose(w.comboLevelSlot(4), "12");
    choose(w.comboLevelSlot(20), "12");
    w.saveChanges()->click();
    QCOMPARE(h.prompter.messages.back().text, saved);
}

void SaveResetTest::resetNoChangesNothing() {
    Harness h;
    const std::string original = romimage::build("Zoomlet 96");
    const QString path = h.image({}, original);
    MainWindow& w = h.start(path);
    h.prompter.answers = {Answer::No};
    w.resetROM()->click();
    QCOMPARE(h.prompter.messages.size(), std::size_t{1});
    const Message& ask = h.prompter.messages[0];
    QCOMPARE(ask.text, QStringLiteral("Really reset ROM?"));
    QCOMPARE(ask.buttons, MessageButtons::YesNo);
    QCOMPARE(ask.icon, MessageIcon::Exclamation);
    QCOMPARE(ask.shownTitle(), QStringLiteral("Lopwinder"));
    QCOMPARE(h.fs.writeOpens, 0);
    QCOMPARE(romimage::readFile(path), original);
    QCOMPARE(h.prompter.endCount, 0);
}

void SaveResetTest::resetYesWritesTheFactoryOrder_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("factory");
    QTest::newRow("Zoomlet 2") << "Zoomlet 2" << 0x3E6AE
                               << QByteArray::fromHex("0905222404311E0F2A13271B0E022E340C12170"
                                                      "31D2F2C28010D30");
    QTest::newRow("Zoomlet 2 (J-Cart)") << "Zoomlet 2 (J-Cart)" << 0x3EA46
                                        << QByteArray::fromHex("0905222404311E0F2A13271B0E022D340"
                                                               "C1217031D2F2C28010D30");
    QTest::newRow("Zoomlet 96 (J-Cart)") << "Zoomlet 96 (J-Cart)" << 0x452C5
                                         << QByteArray::fromHex("02403316052D3C1C01090D19300817"
                                                                "2413270E1D312C3F222A3E29");
    QTest::newRow("Zoomlet Military") << "Zoomlet Military" << 0x50CDC
                                      << QByteArray::fromHex("0103060B0D0F14171A1B0205080A0C111"
                                                             "216191D");
}

void SaveResetTest::resetYesWritesTheFactoryOrder() {
    QFETCH(QString, variant);
    QFETCH(int, offset);
    QFETCH(QByteArray, factory);

    // Start from a table that differs everywhere, and leave an unsaved choice in the window.
    std::string original = romimage::build(variant.toStdString());
    romimage::put(original, offset, std::string(static_cast<std::size_t>(factory.size()), '\x00'));
    Harness h;
    const QString path = h.image({}, original);
    MainWindow& w = h.start(path);
    choose(w.comboLevelSlot(1), "0A");
    h.prompter.answers = {Answer::Yes};
    w.resetROM()->click();

    std::string expected = original;
    romimage::put(expected, offset, factory.toStdString());
    QCOMPARE(romimage::readFile(path), expected);
    QCOMPARE(h.messageTexts(), (QStringList{"Really reset ROM?", resetDone}));
    QCOMPARE(h.prompter.messages[1].icon, MessageIcon::Information);
    QCOMPARE(h.prompter.messages[1].buttons, MessageButtons::Ok);
    QCOMPARE(h.prompter.endCount, 1);
}

void SaveResetTest::failuresAreReportedAndNothingClaimsSuccess_data() {
    QTest::addColumn<bool>("reset");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("headline");
    QTest::addColumn<bool>("newBytesOnDisk");

    const QList<std::tuple<const char*, Fault, QString, QString, bool>> faults{
        {"open", Fault::OpenForWrite, "Nothing was saved", "Nothing was reset", false},
        {"write", Fault::WriteNothing, "not saved completely", "not reset completely", false},
        {"flush", Fault::Flush, "may not have been saved", "may not have been reset", true},
        {"close", Fault::Close, "may not have been saved", "may not have been reset", true},
    };
    for (const auto& [name, fault, saveText, resetText, onDisk] : faults) {
        QTest::addRow("save %s", name) << false << int(fault) << saveText << onDisk;
        QTest::addRow("reset %s", name) << true << int(fault) << resetText << onDisk;
    }
}

void SaveResetTest::failuresAreReportedAndNothingClaimsSuccess() {
    QFETCH(bool, reset);
    QFETCH(int, fault);
    QFETCH(QString, headline);
    QFETCH(bool, newBytesOnDisk);

    std::string original = romimage::build("Zoomlet 2");
    romimage::put(original, 0x3E6AE, std::string(27, '\x00'));
    Harness h;
    const QString path = h.image({}, original);
    MainWindow& w = h.start(path);
    for (int i = 0; i < 27; ++i)
        choose(w.comboLevelSlot(i), "01");
    h.fs.fault = static_cast<Fault>(fault);
    h.prompter.answers = {Answer::Yes};
    (reset ? w.resetROM() : w.saveChanges())->click();

    const Message& last = h.prompter.messages.back();
    QVERIFY2(last.text.contains(headline), qPrintable(last.text));
    QCOMPARE(last.icon, MessageIcon::Critical);
    QVERIFY(!h.messageTexts().contains(saved));
    QVERIFY(!h.messageTexts().contains(resetDone));
    QCOMPARE(h.prompter.endCount, 0);

    std::string expected = original;
    if (newBytesOnDisk) {
        romimage::put(expected, 0x3E6AE,
                      reset ? bytes({0x09, 0x05, 0x22, 0x24, 0x04, 0x31, 0x1E, 0x0F, 0x2A,
                                     0x13, 0x27, 0x1B, 0x0E, 0x02, 0x2E, 0x34, 0x0C, 0x12,
                                     0x17, 0x03, 0x1D, 0x2F, 0x2C, 0x28, 0x01, 0x0D, 0x30})
                            : std::string(27, '\x01'));
    }
    QCOMPARE(romimage::readFile(path), expected);

    // Once the cause is gone the same command goes through.
    h.fs.fault = Fault::None;
    h.prompter.answers = {Answer::Yes};
    (reset ? w.resetROM() : w.saveChanges())->click();
    QCOMPARE(h.prompter.messages.back().text, reset ? resetDone : saved);
}

void SaveResetTest::aRemovedFileIsNotCreatedAgain() {
    Harness h;
    const QString path = h.image("Zoomlet Military");
    MainWindow& w = h.start(path);
    QVERIFY(QFile::remove(path));
    w.saveChanges()->click();
    h.prompter.answers = {Answer::Yes};
    w.resetROM()->click();
    QVERIFY(!QFile::exists(path));
    QVERIFY(h.prompter.messages[0].text.startsWith("Nothing was saved"));
    QVERIFY(h.prompter.messages.back().text.startsWith("Nothing was reset"));
    QCOMPARE(h.prompter.endCount, 0);
}

QTEST_MAIN(SaveResetTest)
#include "savereset_test.moc"
