// SPDX-License-Identifier: GPL-3.0-or-later
// The store on its own: a failed write, a section's keys read after the whole store, the watch on
// the file, a store that is no regular file, the registry's section names, and a lock file left
// behind.
#include "storage/keyvaluestore.h"
#include "storage/storewatch.h"
#include "storedump.h"
#include "storefixture.h"

#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void failedWriteIsReported();
    void readingsFollowTheFile_data();
    void readingsFollowTheFile();
    void watchSeesEveryWrite_data();
    void watchSeesEveryWrite();
    void storeThatIsNoRegularFile();
    void registrySectionNames_data();
    void registrySectionNames();
    void lockFileLeftBehind_data();
    void lockFileLeftBehind();
};

void TestStore::failedWriteIsReported()
{
    // A settings "folder" that is a plain file cannot take the settings file, whoever runs this.
    QTemporaryDir dir;
    const QString notAFolder = QDir(dir.path()).filePath(QStringLiteral("file"));
    QFile file(notAFolder);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const auto store = openIniStore(notAFolder + QStringLiteral("/Brinemoor.ini"));
    QVERIFY(!store->write(QStringLiteral("A"), QStringLiteral("ip"),
                          QStringLiteral("127.0.0.23:1024")));
    QVERIFY(!store->deleteSection(QStringLiteral("A")));
}

// A reading ahead, and the keys of the section kept at hand, count while the
// file stays the same: a change by another writer, or a list, is read as QSettings reads it. A file
// written long before it was read is told from a change of the same size by its time alone. A
// watch begun after a change follows from the store as it was listed. It takes a store that
// cannot be read for a while for no change (no list rebuilt, no server asked again), and lists a
// file with a line QSettings cannot read as the start-up does.
void TestStore::readingsFollowTheFile_data()
{
    QTest::addColumn<bool>("writtenLongAgo");
    QTest::newRow("written just now") << false;
    QTest::newRow("written long ago") << true;
}

void TestStore::readingsFollowTheFile()
{
    QFETCH(bool, writtenLongAgo);
    const StoreFixture fixture;
    const QString path = fixture.settingsPath();
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[A]\nip=127.0.0.2:1\n\n[settings]\nfriends=Bob\nnotify=yes\n");
    if (writtenLongAgo)
        QVERIFY(file.flush()
                && file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                    QFileDevice::FileModificationTime));
    file.close();
    const auto store = fixture.reopenStore();
    const QString settings = QStringLiteral("settings");
    store->keepAtHand(settings);
    store->readAhead();
    QTest::qWait(200); // read ahead before the file changes
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[A]\nip=127.0.0.2:1\n\n[settings]\nfriends=Ann\nnotify=off\n");
    file.close();
    QCOMPARE(store->contents().value_or(QList<StoredSection>()).size(), 2);
    QCOMPARE(store->read(settings, QStringLiteral("notify")), QStringLiteral("off"));
    QVERIFY(store->readList(settings, QStringLiteral("masters")).isEmpty());
    {
        QSettings other(path, QSettings::IniFormat);
        other.setValue(QStringLiteral("settings/notify"), QStringLiteral("on"));
        other.setValue(QStringLiteral("settings/masters"), QStringList{"127.0.0.2", "127.0.0.3"});
    }
    QCOMPARE(store->read(settings, QStringLiteral("notify")), QStringLiteral("on"));
    QCOMPARE(store->readList(settings, QStringLiteral("masters")),
             (QStringList{"127.0.0.2", "127.0.0.3"}));
    QCOMPARE(store->readList(settings, QStringLiteral("friends")), QStringList{"Ann"});
    StoreWatch watch(*store);
    QSignalSpy changed(&watch, &StoreWatch::changed);
    QVERIFY(changed.wait(2000));
    QVERIFY(QFile::remove(path) && QDir().mkdir(path));
    QVERIFY(!changed.wait(800));
    // Longer than the file before: a shorter one counts as still being written for 2 s.
    QVERIFY(QDir().rmdir(path) && file.open(QIODevice::WriteOnly));
    file.write("[A]\nip=127.0.0.2:1\n\n[B\nip=127.0.0.3:1\n\n[settings]\nfriends=Ann, Bob\n"
               "masters=127.0.0.2, 127.0.0.3\nnotify=on\n");
    file.close();
    QVERIFY(changed.wait(2000));
}

// After the watch's first look, as another copy or an editor writes: a new file put in place (the
// watch on the file then ends), then the file written in place, which a watch on the folder alone
// never hears of. An editor may keep the replaced file open, so its watch does not end by itself.
void TestStore::watchSeesEveryWrite_data()
{
    QTest::addColumn<bool>("replacedFileKeptOpen");
    QTest::newRow("replaced, then written in place") << false;
    QTest::newRow("replaced while the old file is open, then written in place") << true;
}

