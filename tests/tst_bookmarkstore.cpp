// SPDX-License-Identifier: GPL-3.0-or-later
// The bookmarks in the store and the list built from them: section names that must come back as
// typed, the reserved "settings" section, missing keys and the store's order.
#include "awkwardnames.h"
#include "bookmarks/bookmarkmodel.h"
#include "storedump.h"
#include "bookmarks/bookmarkstore.h"
#include "windowharness.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QtTest>

class TestBookmarkStore : public QObject
{
    Q_OBJECT

private slots:
    void namesRoundTrip_data();
    void namesRoundTrip();
    void legacyNamesWithBarePercentStillRead();
    void listSkipsReservedSectionOnly();
    void listReadsTheFileAsQSettingsDoes_data();
    void listReadsTheFileAsQSettingsDoes();
    void missingKeysReadEmpty();
    void rebuildingTwiceGivesNoDuplicates();
    void registryOfEarlierInstallations();
};

void TestBookmarkStore::namesRoundTrip_data()
{
    addAwkwardNameRows();
}

// Each system's own store: the registry on Windows, the settings file elsewhere.
void TestBookmarkStore::namesRoundTrip()
{
    QFETCH(QString, name);
#ifdef Q_OS_WIN
    WindowHarness harness(WindowHarness::Store::Registry);
#else
    WindowHarness harness;
#endif
    harness.storeGamePath();
    const QString address = QStringLiteral("127.0.0.21:28960");
    const QString password = QStringLiteral("p/w \\ %41");
    const QString twin = name.toLower() == name ? name.toUpper() : name.toLower();
    bool twinListed = false;
    {
        auto store = harness.reopenStore();
#ifdef Q_OS_WIN
        // A registry key's name holds at most 255 characters: a longer one is refused, not cut.
        if (name.size() > 255) {
            QVERIFY(!store->write(name, QStringLiteral("ip"), address));
            return;
        }
#endif
        QVERIFY(store->write(name, QStringLiteral("ip"), address));
        QVERIFY(store->write(name, QStringLiteral("password"), password));
        // Its letter-case twin stays a section of its own where the store tells case apart; in the
        // registry, which does not, Save refuses it, even with the same address.
        twinListed = !store->isSameSection(name, twin);
        if (twinListed)
            QVERIFY(store->write(twin, QStringLiteral("ip"), QStringLiteral("127.0.0.22:28960")));
        else if (twin != name)
            QCOMPARE(
                BookmarkStore(*store).save({{name, address, password}}, {}, {twin, address, {}}),
                SaveOutcome::NameInUse);
    }
    // Read back by a second process, then by a restarted window.
    const QJsonArray onDisk = dumpStore(harness.settingsPath());
    QJsonObject found;
    for (const QJsonValue &section : onDisk) {
        if (section[QStringLiteral("name")].toString() == name)
            found = section.toObject();
    }
    QCOMPARE(found[QStringLiteral("ip")].toString(), address);
    QCOMPARE(found[QStringLiteral("password")].toString(), password);

    harness.start();
    const QStringList names = harness.bookmarkRows();
    const qsizetype row = names.indexOf(name);
    QVERIFY2(row >= 0, qPrintable(names.join(u'|')));
    QCOMPARE(harness.bookmarkRows(roleId(BookmarkRole::Address)).at(row), address);
    QCOMPARE(names.size(), twinListed ? 2 : 1);

    auto store = harness.reopenStore();
    QVERIFY(BookmarkStore(*store).remove(name));
    const std::optional<QList<Bookmark>> left = BookmarkStore(*store).list();
    QVERIFY(left);
    QVERIFY(std::none_of(left->cbegin(), left->cend(),
                         [&](const Bookmark &bookmark) { return bookmark.name == name; }));
}

