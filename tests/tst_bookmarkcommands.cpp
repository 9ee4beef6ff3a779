// SPDX-License-Identifier: GPL-3.0-or-later
// The New, Save and Delete commands: adding, updating, moving and deleting bookmarks, the
// refusals and their order, names that must survive the store, and a store that cannot be written.
#include "awkwardnames.h"
#include "bookmarks/bookmarkmodel.h"
#include "bookmarks/bookmarkstore.h"
#include "storedump.h"
#include "windowharness.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QSaveFile>
#include <QtTest>

#include <cstdio>
#include <thread>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/statvfs.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

namespace {

using Bookmarks = QList<Bookmark>;

const QString kIp1 = QStringLiteral("127.0.0.2:28960");
const QString kIp2 = QStringLiteral("127.0.0.3:28961");

// "name|ip|password", and "|alert" when there is one.
QString line(const Bookmark &bookmark)
{
    return bookmark.name + u'|' + bookmark.address + u'|' + bookmark.password
        + (bookmark.alert > 0 ? u'|' + QString::number(bookmark.alert) : QString());
}

QStringList described(const Bookmarks &bookmarks)
{
    QStringList lines;
    for (const Bookmark &bookmark : bookmarks)
        lines.append(line(bookmark));
    return lines;
}

const QString kEmptyFields = QStringLiteral("||");

// The bookmarks in a settings file, in the store's order, as a second process reads them.
QStringList onDisk(const QString &settingsPath)
{
    QStringList lines;
    const QJsonArray sections = dumpStore(settingsPath);
    for (const QJsonValue &section : sections) {
        const QString name = section[QStringLiteral("name")].toString();
        if (name != QStringLiteral("settings"))
            lines.append(line({name, section[QStringLiteral("ip")].toString(),
                               section[QStringLiteral("password")].toString(),
                               section[QStringLiteral("alert")].toString().toInt()}));
    }
    return lines;
}

QStringList onDisk(const WindowHarness &harness)
{
    return onDisk(harness.settingsPath());
}

// The three bookmark lists of the window, described like onDisk().
QStringList listed(WindowHarness &harness)
{
    const QStringList names = harness.bookmarkRows();
    const QStringList ips = harness.bookmarkRows(roleId(BookmarkRole::Address));
    const QStringList passwords = harness.bookmarkRows(roleId(BookmarkRole::Password));
    if (ips.size() != names.size() || passwords.size() != names.size())
        return {QStringLiteral("lists out of step")};
    QStringList lines;
    for (qsizetype i = 0; i < names.size(); ++i)
        lines.append(names.at(i) + u'|' + ips.at(i) + u'|' + passwords.at(i));
    return lines;
}

Brinemoor &startWith(WindowHarness &harness, const Bookmarks &stored)
{
    harness.storeGamePath();
    const auto store = harness.reopenStore();
    for (const Bookmark &bookmark : stored) {
        store->write(bookmark.name, QStringLiteral("ip"), bookmark.address);
        store->write(bookmark.name, QStringLiteral("password"), bookmark.password);
    }
    return harness.start();
}

QString selectedName(WindowHarness &harness)
{
    return harness.selectedBookmark();
}

void trigger(WindowHarness &harness, const char *action)
{
    harness.find<QAction>(action)->trigger();
}

// Types any text, one character per key, as keyClicks does for plain ASCII.
void typeText(QWidget *field, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Starts from New, selects the bookmark `selected` (if any) and types the three fields; the
// address goes through the field's key filter, which builds the state that Save judges. The row
// is selected with the list's signals blocked: the click handler would also start a status query,
// which is not what these tests are about.
void edit(WindowHarness &harness, const QString &selected, const Bookmark &typed)
{
    trigger(harness, "menu_new");
    const qsizetype row = harness.bookmarkRows().indexOf(selected);
    if (!selected.isEmpty()) {
        QVERIFY2(row >= 0, qPrintable(selected));
        const QSignalBlocker quiet(harness.bookmarkList()->selectionModel());
        harness.selectBookmark(int(row));
    }
    typeText(harness.find<QLineEdit>("server_name"), typed.name);
    QTest::keyClicks(harness.find<QLineEdit>("server_ip"), typed.address);
    typeText(harness.find<QLineEdit>("server_pass"), typed.password);
    QCOMPARE(harness.find<QLineEdit>("server_ip")->text(), typed.address);
}

// The three edit fields, described like a bookmark.
QString fields(WindowHarness &harness)
{
    return line({harness.find<QLineEdit>("server_name")->text(),
                 harness.find<QLineEdit>("server_ip")->text(),
                 harness.find<QLineEdit>("server_pass")->text()});
}

void verifyOneCriticalBox(const WindowHarness &harness, const QString &text)
{
    QCOMPARE(harness.dialogs.texts(), QStringList{text});
    QCOMPARE(harness.dialogs.messages.constFirst().buttons, Dialogs::Buttons::Ok);
    QCOMPARE(harness.dialogs.messages.constFirst().icon, Dialogs::Icon::Critical);
}

// Puts a folder where the settings file was, so that writing it fails whoever runs the test; the
// file is kept aside and put back when this goes out of scope.
class BrokenStoreFile
{
public:
    explicit BrokenStoreFile(QString path)
        : m_path(std::move(path))
    {
        QVERIFY(QFile::rename(m_path, aside()));
        QVERIFY(QDir().mkdir(m_path));
    }
    ~BrokenStoreFile()
    {
        QDir().rmdir(m_path);
        QFile::rename(aside(), m_path);
    }

private:
    QString aside() const { return m_path + QStringLiteral(".aside"); }
    QString m_path;
};

#ifdef Q_OS_UNIX
// Lets this process write no file beyond a size, as a full disk would. SIGXFSZ is left as it is:
// a write beyond the limit ends the process unless the store itself takes care.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited = m_saved;
        limited.rlim_cur = rlim_t(bytes);
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};
#endif

// A 64 KiB memory disk mounted on a folder (as root, on Linux), filled up to a few free pages.
class SmallDisk
{
public:
    explicit SmallDisk(const QString &folder)
        : m_folder(QFile::encodeName(folder))
    {
#ifdef Q_OS_LINUX
        m_mounted = ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, "size=64k") == 0;
#endif
    }
    ~SmallDisk()
    {
#ifdef Q_OS_LINUX
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
#endif
    }
    bool isMounted() const
    {
        return m_mounted;
    }
    qint64 freeBytes() const
    {
#ifdef Q_OS_UNIX
        struct statvfs disk = {};
        return ::statvfs(m_folder.constData(), &disk) == 0 ? qint64(disk.f_bavail * disk.f_frsize)
                                                           : -1;
#else
        return -1;
#endif
    }
    // Fills the disk until `pages` of its 4 KiB pages are free.
    bool leaveFree(int pages)
    {
        QFile filler(QString::fromLocal8Bit(m_folder) + QStringLiteral("/filler")
                     + QString::number(++m_fillers));
        const qint64 fill = freeBytes() - pages * kPage;
        return filler.open(QIODevice::WriteOnly) && filler.write(QByteArray(fill, 'x')) == fill
            && filler.flush() && freeBytes() == pages * kPage;
    }

