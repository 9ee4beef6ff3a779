// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own settings: how each key's text is read, as the user may write it.
#include "settings/appsettings.h"
#include "storefixture.h"

#include <QtTest>

class TestAppSettings : public QObject
{
    Q_OBJECT

private slots:
    void values_data();
    void values();
    void recentServers();
};

void TestAppSettings::values_data()
{
    QTest::addColumn<QString>("refreshSeconds");
    QTest::addColumn<QString>("notify");
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<int>("period");         // seconds, 0 for none
    QTest::addColumn<bool>("notifies");      // and closes to the tray, written the same
    QTest::addColumn<int>("protocolNumber"); // 0 for none
    QTest::addColumn<QString>("game");       // whose keys `protocol` and the path are written to
    QTest::newRow("defaults") << QString() << QString() << QString() << 120 << true << 0 << "cod";
    QTest::newRow("off") << QStringLiteral("0") << "false"
                         << "" << 0 << false << 0 << "cod";
    QTest::newRow("too often") << QStringLiteral("10") << "0"
                               << "" << 30 << false << 0 << "cod";
    QTest::newRow("as asked") << QStringLiteral(" 45 ") << "true"
                              << "" << 45 << true << 0 << "cod";
    QTest::newRow("negative") << QStringLiteral("-5") << "OFF"
                              << "" << 120 << false << 0 << "cod";
    QTest::newRow("no number") << QStringLiteral("2m") << "yes"
                               << "" << 120 << true << 0 << "cod";
    QTest::newRow("beyond a timer") << QStringLiteral("99999999999") << "1"
                                    << "" << 86'400 << true << 0 << "cod";
    QTest::newRow("protocol as a version") << ""
                                           << ""
                                           << " 1.5" << 120 << true << 6 << "cod";
    QTest::newRow("protocol as its number") << ""
                                            << ""
                                            << "6" << 120 << true << 6 << "cod";
    QTest::newRow("protocol no version speaks") << ""
                                                << ""
                                                << "3" << 120 << true << 0 << "cod";
    QTest::newRow("United Offensive's keys") << ""
                                             << ""
                                             << "1.51" << 120 << true << 22 << "uo";
    QTest::newRow("Call of Duty 2's keys") << ""
                                           << ""
                                           << "118" << 120 << true << 118 << "cod2";
    QTest::newRow("a version the game never had") << ""
                                                  << ""
                                                  << "1.5" << 120 << true << 0 << "cod2";
    QTest::newRow("Call of Duty 4's 1.7") << ""
                                          << ""
                                          << "1.7" << 120 << true << 6 << "cod4";
}

// Written as QSettings writes them, and read back both from the reading of the whole store and,
// after a change from outside, key by key.
void TestAppSettings::values()
{
    QFETCH(QString, refreshSeconds);
    QFETCH(QString, notify);
    QFETCH(QString, protocol);
    QFETCH(int, period);
    QFETCH(bool, notifies);
    QFETCH(int, protocolNumber);
    QFETCH(QString, game);
    const GameId played = gameNamed(game);
    const QString suffix = played == GameId::Cod ? QString() : u'_' + game;
    const QString path = QStringLiteral("C:/Games/%1/game.exe").arg(game);
    const StoreFixture fixture;
    {
        QSettings file(fixture.settingsPath(), QSettings::IniFormat);
        file.setValue(QStringLiteral("A/ip"), QStringLiteral("127.0.0.2:28960"));
        const QList<std::pair<QString, QString>> written{
            {"refreshseconds", refreshSeconds},
            {"notify", notify},
            {"closetotray", notify},
            {"lan", notify},
            {"protocol" + suffix, protocol},
            {(game == "uo" ? "coduo" : game) + "path", path}};
        for (const auto &[key, value] : written) {
            if (!value.isEmpty())
                file.setValue(QStringLiteral("settings/") + key, value);
        }
    }
    const std::unique_ptr<KeyValueStore> store = fixture.reopenStore();
    const AppSettings settings(*store);
    const std::optional<std::chrono::seconds> expected = period == 0
        ? std::nullopt
        : std::optional(std::chrono::seconds(period));
    const std::optional<int> expectedProtocol = protocolNumber == 0 ? std::nullopt
                                                                    : std::optional(protocolNumber);
    for (const bool wholeStoreRead : {true, false}) {
        if (wholeStoreRead)
            QVERIFY(store->contents());
        else
            fixture.writeInPlace(fixture.fileBytes() + "[B]\nip=127.0.0.3:28960\n");
        QCOMPARE(settings.refreshPeriod(), expected);
        QCOMPARE(settings.notifications(), notifies);
        QCOMPARE(settings.closeToTray(), notifies);
        QCOMPARE(settings.lanScan(), notifies && !notify.isEmpty()); // written the same, off unset
        QCOMPARE(settings.protocol(played), expectedProtocol);
        QCOMPARE(settings.gamePath(played), path);
        if (played != GameId::Cod) // Call of Duty's own keys stay unset
            QVERIFY(!settings.protocol() && settings.gamePath().isEmpty());
    }
}

// A hand-edited list: garbage and bad addresses are skipped, an address counts once, at most 20
// are taken; a start goes first and the list stays within the bound.
void TestAppSettings::recentServers()
{
    const StoreFixture fixture;
    QStringList edited{"garbage",
                       "127.0.0.2:28960 2026-12-09T10:00:00Z Harbor  two blanks",
                       "127.0.0.2:70000 2026-12-09T10:00:00Z port too big",
                       "harbor.example:28960 2026-12-09T10:00:00Z a name",
                       "127.0.0.3:28960 yesterday Dunes",
                       "127.0.0.2:28960 2026-12-08T10:00:00Z Harbor again"};
    for (int i = 0; i < 10'000; ++i)
        edited.append(QStringLiteral("127.0.1.%1:%2 2026-12-01T00:00:00Z S%3")
                          .arg(i % 250)
                          .arg(20000 + i / 250)
                          .arg(i));
    {
        QSettings file(fixture.settingsPath(), QSettings::IniFormat);
        file.setValue(QStringLiteral("settings/recent"), edited);
    }
    const std::unique_ptr<KeyValueStore> store = fixture.reopenStore();
    AppSettings settings(*store);
    QList<RecentServer> recent = settings.recentServers();
    QCOMPARE(recent.size(), kMaxRecentServers);
    QCOMPARE(recent.first(),
             (RecentServer{"127.0.0.2:28960", "Harbor  two blanks",
                           QDateTime(QDate(2026, 12, 9), QTime(10, 0), Qt::UTC)}));
    QCOMPARE(recent.at(1).name, QStringLiteral("S0"));
    QCOMPARE(recent.last().name, QStringLiteral("S18"));

    const RecentServer started{"127.0.1.5:20000", "S5", QDateTime::currentDateTimeUtc()};
    QVERIFY(settings.recordRecent(started));
    recent = AppSettings(*fixture.reopenStore()).recentServers();
    QCOMPARE(recent.size(), kMaxRecentServers);
    QCOMPARE(recent.first().address, started.address);
    QCOMPARE(recent.first().startedAt.toSecsSinceEpoch(), started.startedAt.toSecsSinceEpoch());
    QCOMPARE(std::count_if(recent.cbegin(), recent.cend(),
                           [&](const RecentServer &server) { return server.name == "S5"; }),
             1);
    QCOMPARE(recent.at(1).name, QStringLiteral("Harbor  two blanks"));
}

QTEST_GUILESS_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
