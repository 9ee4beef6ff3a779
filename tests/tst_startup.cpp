// Start-up and the main window as it first appears: controls, captions, hidden lists, title and
// the game path choice.
#include "storedump.h"
#include "windowharness.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void titleForVersion_data();
    void titleForVersion();
    void initialControls_data();
    void initialControls();
    void hiddenListsStayHidden();
    void tabOrderAndFixedSize();
    void menuBarHoldsEightItemsInOrder();
    void firstStartAsksForTheGameBeforeTheWindow();
    void storedPathSkipsTheDialog();
    void gamePathChoice();
    void dialogThatFailsToOpenChangesNothing();
};

void TestStartup::titleForVersion_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("title");
    QTest::newRow("one-digit revision") << 2 << 0 << 6 << "Brinemoor V2.06";
    QTest::newRow("two-digit revision") << 2 << 1 << 12 << "Brinemoor V2.112";
    QTest::newRow("zeros") << 1 << 0 << 0 << "Brinemoor V1.00";
}

void TestStartup::titleForVersion()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, title);
    QCOMPARE(::titleForVersion(major, minor, revision), title);
}

void TestStartup::initialControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("name label") << "lbl_servername"
                                << "Name:" << QPoint(4, 10);
    QTest::newRow("address label") << "lbl_serverip"
                                   << "IP:Port:" << QPoint(244, 12);
    QTest::newRow("password label") << "lbl_pass"
                                    << "Pass:" << QPoint(444, 11);
    QTest::newRow("players keeps its trailing blank") << "lbl_players"
                                                      << "Players: 0/0 " << QPoint(8, 16);
    QTest::newRow("ping") << "lbl_ping"
                          << "Ping: -" << QPoint(96, 16);
    QTest::newRow("reserved") << "lbl_reserved"
                              << "Reserved Spaces: 0" << QPoint(8, 34);
    QTest::newRow("map") << "lbl_map"
                         << "Map:" << QPoint(8, 52);
    QTest::newRow("type") << "lbl_type"
                          << "Type:" << QPoint(120, 52);
    QTest::newRow("one plain ampersand") << "lbl_and"
                                         << "&" << QPoint(332, 318);
}

void TestStartup::initialControls()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QPoint, position);
    WindowHarness harness;
    harness.storeGamePath();
    harness.start();
    auto *label = harness.window().findChild<QLabel *>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->pos(), position);
    QVERIFY(!label->buddy());
}

void TestStartup::hiddenListsStayHidden()
{
    WindowHarness harness;
    harness.storeGamePath();
    harness.reopenStore()->write(QStringLiteral("A"), QStringLiteral("ip"),
                                 QStringLiteral("127.0.0.2:28960"));
    harness.start();
    harness.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&harness.window()));
    for (const char *name : {"servers_ip", "servers_pass", "server_options"}) {
        auto *list = harness.find<QListWidget>(name);
        QVERIFY2(list && !list->isVisible(), name);
    }
    QCOMPARE(harness.find<QListWidget>("servers_ip")->count(), 1);
    for (const char *name : {"gullwingnicks", "codnicks"}) {
        auto *combo = harness.find<QComboBox>(name);
        QVERIFY2(combo && !combo->isVisible(), name);
    }
    QVERIFY(harness.find<QListWidget>("servers_name")->isVisible());
    QVERIFY(harness.find<QListWidget>("server_players")->isVisible());
    QCOMPARE(harness.find<QLineEdit>("server_pass")->echoMode(), QLineEdit::Normal);

    // Screen readers name the fields and lists after their captions.
    const std::pair<const char *, const char *> accessible[] = {{"server_name", "Name"},
                                                                {"server_ip", "IP:Port"},
                                                                {"server_pass", "Pass"},
                                                                {"servers_name", "Server List"},
                                                                {"server_players", "Player List"}};
    for (const auto &[name, caption] : accessible) {
        QWidget *widget = harness.window().findChild<QWidget *>(QLatin1String(name));
        QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name),
                 QLatin1String(caption));
    }
}

void TestStartup::tabOrderAndFixedSize()
{
    WindowHarness harness;
    harness.storeGamePath();
    Brinemoor &window = harness.start();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget *expected[] = {
        harness.find<QLineEdit>("server_name"), harness.find<QLineEdit>("server_ip"),
        harness.find<QLineEdit>("server_pass"), harness.find<QListWidget>("servers_name"),
        harness.find<QListWidget>("server_players")};
    QWidget *widget = expected[0];
    for (QWidget *next : expected) {
        QCOMPARE(widget, next);
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || !widget->isVisible())
            widget = widget->nextInFocusChain();
    }
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.centralWidget()->size(), QSize(562, 354));
    QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
}