    static constexpr qint64 kPage = 4096;

private:
    QByteArray m_folder;
    bool m_mounted = false;
    int m_fillers = 0;
};

// What keeps the store from being written during a command.
enum class StoreFault {
    None,
    Unwritable,    // a folder stands where the file was
    OnePageFree,   // the disk is full but for one page, which the lock file takes
    FileSizeLimit, // the new file would be larger than the process may write
};

// Unwritable or FileSizeLimit on the file at `path` while it lives; false from isSupported() where
// the system has no such limit.
class FaultOnFile
{
public:
    FaultOnFile(StoreFault fault, const QString &path)
    {
        if (fault == StoreFault::Unwritable)
            m_broken.emplace(path);
#ifdef Q_OS_UNIX
        if (fault == StoreFault::FileSizeLimit)
            m_limit.emplace(QFileInfo(path).size());
#else
        m_supported = fault != StoreFault::FileSizeLimit;
#endif
    }
    bool isSupported() const
    {
        return m_supported;
    }

private:
    std::optional<BrokenStoreFile> m_broken;
#ifdef Q_OS_UNIX
    std::optional<FileSizeLimit> m_limit;
#endif
    bool m_supported = true;
};

#ifdef Q_OS_UNIX
QStringList sectionNames(KeyValueStore &store)
{
    QStringList names;
    for (const StoredSection &section : store.contents().value_or(QList<StoredSection>()))
        names.append(section.name);
    return names;
}
#endif

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(not readable)");
}

QString notSavedMessage(const WindowHarness &harness)
{
    return QStringLiteral("The server list could not be saved: ")
        + QDir::toNativeSeparators(harness.settingsPath());
}

} // namespace