void TestStore::watchSeesEveryWrite()
{
    QFETCH(bool, replacedFileKeptOpen);
#ifdef Q_OS_WIN
    if (replacedFileKeptOpen)
        QSKIP("a file held open is not replaced on Windows");
#endif
    const StoreFixture fixture;
    fixture.writeInPlace("[A]\nip=127.0.0.2:1\n");
    const auto store = fixture.reopenStore();
    QVERIFY(store->contents());
    StoreWatch watch(*store);
    QSignalSpy changed(&watch, &StoreWatch::changed);
    QVERIFY(!changed.wait(400)); // its first look finds the store as listed
    QFile old(fixture.settingsPath());
    if (replacedFileKeptOpen)
        QVERIFY(old.open(QIODevice::ReadOnly));
    fixture.replaceWhole("[A]\nip=127.0.0.2:1\n[B]\nip=127.0.0.3:1\n");
    QVERIFY(changed.wait(2000));
    QVERIFY(!changed.wait(400)); // settled
    fixture.writeInPlace("[A]\nip=127.0.0.2:1\n[B]\nip=127.0.0.3:1\n[C]\nip=127.0.0.4:1\n");
    QVERIFY(changed.wait(2000));
}

// A FIFO at the store's path would hold any open of it until some writer came, for good. It is
// a store that cannot be read: reported so, never opened as a file, never written over.
void TestStore::storeThatIsNoRegularFile()
{
#ifdef Q_OS_UNIX
    const StoreFixture fixture;
    const QByteArray path = QFile::encodeName(fixture.settingsPath());
    QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    const auto store = fixture.reopenStore();
    store->readAhead();
    QVERIFY(store->isUnreadable());
    QVERIFY(!store->contents());
    QVERIFY(store->read(QStringLiteral("settings"), QStringLiteral("codpath")).isEmpty());
    QVERIFY(
        !store->write(QStringLiteral("A"), QStringLiteral("ip"), QStringLiteral("127.0.0.2:1")));
    QVERIFY(!store->reload());
    StoreWatch watch(*store);
    QSignalSpy changed(&watch, &StoreWatch::changed);
    QVERIFY(!changed.wait(400)); // its first look, on the FIFO
    QVERIFY(!QFileInfo(fixture.settingsPath()).isFile());
#else
    QSKIP("a FIFO is made only on POSIX systems");
#endif
}

// Qt's registry backend is not built here; what it is handed is. It swaps "/" and "\" between
// QSettings and the registry, and earlier installations wrote a typed "/" into the key's name.
void TestStore::registrySectionNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("givenToQSettings");
    QTest::newRow("slash, as earlier installations stored it") << "24/7 CTF"
                                                               << "24\\7 CTF";
    QTest::newRow("backslash, which no key name can hold") << "a\\b"
                                                           << "a%5Cb";
    QTest::newRow("both") << "a\\b/c"
                          << "a%5Cb\\c";
    QTest::newRow("general is no special name there") << "General"
                                                      << "General";
    QTest::newRow("escape look-alikes") << "%2F and %5C"
                                        << "%252F and %255C";
    QTest::newRow("plain") << "Harbor Nights"
                           << "Harbor Nights";
}

void TestStore::registrySectionNames()
{
    QFETCH(QString, name);
    QFETCH(QString, givenToQSettings);
    QCOMPARE(escapeSection(name, StoreBackend::Registry), givenToQSettings);
    QCOMPARE(unescapeSection(givenToQSettings, StoreBackend::Registry), name);
}

// QSettings waits for its lock file until the file is 30 s old. An empty one left by a crash must
// not hold a save that long; one that a running copy holds must stay until that copy lets it go.
void TestStore::lockFileLeftBehind_data()
{
    QTest::addColumn<bool>("heldByARunningCopy");
    QTest::newRow("left empty by a crash") << false;
    QTest::newRow("empty, held by a running copy") << true;
}

void TestStore::lockFileLeftBehind()
{
    QFETCH(bool, heldByARunningCopy);
    StoreFixture fixture;
    // The leftover's age and the waits short: the holder need not hold long to be waited out.
    fixture.storeTiming = StoreFixture::kShortTiming;
    const QString settings = fixture.settingsPath();
    QVERIFY(fixture.reopenStore()->write(QStringLiteral("settings"), QStringLiteral("codpath"),
                                         QStringLiteral("/nowhere/CoDMP.exe")));
    const QString lock = settings + QStringLiteral(".lock");
    QFile leftover(lock);
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    // Older than a live writer ever leaves it empty, far younger than QSettings' 30 s.
    QVERIFY(leftover.setFileTime(QDateTime::currentDateTime().addSecs(-5),
                                 QFileDevice::FileModificationTime));
    leftover.close();
    QProcess holder;
    if (heldByARunningCopy) {
        const QString flock = QStandardPaths::findExecutable(QStringLiteral("flock"));
        if (flock.isEmpty())
            QSKIP("needs flock(1) from util-linux");
        // Holds the file under its lock for a while, then says whether it is still there.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LOCK"), lock);
        holder.setProcessEnvironment(environment);
        holder.start(flock,
                     {lock, QStringLiteral("-c"),
                      QStringLiteral("echo held; sleep 0.4; test -e \"$LOCK\" && echo kept")});
        QVERIFY(holder.waitForStarted());
        QVERIFY(holder.waitForReadyRead());
        QCOMPARE(holder.readLine(), QByteArray("held\n"));
    }

    QElapsedTimer clock;
    clock.start();
    QVERIFY(fixture.reopenStore()->write(QStringLiteral("A"), QStringLiteral("ip"),
                                         QStringLiteral("127.0.0.2:28960")));
    // A hang guard, not a speed target: without the recovery the write waits some 25 s.
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(dumpStore(settings).size(), 2);
    if (heldByARunningCopy) {
        QVERIFY(holder.waitForFinished());
        QCOMPARE(holder.readAll(), QByteArray("kept\n"));
    }
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_inistore.moc"