void TestStartup::menuBarHoldsEightItemsInOrder()
{
    WindowHarness harness;
    harness.storeGamePath();
    Brinemoor &window = harness.start();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QAction *> actions = window.menuBar()->actions();
    const QStringList captions{"[ Quit ]",     "[ New ]",         "[ Save ]",
                               "[ Delete ]",   "[ Get Details ]", "[ Join Game ]",
                               "[ Set Path ]", "[ Help Notes ]"};
    QCOMPARE(actions.size(), captions.size());
    for (qsizetype i = 0; i < actions.size(); ++i) {
        QCOMPARE(actions.at(i)->text(), captions.at(i));
        QVERIFY(!actions.at(i)->menu());
        // Every item stands on the bar itself, none behind the overflow button.
        const QRect item = window.menuBar()->actionGeometry(actions.at(i));
        QVERIFY2(item.isValid() && item.right() < window.width(), qPrintable(captions.at(i)));
    }
}

void TestStartup::firstStartAsksForTheGameBeforeTheWindow()
{
    WindowHarness harness;
    harness.dialogs.cancelNext();
    Brinemoor &window = harness.start();
    QCOMPARE(harness.dialogs.fileDialogs.size(), 1);
    const FileDialogPreset preset = harness.dialogs.fileDialogs.constFirst();
    QCOMPARE(preset.title, QStringLiteral("Select CoDMP.exe"));
    QCOMPARE(preset.fileName, QStringLiteral("CoDMP.exe"));
    QCOMPARE(preset.filter, QStringLiteral("*.exe"));
    QCOMPARE(preset.defaultSuffix, QStringLiteral("exe"));
    QVERIFY(window.state().GamePath.isEmpty());
    QCOMPARE(window.windowTitle(), WindowHarness::versionTitle());
    QCOMPARE(harness.find<QListWidget>("servers_name")->count(), 0);
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(dumpStore(harness.settingsPath()).isEmpty());
}

void TestStartup::storedPathSkipsTheDialog()
{
    WindowHarness harness;
    // A stored path is not checked for existence at start-up.
    harness.reopenStore()->write(QStringLiteral("settings"), QStringLiteral("codpath"),
                                 QStringLiteral("/nowhere/CoDMP.exe"));
    Brinemoor &window = harness.start();
    QVERIFY(harness.dialogs.fileDialogs.isEmpty());
    QCOMPARE(window.state().GamePath, QStringLiteral("/nowhere/CoDMP.exe"));
}

void TestStartup::gamePathChoice()
{
    WindowHarness harness;
    harness.storeGamePath();
    const QString upperCase = QDir(harness.dirPath()).filePath(QStringLiteral("CODMP.EXE"));
    const QString otherGame = QDir(harness.dirPath()).filePath(QStringLiteral("CoDSP.exe"));
    for (const QString &path : {upperCase, otherGame}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    Brinemoor &window = harness.start();
    auto *setPath = harness.find<QAction>("menu_choosepath");

    // Another file, then a missing one, reopen the dialog; the upper-case name is accepted as
    // the dialog returned it.
    harness.dialogs.chooseFile(otherGame);
    harness.dialogs.chooseFile(QDir(harness.dirPath()).filePath(QStringLiteral("gone/CoDMP.exe")));
    harness.dialogs.chooseFile(upperCase);
    setPath->trigger();
    QCOMPARE(harness.dialogs.fileDialogs.size(), 3);
    QCOMPARE(window.state().GamePath, upperCase);
    QCOMPARE(dumpStore(harness.settingsPath()).at(0)[QStringLiteral("codpath")].toString(),
             upperCase);

    // A cancel after a rejection keeps the path chosen before.
    harness.dialogs.chooseFile(otherGame);
    harness.dialogs.cancelNext();
    setPath->trigger();
    QCOMPARE(window.state().GamePath, upperCase);
    QCOMPARE(dumpStore(harness.settingsPath()).at(0)[QStringLiteral("codpath")].toString(),
             upperCase);
}

void TestStartup::dialogThatFailsToOpenChangesNothing()
{
    WindowHarness harness;
    harness.dialogs.chooseNext({FileChoice::Outcome::Failed, {}});
    Brinemoor &window = harness.start();
    QCOMPARE(harness.dialogs.fileDialogs.size(), 1);
    QVERIFY(window.state().GamePath.isEmpty());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
