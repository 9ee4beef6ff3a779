// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled country table against the geoip file it was built from, read here on its own:
// both ends of every range and the addresses beside them (gaps included), the local network's
// ranges, the special ranges no registry gives a country, the names of every code the file uses
// and the data's date. Lookups read the table only: no address is ever contacted.
#include "geo/country.h"

#include <QtTest>

#include <algorithm>

namespace {

struct GeoipRange
{
    quint32 first;
    quint32 last;
    QString code; // as the program names it; empty for "??"
    Country country;
};

struct GeoipFile
{
    QString generated; // the header's date, as it stands
    QList<GeoipRange> ranges;
};

// The file says "UK" for some of the United Kingdom's ranges; the program says GB for all.
QString programCode(QByteArrayView fileCode)
{
    if (fileCode == "??")
        return QString();
    return fileCode == "UK" ? QStringLiteral("GB") : QString::fromLatin1(fileCode);
}

const GeoipFile &geoipFile()
{
    static const GeoipFile file = [] {
        GeoipFile read;
        QHash<QString, Country> countries;
        QFile geoip(QStringLiteral(BRINEMOOR_GEOIP_FILE));
        if (!geoip.open(QIODevice::ReadOnly | QIODevice::Text))
            qFatal("cannot read %s", BRINEMOOR_GEOIP_FILE);
        while (!geoip.atEnd()) {
            const QByteArray line = geoip.readLine().trimmed();
            if (line.startsWith("# Generated:") && read.generated.isEmpty())
                read.generated = QString::fromLatin1(line.sliced(12).trimmed());
            const QList<QByteArray> fields = line.split(',');
            if (line.startsWith('#') || fields.size() != 3)
                continue;
            const QString code = programCode(fields[2]);
            auto country = countries.constFind(code);
            if (country == countries.cend())
                country = countries.insert(code, Country::fromCode(code));
            read.ranges.append({fields[0].toUInt(), fields[1].toUInt(), code, *country});
        }
        return read;
    }();
    return file;
}

quint32 ipv4(const char *dotted)
{
    const QStringList octets = QString::fromLatin1(dotted).split(u'.');
    quint32 ip = 0;
    for (const QString &octet : octets)
        ip = ip << 8 | octet.toUInt();
    return ip;
}

QString dotted(quint32 ip)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(ip >> 24)
        .arg(ip >> 16 & 0xFF)
        .arg(ip >> 8 & 0xFF)
        .arg(ip & 0xFF);
}

// Private, loopback and link-local networks, first and last address.
const std::pair<quint32, quint32> kLanRanges[] = {
    {ipv4("10.0.0.0"), ipv4("10.255.255.255")},     {ipv4("127.0.0.0"), ipv4("127.255.255.255")},
    {ipv4("169.254.0.0"), ipv4("169.254.255.255")}, {ipv4("172.16.0.0"), ipv4("172.31.255.255")},
    {ipv4("192.168.0.0"), ipv4("192.168.255.255")},
};

bool isLanByTheList(quint32 ip)
{
    return std::any_of(std::begin(kLanRanges), std::end(kLanRanges),
                       [ip](const auto &range) { return ip >= range.first && ip <= range.second; });
}

QString shown(const Country &country)
{
    if (country.isLan())
        return QStringLiteral("LAN");
    return country.isKnown() ? QString(country.code()) : QStringLiteral("unknown");
}

// Empty when the program places the address as expected (the local network by the list above,
// else `country`), else what is wrong.
QString misplaced(quint32 ip, const Country &country)
{
    static const Country lan = Country::of(ipv4("127.0.0.1"));
    const Country expected = isLanByTheList(ip) ? lan : country;
    const Country found = Country::of(ip);
    if (found == expected)
        return QString();
    return QStringLiteral("%1: %2 instead of %3").arg(dotted(ip), shown(found), shown(expected));
}

} // namespace

class TestGeo : public QObject
{
    Q_OBJECT

private slots:
    void rangeEdgesAsTheFileSays();
    void specialRanges_data();
    void specialRanges();
    void everyCodeOfTheFileIsNamed();
    void dataDateIsTheFilesHeader();
};

