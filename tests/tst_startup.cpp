// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and the main window as it first appears: controls, captions, hidden lists, title and
// the game path choice.
#include "storedump.h"
#include "version.h"
#include "windowharness.h"
#include "app/elidinglabel.h"
#include "app/translation.h"
#include "bookmarks/bookmarkmodel.h"
#include "instance/runningcopy.h"

#include <QAccessible>
#include <QAction>
#include <QDirIterator>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenuBar>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Every accessible object a screen reader can reach from the application; lists and combo boxes
// bring their rows and cells along.
void walkAccessible(QAccessibleInterface *node, QList<QAccessibleInterface *> &reached)
{
    if (!node || reached.size() > 10000)
        return;
    reached.append(node);
    for (int i = 0; i < node->childCount(); ++i)
        walkAccessible(node->child(i), reached);
}

// The objects reached whose name, value or description holds `secret`, by object name (or role).
QStringList carriersOf(const QString &secret)
{
    QList<QAccessibleInterface *> reached;
    walkAccessible(QAccessible::queryAccessibleInterface(qApp), reached);
    QStringList carriers;
    for (QAccessibleInterface *node : std::as_const(reached)) {
        const QString texts = node->text(QAccessible::Name) + node->text(QAccessible::Value)
            + node->text(QAccessible::Description);
        if (texts.contains(secret))
            carriers.append(node->object() ? node->object()->objectName()
                                           : QString::number(node->role()));
    }
    return carriers;
}

// Every file and folder under `root`, with the contents of the files.
QStringList treeOf(const QString &root)
{
    QStringList tree;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        QFile file(entry.filePath());
        const QByteArray content = entry.isFile() && file.open(QIODevice::ReadOnly)
            ? file.readAll()
            : QByteArray(entry.isDir() ? "<folder>" : "<unreadable>");
        tree.append(entry.filePath() + u'=' + QString::fromUtf8(content));
    }
    tree.sort();
    return tree;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void titleForVersion_data();
    void titleForVersion();
    void informationalOptions_data();
    void informationalOptions();
    void desktopFilesValidate_data();
    void desktopFilesValidate();
    void initialControls_data();
    void initialControls();
    void hiddenListsStayHidden();
    void tabOrderAndFixedSize();
    void menuBarHoldsNineItemsInOrder();
    void windowInTheUsersLanguage_data();
    void windowInTheUsersLanguage();
    void shortcutsTriggerTheirItems_data();
    void shortcutsTriggerTheirItems();
    void firstStartAsksForTheGameBeforeTheWindow();
    void storedPathSkipsTheDialog();
    void gamePathChoice();
    void dialogThatFailsToOpenChangesNothing();
    void unreadableStoreIsReportedAndKept_data();
    void unreadableStoreIsReportedAndKept();
    void laterStartHandsOver_data();
    void laterStartHandsOver();
    void strangersMessagesAreDropped_data();
    void strangersMessagesAreDropped();
    void crashedCopyLeavesNoLock();
};

void TestStartup::titleForVersion_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("title");
    QTest::newRow("one-digit revision") << 3 << 4 << 5 << "Brinemoor V3.45";
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

void TestStartup::informationalOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("printed"); // each is found in the standard output
    const QString version = QStringLiteral("Brinemoor ") + QLatin1String(kVersionText) + u'\n';
    QTest::newRow("version") << QStringList{"--version"} << 0 << QStringList{version};
    QTest::newRow("help names the switches")
        << QStringList{"--help"} << 0 << QStringList{"--version", "/nick:", "/debug", "--join"};
    QTest::newRow("help asked with the version: the help")
        << QStringList{"--help", "--version"} << 0 << QStringList{"--version", "/nick:"};
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 1 << QStringList{};
}

// The real program in a process of its own, which ends without opening a window.
void TestStartup::informationalOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, printed);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(BRINEMOOR_EXECUTABLE), arguments);
    QVERIFY(program.waitForStarted());
    QVERIFY(program.waitForFinished());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    // A Windows program's text output ends its lines with CR LF.
    const QString output = QString::fromUtf8(program.readAllStandardOutput()).remove(u'\r');
    for (const QString &text : std::as_const(printed))
        QVERIFY2(output.contains(text), qPrintable(output));
    if (printed.isEmpty())
        QVERIFY2(output.isEmpty(), qPrintable(output));
}