Q_DECLARE_METATYPE(Bookmark)
Q_DECLARE_METATYPE(Bookmarks)
Q_DECLARE_METATYPE(SaveOutcome)
Q_DECLARE_METATYPE(StoreFault)

class TestBookmarkCommands : public QObject
{
    Q_OBJECT

private slots:
    void saveDecision_data();
    void saveDecision();
    void newEmptiesFieldsAndState();
    void playerAlertIsTheBookmarksOwn();
    void saveStores_data();
    void saveStores();
    void saveRefuses_data();
    void saveRefuses();
    void deleteOnlyTheBookmarkShown_data();
    void deleteOnlyTheBookmarkShown();
    void typedNamesSurviveTheStore_data();
    void typedNamesSurviveTheStore();
    void writeThatFailsOnItsWayIsForgotten();
    void saveThatCannotBeStored();
    void moveThatCannotBeStoredKeepsTheSelection_data();
    void moveThatCannotBeStoredKeepsTheSelection();
    void deleteThatCannotBeStored();
    void changesFromOutsideAreListed_data();
    void changesFromOutsideAreListed();
    void saveWhileAnEditorWritesInPlace_data();
    void saveWhileAnEditorWritesInPlace();
};

// Save's decision and writes on a store of its own, without a window.
void TestBookmarkCommands::saveDecision_data()
{
    QTest::addColumn<Bookmarks>("stored");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<Bookmark>("edited");
    QTest::addColumn<StoreFault>("fault");
    QTest::addColumn<SaveOutcome>("outcome");
    QTest::addColumn<Bookmarks>("after");
    const Bookmark a{"A", kIp1, "pa"};
    const Bookmark b{"B", kIp2, "pb"};
    QTest::newRow("add") << Bookmarks{a} << "" << Bookmark{"N", kIp2, "pn"} << StoreFault::None
                         << SaveOutcome::Saved << Bookmarks{a, {"N", kIp2, "pn"}};
    QTest::newRow("update") << Bookmarks{a, b} << "A" << Bookmark{"A", kIp2, "new"}
                            << StoreFault::None << SaveOutcome::Saved
                            << Bookmarks{{"A", kIp2, "new"}, b};
    QTest::newRow("move to a new name")
        << Bookmarks{a, b} << "A" << Bookmark{"C", kIp1, "pc"} << StoreFault::None
        << SaveOutcome::Saved << Bookmarks{b, {"C", kIp1, "pc"}};
    QTest::newRow("move takes the alert along")
        << Bookmarks{{"A", kIp1, "pa", 5}, b} << "A" << Bookmark{"C", kIp1, "pc"}
        << StoreFault::None << SaveOutcome::Saved << Bookmarks{b, {"C", kIp1, "pc", 5}};
    QTest::newRow("move onto a bookmark with the same address")
        << Bookmarks{a, {"B", kIp1, "pb"}} << "A" << Bookmark{"B", kIp1, "pa"} << StoreFault::None
        << SaveOutcome::Saved << Bookmarks{{"B", kIp1, "pa"}};
    QTest::newRow("name of a bookmark with another address")
        << Bookmarks{a, b} << "" << Bookmark{"B", kIp1, "p"} << StoreFault::None
        << SaveOutcome::NameInUse << Bookmarks{a, b};
    QTest::newRow("move that cannot be stored keeps the old section")
        << Bookmarks{a, b} << "A" << Bookmark{"C", kIp1, "pc"} << StoreFault::Unwritable
        << SaveOutcome::NotStored << Bookmarks{a, b};
    QTest::newRow("move on a disk with one page free: the file is kept whole")
        << Bookmarks{a, b} << "A" << Bookmark{"C", kIp1, "pc"} << StoreFault::OnePageFree
        << SaveOutcome::NotStored << Bookmarks{a, b};
    QTest::newRow("update beyond the file size limit: the file is kept whole")
        << Bookmarks{a, b} << "B" << Bookmark{"B", kIp2, QString(300, u'p')}
        << StoreFault::FileSizeLimit << SaveOutcome::NotStored << Bookmarks{a, b};
}

