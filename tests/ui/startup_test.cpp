#include "harness.h"
#include "main/qtprompter.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

const QString chooseRom = QStringLiteral("You must choose a ROM! Closing down.");
const QString notSupported = QStringLiteral(
    "This ROM is either not a Mega Drive Zoomlet ROM; or in SMD format, which is not supported. "
    "Now closing down.");
const QString firstGame = QStringLiteral(
    "Zoomlet 1 is not supported due to not having a Time Trial mode, and therefore\r\nno "
    "choosable track list. Quitting application - please choose one of the later titles.");

// Runs check on the active modal widget once it is up, from inside its event loop.
void whenModal(std::function<void(QWidget*)> check) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, check] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            check(modal);
        }
    });
    timer->start();
}

QWidget* nextTabStop(QWidget* widget) {
    do
        widget = widget->nextInFocusChain();
    while (!(widget->focusPolicy() & Qt::TabFocus));
    return widget;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void refusals_data();
    void refusals();
    void acceptedImageCaptionsTheWindow();
    void windowLayout();
    void aboutDisablesTheMainWindow();
    void realPrompterShowsTheMessageBox();
    void realPrompterAsksWithTheFileDialog();
    void realPrompterCancelGivesEmptyPath();
};

void StartupTest::refusals_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addColumn<bool>("failReads");
    QTest::addColumn<QStringList>("expected");

    const auto image = [](std::string_view variant, qint64 size = romimage::defaultSize) {
        const std::string bytes = romimage::build(variant, size);
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    };
    QTest::newRow("cancelled") << QString() << QByteArray() << false << QStringList{chooseRom};
    QTest::newRow("no such file") << "gone.bin" << QByteArray() << false << QStringList{chooseRom};
    QTest::newRow("other game") << "other.bin" << image("Error!") << false
                                << QStringList{notSupported};
    QTest::newRow("smd extension")
        << "z2.smd" << image("Zoomlet 2") << false << QStringList{notSupported};
    QTest::newRow("one byte") << "one.bin" << QByteArray("S") << false << QStringList{notSupported};
    QTest::newRow("cut in header")
        << "cut.bin" << image("Zoomlet 2", 0x188) << false << QStringList{notSupported};
    QTest::newRow("first game U") << "u.bin" << image("Zoomlet 1 (U)") << false
                                  << QStringList{firstGame};
    QTest::newRow("first game E") << "e.BIN" << image("Zoomlet 1 (E)") << false
                                  << QStringList{firstGame};
    QTest::newRow("unreadable") << "locked.bin" << image("Zoomlet 2") << true
                                << QStringList{"ROM not found!", notSupported};
    QTest::newRow("gone before its track table")
        << "gone.bin" << image("Zoomlet 2") << false << QStringList{"ROM not found!", chooseRom};
}

void StartupTest::refusals() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, failReads);
    QFETCH(QStringList, expected);
    const int vanishAfterReads =
        QTest::currentDataTag() == QByteArray("gone before its track table") ? 3 : -1;

    Harness h;
    QString path = fileName.isEmpty() ? QString() : h.dir.filePath(fileName);
    if (!bytes.isEmpty())
        romimage::writeFile(h.dir.path(), fileName, bytes.toStdString());
    const QDateTime modified = QFileInfo(path).lastModified();
    h.fs.failReads = failReads;
    h.fs.vanishAfterReads = vanishAfterReads;

    MainWindow& w = h.start(path);

    QCOMPARE(h.messageTexts(), expected);
    const Message& last = h.prompter.messages.back();
    QCOMPARE(last.icon, MessageIcon::Information);
    QCOMPARE(last.buttons, MessageButtons::Ok);
    QCOMPARE(last.shownTitle(), QStringLiteral("Lopwinder"));
    QCOMPARE(h.prompter.endCount, 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(h.fs.writeOpens, 0);
    if (!bytes.isEmpty() && vanishAfterReads < 0) {
        QCOMPARE(romimage::readFile(path), bytes.toStdString());
        QCOMPARE(QFileInfo(path).lastModified(), modified);
    }
    QCOMPARE(h.prompter.openRequests.size(), std::size_t{1});
    QCOMPARE(h.prompter.openRequests[0].title, QStringLiteral("Select a ROM..."));
    QCOMPARE(h.prompter.openRequests[0].filter, QStringLiteral("ROM Files (*.bin)|*.bin;*.gen"));
    QCOMPARE(h.prompter.openRequests[0].filterIndex, 1);
}

void StartupTest::acceptedImageCaptionsTheWindow() {
    Harness h;
    MainWindow& w = h.start(h.image("Zoomlet 96 (J-Cart)"));
    QVERIFY(h.prompter.messages.empty());
    QCOMPARE(h.prompter.endCount, 0);
    QCOMPARE(w.windowTitle(), QStringLiteral("Lopwinder - Zoomlet 96 (J-Cart)"));
    QCOMPARE(w.objectName(), QStringLiteral("main"));
}