void TestStartup::desktopFilesValidate_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    // desktop-file-validate exits 0 on warnings and hints, so it passes only when it says nothing.
    QTest::addColumn<bool>("silentWhenValid");
    QTest::newRow("desktop entry")
        << "desktop-file-validate" << QStringList{QFINDTESTDATA("../resources/brinemoor.desktop")}
        << true;
    QTest::newRow("AppStream metainfo")
        << "appstreamcli"
        << QStringList{"validate", "--no-net",
                       QFINDTESTDATA("../resources/example.brinemoor.Brinemoor.metainfo.xml")}
        << false;
}

// The files that desktops read when the program is installed, checked by the desktops' own tools.
void TestStartup::desktopFilesValidate()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QFETCH(bool, silentWhenValid);
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        QSKIP(qPrintable(tool + QStringLiteral(" is not installed")));
    QVERIFY(!arguments.constLast().isEmpty());
    QProcess validator;
    validator.setProcessChannelMode(QProcess::MergedChannels);
    validator.start(program, arguments);
    QVERIFY(validator.waitForStarted());
    QVERIFY(validator.waitForFinished());
    const QByteArray output = validator.readAll();
    QVERIFY2(validator.exitStatus() == QProcess::NormalExit && validator.exitCode() == 0,
             output.constData());
    if (silentWhenValid)
        QVERIFY2(output.trimmed().isEmpty(), output.constData());
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
    // No port: selecting the bookmark shows the check's message and sends nothing.
    harness.reopenStore()->write(QStringLiteral("A"), QStringLiteral("ip"),
                                 QStringLiteral("127.0.0.2"));
    harness.reopenStore()->write(QStringLiteral("A"), QStringLiteral("password"),
                                 QStringLiteral("pw-on-the-shelf"));
    harness.start();
    harness.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&harness.window()));
    // The data the design kept in hidden lists is no widget: the bookmarks' addresses and
    // passwords are roles of the list's model.
    for (const char *name :
         {"servers_ip", "servers_pass", "server_options", "gullwingnicks", "codnicks", "dataShelf"})
        QVERIFY2(!harness.find<QWidget>(name), name);
    QCOMPARE(harness.bookmarkRows(roleId(BookmarkRole::Address)), QStringList{"127.0.0.2"});
    QVERIFY(harness.bookmarkList()->isVisible());
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

    // A stored password reaches assistive technology through the Pass field only, once the
    // bookmark is loaded into it; the hidden lists are never reached at all.
    QCOMPARE(carriersOf(QStringLiteral("pw-on-the-shelf")), QStringList{});
    QCOMPARE(carriersOf(QStringLiteral("127.0.0.2")), QStringList{});
    harness.dialogs.answerNext(Dialogs::Answer::Ok);
    harness.selectBookmark(0);
    QCOMPARE(harness.find<QLineEdit>("server_pass")->text(), QStringLiteral("pw-on-the-shelf"));
    QCOMPARE(carriersOf(QStringLiteral("pw-on-the-shelf")), QStringList{"server_pass"});
}