void TestBookmarkCommands::saveDecision()
{
    QFETCH(Bookmarks, stored);
    QFETCH(QString, selected);
    QFETCH(Bookmark, edited);
    QFETCH(StoreFault, fault);
    QFETCH(SaveOutcome, outcome);
    QFETCH(Bookmarks, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brinemoor.ini"));
    std::optional<SmallDisk> disk;
    if (fault == StoreFault::OnePageFree) {
        disk.emplace(dir.path());
        if (!disk->isMounted())
            QSKIP("a small memory disk is mounted only on Linux, as root");
    }
    const std::unique_ptr<KeyValueStore> store = openIniStore(path);
    for (const Bookmark &bookmark : std::as_const(stored)) {
        QVERIFY(store->write(bookmark.name, QStringLiteral("ip"), bookmark.address));
        QVERIFY(store->write(bookmark.name, QStringLiteral("password"), bookmark.password));
        if (bookmark.alert > 0)
            QVERIFY(BookmarkStore(*store).setAlert(bookmark.name, bookmark.alert));
    }
    const QByteArray before = readAll(path);
    {
        const FaultOnFile broken(fault, path);
        if (!broken.isSupported())
            QSKIP("needs a file size limit");
        if (disk)
            QVERIFY(disk->leaveFree(1));
        QCOMPARE(BookmarkStore(*store).save(stored, selected, edited), outcome);
    }
    if (fault != StoreFault::None)
        QCOMPARE(readAll(path), before);
    QCOMPARE(onDisk(path), described(after));
}

void TestBookmarkCommands::newEmptiesFieldsAndState()
{
    WindowHarness harness;
    Brinemoor &window = startWith(harness, {{"A", kIp1, "pa"}});
    edit(harness, QStringLiteral("A"), {"A", kIp1, "pa"});
    harness.find<QListWidget>("server_players")->addItem(QStringLiteral("player"));
    trigger(harness, "menu_new");
    QCOMPARE(fields(harness), kEmptyFields);
    QCOMPARE(selectedName(harness), QString());
    QCOMPARE(harness.find<QListWidget>("server_players")->count(), 0);
    QCOMPARE(window.state().ColonUsed, false);
    QCOMPARE(window.state().DotCount, 0);
    QCOMPARE(window.state().CountNumbers, 0);
    QCOMPARE(listed(harness), described({{"A", kIp1, "pa"}}));
}

// "Tell me when N players..." asks with the current number and stores the one typed for the
// chosen bookmark only; Cancel keeps it.
void TestBookmarkCommands::playerAlertIsTheBookmarksOwn()
{
    WindowHarness harness;
    startWith(harness, {{"A", kIp1, "pa"}, {"B", kIp2, "pb"}});
    harness.selectBookmark(1);
    harness.dialogs.typeNumberNext(8);
    trigger(harness, "playerAlert");
    harness.dialogs.typeNumberNext(std::nullopt);
    trigger(harness, "playerAlert");
    QCOMPARE(harness.dialogs.numberPrompts,
             QStringList(2, "Tell me when B has this many players (0: never):"));
    QCOMPARE(onDisk(harness), described({{"A", kIp1, "pa"}, {"B", kIp2, "pb", 8}}));
    QCOMPARE(harness.window().findChild<BookmarkModel *>()->bookmark(1).alert, 8);
}

void TestBookmarkCommands::saveStores_data()
{
    QTest::addColumn<Bookmarks>("stored");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<Bookmark>("typed");
    QTest::addColumn<Bookmarks>("after");

    QTest::newRow("add") << Bookmarks{{"B", kIp2, "pb"}} << "" << Bookmark{"A", kIp1, "pa"}
                         << Bookmarks{{"A", kIp1, "pa"}, {"B", kIp2, "pb"}};
    QTest::newRow("update the password only")
        << Bookmarks{{"A", kIp1, "pa"}, {"B", kIp2, "pb"}} << "A" << Bookmark{"A", kIp1, "new"}
        << Bookmarks{{"A", kIp1, "new"}, {"B", kIp2, "pb"}};
    QTest::newRow("update the address")
        << Bookmarks{{"A", kIp1, "pa"}} << "A" << Bookmark{"A", kIp2, "pa"}
        << Bookmarks{{"A", kIp2, "pa"}};
    QTest::newRow("move to a free name")
        << Bookmarks{{"B", kIp2, "pb"}, {"D", kIp1, "pd"}} << "D" << Bookmark{"A", kIp1, "pd"}
        << Bookmarks{{"A", kIp1, "pd"}, {"B", kIp2, "pb"}};
    QTest::newRow("move onto a name with the same address")
        << Bookmarks{{"A", kIp1, "pa"}, {"B", kIp1, "pb"}} << "A" << Bookmark{"B", kIp1, "pa"}
        << Bookmarks{{"B", kIp1, "pa"}};
    QTest::newRow("a stored name, not selected, same address")
        << Bookmarks{{"A", kIp1, "pa"}} << "" << Bookmark{"A", kIp1, "new"}
        << Bookmarks{{"A", kIp1, "new"}};
#ifndef Q_OS_WIN
    // The registry ignores letter case; the settings file does not.
    QTest::newRow("reserved name in another letter case")
        << Bookmarks{} << "" << Bookmark{"Settings", kIp1, ""} << Bookmarks{{"Settings", kIp1, ""}};
    QTest::newRow("other letter case is another bookmark")
        << Bookmarks{{"alpha", kIp1, "pa"}} << "alpha" << Bookmark{"Alpha", kIp1, "pa"}
        << Bookmarks{{"Alpha", kIp1, "pa"}};
#endif
}

void TestBookmarkCommands::saveStores()
{
    QFETCH(Bookmarks, stored);
    QFETCH(QString, selected);
    QFETCH(Bookmark, typed);
    QFETCH(Bookmarks, after);
    WindowHarness harness;
    Brinemoor &window = startWith(harness, stored);
    edit(harness, selected, typed);

    trigger(harness, "menu_save");

    QCOMPARE(harness.dialogs.texts(), QStringList());
    QCOMPARE(onDisk(harness), described(after));
    QCOMPARE(listed(harness), described(after));
    QCOMPARE(fields(harness), kEmptyFields);
    QCOMPARE(selectedName(harness), QString());
    QCOMPARE(window.state().result, QStringLiteral("ok"));
    QCOMPARE(window.state().ColonUsed, false);
    QCOMPARE(window.state().CountNumbers, 0);
}

void TestBookmarkCommands::saveRefuses_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<Bookmark>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("result");

    const QString noName = QStringLiteral("No server name entered");
    QTest::newRow("no name, no address") << "" << Bookmark{"", "", ""} << noName << noName;
    QTest::newRow("no name, good address") << "" << Bookmark{"", kIp1, "p"} << noName << noName;
    QTest::newRow("no name, low port") << "" << Bookmark{"", "1.2.3.4:80", ""} << noName << noName;
    QTest::newRow("no name, bookmark selected")
        << "A" << Bookmark{"", kIp1, "pa"} << noName << noName;
    const QString reserved = QStringLiteral("invalid server name");
    QTest::newRow("reserved name") << "" << Bookmark{"settings", kIp1, ""} << reserved << reserved;
    QTest::newRow("reserved name, bad address")
        << "" << Bookmark{"settings", "1.2", ""} << reserved << reserved;
#ifdef Q_OS_WIN
    // The registry would take it for the settings section.
    QTest::newRow("reserved name in another letter case")
        << "" << Bookmark{"Settings", kIp1, ""} << reserved << reserved;
#endif
    const QString noAddress = QStringLiteral("You must have a server ip address (ip:port)");
    QTest::newRow("no address") << "" << Bookmark{"X", "", ""} << noAddress << noAddress;
    const QString noPort = QStringLiteral("You must have a server port with the ip (ip:port)");
    QTest::newRow("no port") << "" << Bookmark{"X", "1.2.3.4", ""} << noPort << noPort;
    const QString invalid = QStringLiteral("Invalid IP");
    QTest::newRow("empty port") << "" << Bookmark{"X", "1.2.3.4:", ""} << invalid << invalid;
    QTest::newRow("low port") << "" << Bookmark{"X", "1.2.3.4:1023", ""} << invalid << invalid;
    QTest::newRow("bad address for the selected bookmark")
        << "A" << Bookmark{"A", "1.2.3.4", "pa"} << noPort << noPort;
    const QString inUse = QStringLiteral("Server Name already in use");
    QTest::newRow("name of a bookmark with another address")
        << "" << Bookmark{"B", kIp1, "p"} << inUse << "ok";
    QTest::newRow("moving onto a bookmark with another address")
        << "A" << Bookmark{"B", kIp1, "pa"} << inUse << "ok";
}