// The first and last address of every range, and the addresses just before and after it: those of
// the neighbouring range, or of a gap, which is unknown.
void TestGeo::rangeEdgesAsTheFileSays()
{
    const QList<GeoipRange> &ranges = geoipFile().ranges;
    QVERIFY(ranges.size() > 100'000);
    for (qsizetype i = 0; i < ranges.size(); ++i) {
        const GeoipRange &range = ranges[i];
        QStringList problems{misplaced(range.first, range.country),
                             misplaced(range.last, range.country)};
        if (range.first > 0) {
            const bool joined = i > 0 && ranges[i - 1].last + 1 == range.first;
            problems << misplaced(range.first - 1, joined ? ranges[i - 1].country : Country());
        }
        if (range.last < 0xFFFFFFFF) {
            const bool joined = i + 1 < ranges.size() && range.last + 1 == ranges[i + 1].first;
            problems << misplaced(range.last + 1, joined ? ranges[i + 1].country : Country());
        }
        problems.removeAll(QString());
        if (!problems.isEmpty())
            QFAIL(qPrintable(problems.join(u"; ")));
    }
    for (const auto &[first, last] : kLanRanges) {
        QVERIFY(Country::of(first).isLan());
        QVERIFY(Country::of(last).isLan());
        QVERIFY(!Country::of(first - 1).isLan());
        QVERIFY(!Country::of(last + 1).isLan());
    }
}

void TestGeo::specialRanges_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("country");
    QTest::newRow("loopback") << "127.0.0.1"
                              << "LAN";
    QTest::newRow("private 172.16/12") << "172.20.1.2"
                                       << "LAN";
    QTest::newRow("link-local") << "169.254.10.20"
                                << "LAN";
    // The carriers' shared space is the provider's network, which may be anywhere.
    QTest::newRow("shared space first") << "100.64.0.0"
                                        << "unknown";
    QTest::newRow("shared space last") << "100.127.255.255"
                                       << "unknown";
    QTest::newRow("this network") << "0.0.0.0"
                                  << "unknown";
    QTest::newRow("documentation") << "192.0.2.1"
                                   << "unknown";
    QTest::newRow("documentation 2") << "198.51.100.1"
                                     << "unknown";
    QTest::newRow("documentation 3") << "203.0.113.255"
                                     << "unknown";
    QTest::newRow("benchmarking") << "198.18.0.1"
                                  << "unknown";
    QTest::newRow("multicast") << "224.0.0.1"
                               << "unknown";
    QTest::newRow("reserved") << "240.0.0.1"
                              << "unknown";
    QTest::newRow("broadcast") << "255.255.255.255"
                               << "unknown";
}

void TestGeo::specialRanges()
{
    QFETCH(QString, address);
    QFETCH(QString, country);
    const Country found = Country::of(ipv4(qPrintable(address)));
    QCOMPARE(shown(found), country);
    QCOMPARE(found.code(), QLatin1StringView());
    QCOMPARE(QByteArray(found.englishName()), QByteArray());
}

void TestGeo::everyCodeOfTheFileIsNamed()
{
    QHash<QString, Country> countries;
    for (const GeoipRange &range : geoipFile().ranges)
        countries.insert(range.code, range.country);
    countries.remove(QString());
    QVERIFY(countries.size() > 200);
    for (auto it = countries.cbegin(); it != countries.cend(); ++it) {
        QVERIFY2(it->isKnown(), qPrintable(it.key()));
        QCOMPARE(it->code(), it.key());
        QVERIFY2(qstrlen(it->englishName()) > 2, qPrintable(it.key()));
    }
    // The short common name where ISO 3166-1 has one beside the formal name.
    QCOMPARE(QByteArray(Country::fromCode(u"KR").englishName()), QByteArray("South Korea"));
    QCOMPARE(QByteArray(Country::fromCode(u"GB").englishName()), QByteArray("United Kingdom"));
    const QStringList noCodes{"", "??", "de", "UK", "DEU"};
    for (const QString &noCode : noCodes)
        QVERIFY2(Country::fromCode(noCode) == Country(), qPrintable(noCode));
}

void TestGeo::dataDateIsTheFilesHeader()
{
    // "Thu, 25 Jun 2026 04:33:59 GMT"
    const QDateTime generated = QLocale::c().toDateTime(
        geoipFile().generated, QStringLiteral("ddd, d MMM yyyy HH:mm:ss 'GMT'"));
    QVERIFY2(generated.isValid(), qPrintable(geoipFile().generated));
    QCOMPARE(countryDataDate(), generated.date().toString(Qt::ISODate));
}

QTEST_GUILESS_MAIN(TestGeo)
#include "tst_geo.moc"