void TestStartup::tabOrderAndFixedSize()
{
    WindowHarness harness;
    harness.storeGamePath();
    Brinemoor &window = harness.start();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget *expected[] = {harness.find<QLineEdit>("server_name"),
                           harness.find<QLineEdit>("server_ip"),
                           harness.find<QLineEdit>("server_pass"), harness.bookmarkList(),
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

void TestStartup::menuBarHoldsNineItemsInOrder()
{
    WindowHarness harness;
    harness.storeGamePath();
    Brinemoor &window = harness.start();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QAction *> actions = window.menuBar()->actions();
    const QStringList captions{"[ Quit ]",     "[ New ]",         "[ Save ]",
                               "[ Delete ]",   "[ Get Details ]", "[ Join Game ]",
                               "[ Set Path ]", "[ Help Notes ]",  "[ Find ]"};
    QCOMPARE(actions.size(), captions.size());
    for (qsizetype i = 0; i < actions.size(); ++i) {
        QCOMPARE(actions.at(i)->text(), captions.at(i));
        QVERIFY(!actions.at(i)->menu());
        // Every item stands on the bar itself, none behind the overflow button.
        const QRect item = window.menuBar()->actionGeometry(actions.at(i));
        QVERIFY2(item.isValid() && item.right() < window.width(), qPrintable(captions.at(i)));
    }
}

void TestStartup::windowInTheUsersLanguage_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("texts"); // the first item, a frame, a field's label, a caption
    const QStringList english{"[ Quit ]", "[ Server List ]", "Pass:", "Reserved Spaces: 0"};
    const QStringList german{"[ Beenden ]", "[ Serverliste ]", "PW:", "Reservierte Plätze: 0"};
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << german;
    QTest::newRow("Austrian German") << QLocale(QLocale::German, QLocale::Austria) << german;
    QTest::newRow("English: as written")
        << QLocale(QLocale::English, QLocale::UnitedKingdom) << english;
    QTest::newRow("C: as written") << QLocale::c() << english;
    QTest::newRow("French, which has no translation")
        << QLocale(QLocale::French, QLocale::France) << english;
}

// The translation is installed before the window is made, as main() does.
void TestStartup::windowInTheUsersLanguage()
{
    QFETCH(QLocale, locale);
    QFETCH(QStringList, texts);
    const Translation translation(locale);
    QCOMPARE(translation.isInstalled(), texts.constFirst() != QLatin1String("[ Quit ]"));
    WindowHarness harness;
    harness.storeGamePath();
    Brinemoor &window = harness.start();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QAction *> actions = window.menuBar()->actions();
    QCOMPARE(actions.constFirst()->text(), texts.at(0));
    QCOMPARE(harness.find<QGroupBox>("Frame1")->title(), texts.at(1));
    QCOMPARE(harness.find<QLabel>("lbl_pass")->text(), texts.at(2));
    QCOMPARE(harness.find<QLabel>("lbl_reserved")->text(), texts.at(3));
    // Longer words still leave every item on the bar, every status caption whole and every
    // field's label clear of its field.
    for (QAction *action : actions)
        QVERIFY2(window.menuBar()->actionGeometry(action).right() < window.width(),
                 qPrintable(action->text()));
    for (const ElidingLabel *caption : window.findChildren<ElidingLabel *>())
        QVERIFY2(!caption->isElided(), qPrintable(caption->text()));
    const std::pair<const char *, const char *> fields[] = {{"lbl_servername", "server_name"},
                                                            {"lbl_serverip", "server_ip"},
                                                            {"lbl_pass", "server_pass"}};
    for (const auto &[labelName, fieldName] : fields) {
        const auto *label = harness.find<QLabel>(labelName);
        QVERIFY2(label->x() + label->fontMetrics().horizontalAdvance(label->text())
                     <= harness.find<QLineEdit>(fieldName)->x(),
                 qPrintable(label->text()));
    }
}

void TestStartup::shortcutsTriggerTheirItems_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("item");
    QTest::newRow("new") << QKeySequence(QKeySequence::New) << "menu_new";
    QTest::newRow("save") << QKeySequence(QKeySequence::Save) << "menu_save";
    QTest::newRow("quit") << QKeySequence(QKeySequence::Quit) << "menu_quit";
    QTest::newRow("help") << QKeySequence(Qt::Key_F1) << "men_help";
    QTest::newRow("find") << QKeySequence(QKeySequence::Find) << "menu_find";
}

// Typed in the address field, whose key filter sees every key press first.
void TestStartup::shortcutsTriggerTheirItems()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, item);
    if (keys.isEmpty())
        QSKIP("the platform has no standard key for this command (offscreen has none for Quit)");
    WindowHarness harness;
    harness.storeGamePath();
    Brinemoor &window = harness.start();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *action = window.findChild<QAction *>(item);
    QVERIFY(action);
    // Only whether the key reaches the item: what the items do is tested on its own, and Quit
    // would end the test's event loops.
    QObject::disconnect(action, &QAction::triggered, &window, nullptr);
    QSignalSpy triggered(action, &QAction::triggered);
    auto *field = harness.find<QLineEdit>("server_ip");
    field->setFocus();
    QTest::keySequence(field, keys);
    QCOMPARE(triggered.size(), 1);
    QCOMPARE(field->text(), QString());
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
    QCOMPARE(harness.bookmarkRows(), QStringList{});
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
    const QString game = harness.storeGamePath();
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
    // Kept in the system's own form, as earlier installations stored it.
    QCOMPARE(window.state().GamePath, QDir::toNativeSeparators(upperCase));
    QCOMPARE(dumpStore(harness.settingsPath()).at(0)[QStringLiteral("codpath")].toString(),
             QDir::toNativeSeparators(upperCase));

    // A cancel after a rejection keeps the path chosen before.
    harness.dialogs.chooseFile(otherGame);
    harness.dialogs.cancelNext();
    setPath->trigger();
    QCOMPARE(window.state().GamePath, QDir::toNativeSeparators(upperCase));
    QCOMPARE(dumpStore(harness.settingsPath()).at(0)[QStringLiteral("codpath")].toString(),
             QDir::toNativeSeparators(upperCase));

    // A path that cannot be stored is said to be so, and used in this session all the same.
    const QString aside = harness.settingsPath() + QStringLiteral(".aside");
    QVERIFY(QFile::rename(harness.settingsPath(), aside));
    QVERIFY(QDir().mkdir(harness.settingsPath()));
    harness.dialogs.chooseFile(game);
    harness.dialogs.answerNext(Dialogs::Answer::Ok);
    setPath->trigger();
    QCOMPARE(harness.dialogs.texts(),
             QStringList{QStringLiteral("The server list could not be saved: ")
                         + QDir::toNativeSeparators(harness.settingsPath())});
    QCOMPARE(harness.dialogs.messages.constFirst().icon, Dialogs::Icon::Critical);
    QVERIFY(QDir().rmdir(harness.settingsPath()));
    QVERIFY(QFile::rename(aside, harness.settingsPath()));
    QCOMPARE(window.state().GamePath, QDir::toNativeSeparators(game));
    QCOMPARE(dumpStore(harness.settingsPath()).at(0)[QStringLiteral("codpath")].toString(),
             QDir::toNativeSeparators(upperCase));
}