void TestBookmarkStore::legacyNamesWithBarePercentStillRead()
{
    WindowHarness harness;
    harness.storeGamePath();
    {
        // Written straight through QSettings, as earlier versions did, with no escaping of ours.
        QSettings raw(harness.settingsPath(), QSettings::IniFormat);
        raw.setValue(QStringLiteral("100% Fun/ip"), QStringLiteral("127.0.0.21:28960"));
        raw.setValue(QStringLiteral("Clan%41/ip"), QStringLiteral("127.0.0.22:28960"));
    }
    harness.start();
    QCOMPARE(harness.bookmarkRows(), (QStringList{"100% Fun", "Clan%41"}));
    QCOMPARE(harness.bookmarkRows(roleId(BookmarkRole::Address)),
             (QStringList{"127.0.0.21:28960", "127.0.0.22:28960"}));
    QVERIFY(harness.reopenStore()->deleteSection(QStringLiteral("Clan%41")));
    QCOMPARE(dumpStore(harness.settingsPath()).size(), 2); // "100% Fun" and "settings"
}

void TestBookmarkStore::listSkipsReservedSectionOnly()
{
    WindowHarness harness;
    harness.storeGamePath();
    {
        auto store = harness.reopenStore();
        store->write(QStringLiteral("B"), QStringLiteral("ip"), QStringLiteral("127.0.0.24:28960"));
        store->write(QStringLiteral("Settings"), QStringLiteral("ip"),
                     QStringLiteral("127.0.0.25:28960"));
        store->write(QStringLiteral("A"), QStringLiteral("ip"), QStringLiteral("127.0.0.23:28960"));
    }
    harness.start();
    // The store's own order (by code point), not the order of writing; "settings" is never a row,
    // nor, where the store ignores letter case (Windows), "Settings".
#ifdef Q_OS_WIN
    const qsizetype rows = 2;
#else
    const qsizetype rows = 3;
#endif
    QCOMPARE(harness.bookmarkRows(), (QStringList{"A", "B", "Settings"}.first(rows)));
    QCOMPARE(harness.bookmarkRows(roleId(BookmarkRole::Address)),
             (QStringList{"127.0.0.23:28960", "127.0.0.24:28960", "127.0.0.25:28960"}.first(rows)));
}

// The list reads the file in one pass when it is in the plain shape QSettings writes, and leaves
// whatever else to QSettings: either way the rows are what QSettings, in a second process, reads.
void TestBookmarkStore::listReadsTheFileAsQSettingsDoes_data()
{
    QTest::addColumn<QByteArray>("bookmarks"); // the file after its "settings" section
    QTest::newRow("escaped names, out of order")
        << QByteArray("[Zed%20Two]\nip=127.0.0.3:2\npassword=\n\n[G%E4ste%U263A]\n"
                      "password=pw\nip=127.0.0.2:1\n\n[100%25%20Fun]\nip=127.0.0.4:3\n");
    QTest::newRow("values QSettings quotes, escapes or reads as lists")
        << QByteArray("[A]\nip=\"127.0.0.2:1\"\npassword=\" a,b \"\n[B]\nip=127.0.0.3:2\n"
                      "password=x\\\\y\\tz\n[C]\nip=@@1\npassword=one, two\n[D]\nip=@Invalid()\n"
                      "password=;gone\n");
    QTest::newRow("written by hand: comments, blanks, CR LF")
        << QByteArray("; my servers\r\n[My Server]\r\nip = 127.0.0.2:1 \r\npassword=p\r\n");
    QTest::newRow("blanks around a value, the file otherwise plain")
        << QByteArray("[A]\nip= 127.0.0.2:1\npassword=p \n");
    QTest::newRow("a slash in a name: a nested group, the file otherwise plain")
        << QByteArray("[a%2Fb]\nip=127.0.0.2:1\n");
    QTest::newRow("nested group, General, a section given twice")
        << QByteArray("[General]\nip=0\n[a\\b]\nip=127.0.0.2:1\n[C]\nip=127.0.0.3:2\n[C]\n"
                      "password=p\n");
}

void TestBookmarkStore::listReadsTheFileAsQSettingsDoes()
{
    QFETCH(QByteArray, bookmarks);
    WindowHarness harness;
    {
        QFile file(harness.settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write("[settings]\ncodpath=/nowhere/CoDMP.exe\n\n" + bookmarks) > 0);
    }
    QStringList expected;
    const QJsonArray sections = dumpStore(harness.settingsPath());
    for (const QJsonValue &section : sections) {
        if (section[QStringLiteral("name")] != QStringLiteral("settings"))
            expected.append(section[QStringLiteral("name")].toString() + u'|'
                            + section[QStringLiteral("ip")].toString() + u'|'
                            + section[QStringLiteral("password")].toString());
    }
    Brinemoor &window = harness.start();
    QStringList listed;
    const QStringList names = harness.bookmarkRows();
    for (qsizetype row = 0; row < names.size(); ++row)
        listed.append(names.at(row) + u'|'
                      + harness.bookmarkRows(roleId(BookmarkRole::Address)).at(row) + u'|'
                      + harness.bookmarkRows(roleId(BookmarkRole::Password)).at(row));
    QCOMPARE(listed, expected);
    QCOMPARE(window.state().GamePath, QStringLiteral("/nowhere/CoDMP.exe"));
}