void TestBookmarkCommands::saveRefuses()
{
    QFETCH(QString, selected);
    QFETCH(Bookmark, typed);
    QFETCH(QString, message);
    QFETCH(QString, result);
    const Bookmarks stored{{"A", kIp1, "pa"}, {"B", kIp2, "pb"}};
    WindowHarness harness;
    Brinemoor &window = startWith(harness, stored);
    edit(harness, selected, typed);

    harness.dialogs.answerNext(Dialogs::Answer::Ok);
    trigger(harness, "menu_save");

    verifyOneCriticalBox(harness, message);
    QCOMPARE(window.state().result, result);
    QCOMPARE(onDisk(harness), described(stored));
    QCOMPARE(listed(harness), described(stored));
    QCOMPARE(fields(harness), line(typed));
    QCOMPARE(selectedName(harness), selected);
}

void TestBookmarkCommands::deleteOnlyTheBookmarkShown_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<bool>("newFirst");
    QTest::addColumn<Bookmarks>("after");
    const Bookmark a{"A", kIp1, "pa"};
    const Bookmark b{"B", kIp2, "pb"};
    QTest::newRow("the selected bookmark") << "A"
                                           << "A" << false << Bookmarks{b};
    QTest::newRow("after New") << "A"
                               << "A" << true << Bookmarks{a, b};
    QTest::newRow("name edited after the selection") << "A"
                                                     << "A2" << false << Bookmarks{a, b};
    QTest::newRow("nothing selected, a stored name typed") << ""
                                                           << "A" << false << Bookmarks{a, b};
}