void TestStartup::dialogThatFailsToOpenChangesNothing()
{
    WindowHarness harness;
    harness.dialogs.chooseNext({FileChoice::Outcome::Failed, {}});
    Brinemoor &window = harness.start();
    QCOMPARE(harness.dialogs.fileDialogs.size(), 1);
    QVERIFY(window.state().GamePath.isEmpty());
}

enum class Unreadable { FileIsAFolder, FolderIsAFile, NoReadPermission, Fifo };

void TestStartup::unreadableStoreIsReportedAndKept_data()
{
    QTest::addColumn<Unreadable>("kind");
    QTest::newRow("settings file is a folder") << Unreadable::FileIsAFolder;
    QTest::newRow("settings folder is a file") << Unreadable::FolderIsAFile;
    QTest::newRow("file that can be written but not read") << Unreadable::NoReadPermission;
    // Opened as a file, it would wait for a writer for good.
    QTest::newRow("settings file is a FIFO") << Unreadable::Fifo;
}

// Reported once, in a critical box naming the file; start-up goes on as on a first start, and
// nothing is written there, not even the game path chosen then.
void TestStartup::unreadableStoreIsReportedAndKept()
{
    QFETCH(Unreadable, kind);
    WindowHarness harness;
    const QString folder = QDir(harness.dirPath()).filePath(QStringLiteral("Brinemoor"));
    const QString path = folder + QStringLiteral("/Brinemoor.ini");
    const QString game = harness.storeGamePath(); // in a settings file of its own
    if (kind == Unreadable::FolderIsAFile) {
        QFile file(folder);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a folder") > 0);
    } else {
        QVERIFY(QDir().mkpath(kind == Unreadable::FileIsAFolder ? path : folder));
    }
    if (kind == Unreadable::Fifo) {
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#else
        QSKIP("a FIFO is made only on POSIX systems");
#endif
    }
    if (kind == Unreadable::NoReadPermission) {
#ifdef Q_OS_UNIX
        if (geteuid() == 0)
            QSKIP("root reads any file");
#else
        QSKIP("file permissions here set only the read-only flag: a file can always be read");
#endif
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[A]\nip=127.0.0.2:28960\n") > 0);
    }
    const QStringList before = treeOf(harness.dirPath());
    if (kind == Unreadable::NoReadPermission)
        QVERIFY(QFile(path).setPermissions(QFileDevice::WriteOwner));
    harness.dialogs.answerNext(Dialogs::Answer::Ok);
    harness.dialogs.chooseFile(game);

    const std::unique_ptr<KeyValueStore> store = openIniStore(path);
    Brinemoor window(harness.services, *store, {});
    window.start();

    QCOMPARE(harness.dialogs.texts(),
             QStringList{QStringLiteral("The settings could not be read from ")
                         + QDir::toNativeSeparators(path)
                         + QStringLiteral(". Brinemoor starts without the saved servers and game "
                                          "path, and leaves the file as it is.")});
    QCOMPARE(harness.dialogs.messages.constFirst().icon, Dialogs::Icon::Critical);
    QCOMPARE(harness.dialogs.fileDialogs.size(), 1);
    QCOMPARE(window.state().GamePath, QDir::toNativeSeparators(game));
    QCOMPARE(window.findChild<QAbstractItemModel *>(QStringLiteral("bookmarks"))->rowCount(), 0);
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(treeOf(harness.dirPath()), before);
}

using namespace std::chrono_literals;