void StartupTest::windowLayout() {
    Harness h;
    MainWindow& w = h.start(h.image("Zoomlet 2"));
    QCOMPARE(w.size(), QSize(1000, 575));
    QCOMPARE(w.geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
    QCOMPARE(w.saveChanges()->text(), QStringLiteral("Save Changes"));
    QCOMPARE(w.saveChanges()->geometry(), QRect(184, 512, 281, 49));
    QCOMPARE(w.resetROM()->text(), QStringLiteral("Reset ROM to Defaults"));
    QCOMPARE(w.resetROM()->geometry(), QRect(536, 512, 281, 49));
    QCOMPARE(w.about()->text(), QStringLiteral("About..."));
    QCOMPARE(w.about()->geometry(), QRect(928, 1, 65, 25));

    const QFont save = w.saveChanges()->font();
    QCOMPARE(save.family(), QStringLiteral("MS Sans Serif"));
    QVERIFY(save.bold());
    QCOMPARE(save.pointSizeF(), 17.25);
    QCOMPARE(w.resetROM()->font().pointSizeF(), 13.5);
    QVERIFY(w.resetROM()->font().bold());
    QVERIFY(!w.about()->font().bold());

    QWidget* focus = w.comboLevelSlot(0);
    for (int i = 1; i < MainWindow::maxSlots; ++i) {
        focus = nextTabStop(focus);
        QCOMPARE(focus, w.comboLevelSlot(i));
    }
    QCOMPARE(nextTabStop(focus), w.saveChanges());
    QCOMPARE(nextTabStop(w.saveChanges()), w.resetROM());
    QCOMPARE(nextTabStop(w.resetROM()), w.about());
}

void StartupTest::aboutDisablesTheMainWindow() {
    Harness h;
    MainWindow& w = h.start(h.image("Zoomlet 2"));
    w.show();
    QVERIFY(w.isEnabled());
    w.about()->click();
    QCOMPARE(h.aboutOpened, 1);
    QVERIFY(!w.isEnabled());
}

void StartupTest::realPrompterShowsTheMessageBox() {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool yesIsDefault = false;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->buttons().size();
        yesIsDefault = box->defaultButton() == box->button(QMessageBox::Yes);
        box->button(QMessageBox::No)->click();
    });
    QtPrompter prompter;
    const Answer answer =
        prompter.message({"Really\r\nreset?", MessageIcon::Exclamation, MessageButtons::YesNo, {}});
    QCOMPARE(answer, Answer::No);
    QCOMPARE(text, QStringLiteral("Really\nreset?"));
    QCOMPARE(title, QStringLiteral("Lopwinder"));
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(buttons, 2);
    QVERIFY(yesIsDefault);

    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->buttons().size();
        box->button(QMessageBox::Ok)->click();
    });
    QCOMPARE(prompter.message(
                 {"ROM not found!", MessageIcon::Critical, MessageButtons::Ok, "Hexwarden"}),
             Answer::Ok);
    QCOMPARE(title, QStringLiteral("Hexwarden"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, 1);
}

void StartupTest::realPrompterAsksWithTheFileDialog() {
    QTemporaryDir dir;
    const QString wanted = dir.filePath(QStringLiteral("my rom ä.gen"));
    QString title;
    QStringList filters;
    QString selectedFilter;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        selectedFilter = dialog->selectedNameFilter();
        // A typed name that does not exist is accepted and handed back. The dialog's file model
        // may clear the field once it has loaded the folder, so type again until the dialog
        // takes it, as a user would; give up after a few seconds rather than hang.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        auto* retry = new QTimer(dialog);
        QObject::connect(retry, &QTimer::timeout, dialog,
                         [dialog, name, wanted, tries = 0]() mutable {
                             if (++tries > 100) {
                                 static_cast<QDialog*>(dialog)->reject();
                                 return;
                             }
                             name->setText(wanted);
                             static_cast<QDialog*>(dialog)->accept();
                         });
        retry->start(50);
    });
    QtPrompter prompter;
    const QString path =
        prompter.askOpenFile({"Select a ROM...", "ROM Files (*.bin)|*.bin;*.gen", 1});
    QCOMPARE(title, QStringLiteral("Select a ROM..."));
    QCOMPARE(filters, QStringList{QStringLiteral("ROM Files (*.bin) (*.bin *.gen)")});
    QCOMPARE(selectedFilter, QStringLiteral("ROM Files (*.bin)")); // shown without the patterns
    QCOMPARE(path, wanted);
}

void StartupTest::realPrompterCancelGivesEmptyPath() {
    whenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    QtPrompter prompter;
    QCOMPARE(prompter.askOpenFile({"Select a ROM...", "ROM Files (*.bin)|*.bin;*.gen", 1}),
             QString());
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