void TestBookmarkCommands::deleteOnlyTheBookmarkShown()
{
    QFETCH(QString, selected);
    QFETCH(QString, typedName);
    QFETCH(bool, newFirst);
    QFETCH(Bookmarks, after);
    WindowHarness harness;
    startWith(harness, {{"A", kIp1, "pa"}, {"B", kIp2, "pb"}});
    edit(harness, selected, {typedName, kIp1, "pa"});
    if (newFirst)
        trigger(harness, "menu_new");

    trigger(harness, "menu_delete");

    QCOMPARE(harness.dialogs.texts(), QStringList());
    QCOMPARE(onDisk(harness), described(after));
    QCOMPARE(listed(harness), described(after));
    QCOMPARE(fields(harness), kEmptyFields);
    QCOMPARE(selectedName(harness), QString());
}

void TestBookmarkCommands::typedNamesSurviveTheStore_data()
{
    addAwkwardNameRows();
}

void TestBookmarkCommands::typedNamesSurviveTheStore()
{
    QFETCH(QString, name);
    WindowHarness harness;
    startWith(harness, {{"general!", kIp2, "other"}});
    edit(harness, {}, {name, kIp1, "pw"});

    trigger(harness, "menu_save");

    QCOMPARE(harness.dialogs.texts(), QStringList());
    const QString saved = name + QStringLiteral("|127.0.0.2:28960|pw");
    QVERIFY2(onDisk(harness).contains(saved), qPrintable(onDisk(harness).join(u'\n')));
    QVERIFY(listed(harness).contains(saved));
    QCOMPARE(listed(harness).size(), 2);

    // The next run reads the same file.
    WindowHarness restarted;
    QVERIFY(QFile::copy(harness.settingsPath(), restarted.settingsPath()));
    restarted.start();
    QCOMPARE(listed(restarted), listed(harness));
}

void TestBookmarkCommands::writeThatFailsOnItsWayIsForgotten()
{
#ifdef Q_OS_UNIX
    WindowHarness harness;
    harness.storeGamePath();
    const auto store = harness.reopenStore();
    QVERIFY(store->write(QStringLiteral("A"), QStringLiteral("ip"), kIp1));
    {
        FileSizeLimit full(QFileInfo(harness.settingsPath()).size());
        QVERIFY(!store->write(QStringLiteral("B"), QStringLiteral("ip"), kIp2));
        QVERIFY(
            !store->write(QStringLiteral("A"), QStringLiteral("password"), QStringLiteral("pa")));
        // Every store object on the file reads it as it was before the failed writes.
        const auto other = harness.reopenStore();
        for (KeyValueStore *reader : {store.get(), other.get()}) {
            QCOMPARE(sectionNames(*reader), (QStringList{"A", "settings"}));
            QCOMPARE(reader->read(QStringLiteral("A"), QStringLiteral("ip")), kIp1);
            QCOMPARE(reader->read(QStringLiteral("A"), QStringLiteral("password")), QString());
        }
    }
    // With room again the next write succeeds, and the failed ones are not written with it.
    QVERIFY(store->write(QStringLiteral("C"), QStringLiteral("ip"), kIp2));
    QCOMPARE(onDisk(harness), (QStringList{"A|127.0.0.2:28960|", "C|127.0.0.3:28961|"}));
#else
    QSKIP("needs a limit on file sizes (POSIX setrlimit); the store on Windows is the registry");
#endif
}