namespace {

// The real program's settings and runtime folders, and the test's as the first copy's.
struct LaterStarts
{
    LaterStarts()
    {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    }
    ~LaterStarts() { qputenv("XDG_RUNTIME_DIR", previousRuntime); }

    QString storeLocation() const
    {
        return QDir(config.path()).filePath(QStringLiteral("Brinemoor/Brinemoor.ini"));
    }
    void start(QProcess &program, const QStringList &arguments)
    {
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(BRINEMOOR_EXECUTABLE), arguments);
    }

    const QByteArray previousRuntime = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir config, runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

} // namespace

void TestStartup::laterStartHandsOver_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("asked"); // by the first copy's window
    QTest::newRow("no arguments: the window comes to the front") << QStringList{} << QStringList{};
    QTest::newRow("a join link") << QStringList{"cod://127.0.0.2:28960"}
                                 << QStringList{"Join 127.0.0.2:28960?"};
    QTest::newRow("--join among the switches") << QStringList{"/debug", "--join", "127.0.0.2:28961"}
                                               << QStringList{"Join 127.0.0.2:28961?"};
}

// The first copy is this test's window; the later start is the real program, which hands its
// arguments over and ends at once.
void TestStartup::laterStartHandsOver()
{
#ifdef Q_OS_WIN
    QSKIP("The Windows program's store is the user's own registry key, which no test may share");
#endif
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, asked);
    LaterStarts starts;
    RunningCopy first(starts.storeLocation());
    QVERIFY(first.becomeFirst());
    WindowHarness harness;
    harness.storeGamePath();
    Brinemoor &window = harness.start();
    window.hide();
    connect(&first, &RunningCopy::handedOver, &window, &Brinemoor::takeLaterStart);
    harness.dialogs.answerNext(Dialogs::Answer::No, asked.size());
    QProcess later;
    starts.start(later, arguments);
    QVERIFY(later.waitForStarted());
    QTRY_COMPARE(later.state(), QProcess::NotRunning);
    QCOMPARE(later.exitStatus(), QProcess::NormalExit);
    QCOMPARE(later.exitCode(), 0);
    QTRY_VERIFY(window.isVisible());
    QTRY_COMPARE(harness.dialogs.texts(), asked);
}

void TestStartup::strangersMessagesAreDropped_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<bool>("heard");
    const QByteArray ours = RunningCopy::message({"cod://127.0.0.2:28960"});
    QTest::newRow("ours, so that silence is no accident") << ours << true;
    QTest::newRow("not ours") << QByteArray("cod://127.0.0.2:28960\n") << false;
    QTest::newRow("cut short") << ours.chopped(3) << false;
    QTest::newRow("over 64 KiB") << RunningCopy::message({QString(70 * 1024, u'x')}) << false;
}

void TestStartup::strangersMessagesAreDropped()
{
    QFETCH(QByteArray, message);
    QFETCH(bool, heard);
    LaterStarts starts;
    RunningCopy first(starts.storeLocation());
    QVERIFY(first.becomeFirst());
    QSignalSpy handedOver(&first, &RunningCopy::handedOver);
    QLocalSocket sender;
    sender.connectToServer(first.findChild<QLocalServer *>()->fullServerName());
    QVERIFY(sender.waitForConnected(1000));
    sender.write(message);
    QTest::qWait(100);
    sender.disconnectFromServer();
    QTest::qWait(100);
    QCOMPARE(handedOver.size(), heard ? 1 : 0);
}

// A first copy killed without a chance to clean up leaves its lock and socket behind; the next
// start is the first copy all the same.
void TestStartup::crashedCopyLeavesNoLock()
{
#ifdef Q_OS_WIN
    QSKIP("The Windows program's store is the user's own registry key, which no test may share");
#endif
    LaterStarts starts;
    QProcess crashed;
    starts.start(crashed, {});
    QVERIFY(crashed.waitForStarted());
    RunningCopy next(starts.storeLocation());
    QTRY_VERIFY(!QDir(starts.runtime.path()).entryList({"*.lock"}, QDir::Files).isEmpty());
    QVERIFY(!next.becomeFirst());
    crashed.kill();
    QVERIFY(crashed.waitForFinished());
    QVERIFY(next.becomeFirst());
    QSignalSpy handedOver(&next, &RunningCopy::handedOver);
    QProcess later;
    starts.start(later, {});
    QVERIFY(later.waitForStarted());
    QTRY_COMPARE(later.state(), QProcess::NotRunning);
    QCOMPARE(later.exitCode(), 0);
    QCOMPARE(handedOver.size(), 1);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