void TestBookmarkStore::missingKeysReadEmpty()
{
    WindowHarness harness;
    harness.storeGamePath();
    {
        auto store = harness.reopenStore();
        store->write(QStringLiteral("NoAddress"), QStringLiteral("password"),
                     QStringLiteral("secret"));
        store->write(QStringLiteral("NoPassword"), QStringLiteral("ip"),
                     QStringLiteral("127.0.0.21:28960"));
    }
    harness.start();
    QCOMPARE(harness.bookmarkRows(), (QStringList{"NoAddress", "NoPassword"}));
    QCOMPARE(harness.bookmarkRows(roleId(BookmarkRole::Address)),
             (QStringList{"", "127.0.0.21:28960"}));
    QCOMPARE(harness.bookmarkRows(roleId(BookmarkRole::Password)), (QStringList{"secret", ""}));
}

void TestBookmarkStore::rebuildingTwiceGivesNoDuplicates()
{
    WindowHarness harness;
    harness.storeGamePath();
    harness.reopenStore()->write(QStringLiteral("A"), QStringLiteral("ip"),
                                 QStringLiteral("127.0.0.23:28960"));
    harness.start();
    // New rebuilds nothing; Delete with nothing selected deletes nothing and rebuilds the list.
    for (int i = 0; i < 2; ++i) {
        harness.find<QAction>("menu_delete")->trigger();
        QCOMPARE(harness.bookmarkRows(), QStringList{"A"});
        QCOMPARE(harness.bookmarkRows(roleId(BookmarkRole::Address)).size(), 1);
    }
}

// Bookmarks as earlier installations left them in the registry (a "/" in a key's name, a blank
// password, the game path in "settings"), brought in with the registry editor as a user would,
// under a key of the test's own: the window lists them with their addresses and passwords.
void TestBookmarkStore::registryOfEarlierInstallations()
{
#ifndef Q_OS_WIN
    QSKIP("the registry exists only on Windows");
#endif
    WindowHarness harness(WindowHarness::Store::Registry);
    // As the registry editor exports a key: UTF-16, little-endian, with its byte order mark.
    const QString exported = QStringLiteral(R"(Windows Registry Editor Version 5.00

[%1\settings]
"codpath"="C:\\Games\\CoD\\CoDMP.exe"

[%1\24/7 CTF]
"ip"="127.0.0.21:28960"
"password"=""

[%1\Gänse Clan]
"password"="a \"b\" \\c"
"ip"="127.0.0.22:28960"
)")
                                 .arg(harness.settingsPath())
                                 .replace(u'\n', QStringLiteral("\r\n"));
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("earlier.reg")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xFF\xFE");
    file.write(reinterpret_cast<const char *>(exported.utf16()), exported.size() * 2);
    file.close();
    QProcess regedit;
    regedit.start(QStringLiteral("regedit"),
                  {QStringLiteral("/S"), QDir::toNativeSeparators(file.fileName())});
    QVERIFY(regedit.waitForFinished(60000));

    Brinemoor &window = harness.start();
    QCOMPARE(harness.bookmarkRows(), (QStringList{"24/7 CTF", QStringLiteral("Gänse Clan")}));
    QCOMPARE(harness.bookmarkRows(roleId(BookmarkRole::Address)),
             (QStringList{"127.0.0.21:28960", "127.0.0.22:28960"}));
    QCOMPARE(harness.bookmarkRows(roleId(BookmarkRole::Password)),
             (QStringList{"", "a \"b\" \\c"}));
    QCOMPARE(window.state().GamePath, QStringLiteral("C:\\Games\\CoD\\CoDMP.exe"));
}

QTEST_MAIN(TestBookmarkStore)
#include "tst_bookmarkstore.moc"