void TestBookmarkCommands::saveThatCannotBeStored()
{
    WindowHarness harness;
    Brinemoor &window = startWith(harness, {{"A", kIp1, "pa"}});
    edit(harness, {}, {"N", kIp2, "pn"});
    {
        BrokenStoreFile broken(harness.settingsPath());
        harness.dialogs.answerNext(Dialogs::Answer::Ok);
        trigger(harness, "menu_save");

        verifyOneCriticalBox(harness, notSavedMessage(harness));
        QCOMPARE(listed(harness), described({{"A", kIp1, "pa"}}));
        QCOMPARE(fields(harness), line({"N", kIp2, "pn"}));
        QCOMPARE(window.state().result, QStringLiteral("ok"));
    }
    edit(harness, {}, {"O", kIp2, "po"});
    trigger(harness, "menu_save");

    QCOMPARE(harness.dialogs.messages.size(), 1);
    const QStringList after = described({{"A", kIp1, "pa"}, {"O", kIp2, "po"}});
    QCOMPARE(onDisk(harness), after);
    QCOMPARE(listed(harness), after);
}

void TestBookmarkCommands::moveThatCannotBeStoredKeepsTheSelection_data()
{
    QTest::addColumn<StoreFault>("fault");
    QTest::newRow("unreadable as well") << StoreFault::Unwritable;
    QTest::newRow("readable: the list is read again") << StoreFault::FileSizeLimit;
}

void TestBookmarkCommands::moveThatCannotBeStoredKeepsTheSelection()
{
    QFETCH(StoreFault, fault);
    WindowHarness harness;
    startWith(harness, {{"A", kIp1, "pa"}, {"B", kIp2, "pb"}});
    edit(harness, QStringLiteral("A"), {"C", kIp1, "pc"});
    {
        const FaultOnFile broken(fault, harness.settingsPath());
        if (!broken.isSupported())
            QSKIP("needs a file size limit");
        harness.dialogs.answerNext(Dialogs::Answer::Ok);
        trigger(harness, "menu_save");

        verifyOneCriticalBox(harness, notSavedMessage(harness));
        QCOMPARE(listed(harness), described({{"A", kIp1, "pa"}, {"B", kIp2, "pb"}}));
        QCOMPARE(selectedName(harness), QStringLiteral("A"));
        QCOMPARE(fields(harness), line({"C", kIp1, "pc"}));
    }
    // Saving again, once the file can be written, finishes the move.
    trigger(harness, "menu_save");

    QCOMPARE(harness.dialogs.messages.size(), 1);
    const QStringList after = described({{"B", kIp2, "pb"}, {"C", kIp1, "pc"}});
    QCOMPARE(onDisk(harness), after);
    QCOMPARE(listed(harness), after);
}

void TestBookmarkCommands::deleteThatCannotBeStored()
{
    WindowHarness harness;
    startWith(harness, {{"A", kIp1, "pa"}, {"B", kIp2, "pb"}});
    edit(harness, QStringLiteral("A"), {"A", kIp1, "pa"});
    const QStringList stored = described({{"A", kIp1, "pa"}, {"B", kIp2, "pb"}});
    {
        BrokenStoreFile broken(harness.settingsPath());
        harness.dialogs.answerNext(Dialogs::Answer::Ok);
        trigger(harness, "menu_delete");

        verifyOneCriticalBox(harness, notSavedMessage(harness));
        QCOMPARE(listed(harness), stored);
        QCOMPARE(fields(harness), kEmptyFields);
    }
    QCOMPARE(onDisk(harness), stored);
}

// Another running copy, or the user with an editor, changes the file while the window shows it:
// written in place, or replaced by a new file as QSettings and most editors do it.
void TestBookmarkCommands::changesFromOutsideAreListed_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<Bookmarks>("written");
    QTest::addColumn<QString>("selectedAfter");
    const Bookmark a{"A", kIp1, "pa"};
    const Bookmark b{"B", kIp2, "pb"};
    QTest::newRow("bookmark added, file written in place")
        << true << Bookmarks{a, b, {"C", kIp2, "pc"}} << "A";
    QTest::newRow("selected bookmark's address changed, file replaced")
        << false << Bookmarks{{"A", kIp2, "pa"}, b} << "A";
    QTest::newRow("selected bookmark deleted, file replaced") << false << Bookmarks{b} << "";
}

void TestBookmarkCommands::changesFromOutsideAreListed()
{
    QFETCH(bool, inPlace);
    QFETCH(Bookmarks, written);
    QFETCH(QString, selectedAfter);
    WindowHarness harness;
    Brinemoor &window = startWith(harness, {{"A", kIp1, "pa"}, {"B", kIp2, "pb"}});
    edit(harness, QStringLiteral("A"), {"A", kIp1, "edited"});

    QByteArray ini = "[settings]\ncodpath=" + window.state().GamePath.toUtf8() + "\n";
    for (const Bookmark &bookmark : std::as_const(written))
        ini += "[" + bookmark.name.toUtf8() + "]\nip=" + bookmark.address.toUtf8()
            + "\npassword=" + bookmark.password.toUtf8() + "\n";
    if (inPlace) {
        QFile file(harness.settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(ini), ini.size());
    } else {
        QSaveFile file(harness.settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(ini), ini.size());
        QVERIFY(file.commit());
    }

    QTRY_COMPARE_WITH_TIMEOUT(listed(harness), described(written), 3000);
    QCOMPARE(selectedName(harness), selectedAfter);
    QCOMPARE(fields(harness), line({"A", kIp1, "edited"}));
    QCOMPARE(harness.dialogs.texts(), QStringList());
}

// An editor rewrites the file in place in two parts, with a pause between them that is longer
// than the watch waits for a quiet file: the list never shows the store cut off halfway, and a
// Save during the pause waits for the rest, which it keeps. A first part that ends a line is told
// from a finished store by being shorter than it; one cut off mid-line, by that alone, however
// long it is.
void TestBookmarkCommands::saveWhileAnEditorWritesInPlace_data()
{
    QTest::addColumn<bool>("cutMidLine");
    QTest::newRow("first part ends a line, shorter than the store") << false;
    QTest::newRow("first part cut mid-line, longer than the store") << true;
}

void TestBookmarkCommands::saveWhileAnEditorWritesInPlace()
{
    using namespace std::chrono_literals;
    QFETCH(bool, cutMidLine);
    Bookmarks stored;
    for (int i = 0; i < 40; ++i)
        stored.append({QStringLiteral("S%1").arg(i, 2, 10, QChar(u'0')),
                       QStringLiteral("127.0.0.%1:28960").arg(i + 2), QStringLiteral("p")});
    WindowHarness harness;
    // The editor's pause stays well within the bound, with room for a busy machine.
    harness.storeTiming.settle = 1500ms;
    startWith(harness, stored);
    Bookmarks edited = stored;
    QByteArray ini = readAll(harness.settingsPath());
    const qsizetype storeSize = ini.size();
    if (cutMidLine) {
        edited.append({QStringLiteral("S40"), QStringLiteral("127.0.0.42:28960"), QString()});
        ini += "[S40]\nip=127.0.0.42:28960\n";
    } else {
        // The last bookmark's password; lines end in CR LF on Windows.
        edited.last().password = QStringLiteral("changed by the editor");
        ini.replace(ini.lastIndexOf("password=p"), 10, "password=changed by the editor");
    }
    edit(harness, {}, {"T", kIp2, "pt"});

    std::FILE *file = std::fopen(QFile::encodeName(harness.settingsPath()).constData(), "wb");
    QVERIFY(file);
    // Cut in the added section's name, or at the line break nearest the middle.
    const qsizetype part = cutMidLine ? storeSize + 4 : ini.indexOf('\n', ini.size() / 2) + 1;
    QCOMPARE(ini.at(part - 1) == '\n', !cutMidLine);
    std::fwrite(ini.constData(), 1, part, file);
    std::fflush(file);
    std::thread editor([&] {
        std::this_thread::sleep_for(800ms);
        std::fwrite(ini.constData() + part, 1, ini.size() - part, file);
        std::fclose(file);
    });
    QTest::qWait(400);
    const QStringList listedHalfway = listed(harness);
    trigger(harness, "menu_save");
    editor.join();

    QCOMPARE(listedHalfway, described(stored));
    const QStringList after = described(edited + Bookmarks{{"T", kIp2, "pt"}});
    QCOMPARE(onDisk(harness), after);
    QCOMPARE(listed(harness), after);
    QCOMPARE(harness.dialogs.texts(), QStringList());
}

QTEST_MAIN(TestBookmarkCommands)
#include "tst_bookmarkcommands.moc"
