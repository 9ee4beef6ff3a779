// SPDX-License-Identifier: GPL-3.0-or-later
// The clan nickname page: its format and its text encoding.
#include "clan/clannicknames.h"
#include "clan/pagefetch.h"

#include <QTest>

namespace {

const QByteArray kAceBoPage = "start<br>Ace,AceX<br>Bo,BoY<br>end";

} // namespace

class TestClanPage : public QObject
{
    Q_OBJECT

private slots:
    void parsePage_data();
    void parsePage();
    void decodePage_data();
    void decodePage();
};

void TestClanPage::parsePage_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("nickname");
    QTest::addColumn<bool>("isPage");
    QTest::addColumn<QStringList>("clanNicknames");
    QTest::addColumn<QStringList>("playerNames");
    QTest::addColumn<int>("found"); // -1: no match

    const QString aceBo = QString::fromLatin1(kAceBoPage);
    const QStringList aces{"Ace", "Bo"};
    const QStringList aceXs{"AceX", "BoY"};
    QTest::newRow("match ignores case") << aceBo << "bo" << true << aces << aceXs << 1;
    QTest::newRow("not listed") << aceBo << "Cy" << true << aces << aceXs << -1;
    QTest::newRow("later match wins")
        << "start<br>Bo,B1<br>Ace,A<br>BO,B2<br>end"
        << "bo" << true << QStringList{"Bo", "Ace", "BO"} << QStringList{"B1", "A", "B2"} << 2;
    QTest::newRow("head skips any 4 characters")
        << "start\r\n\r\nBo,BoY<br>end"
        << "bo" << true << QStringList{"Bo"} << QStringList{"BoY"} << 0;
    QTest::newRow("blanks belong to the names")
        << "start<br> Big Al ,Al X<br>end"
        << " big al " << true << QStringList{" Big Al "} << QStringList{"Al X"} << 0;
    QTest::newRow("blanks of the nickname count")
        << "start<br> Big Al ,Al X<br>end"
        << "big al" << true << QStringList{" Big Al "} << QStringList{"Al X"} << -1;
    QTest::newRow("non-ASCII letters ignore case")
        << QStringLiteral("start<br>Zoë,Z<br>end") << QStringLiteral("ZOË") << true
        << QStringList{QStringLiteral("Zoë")} << QStringList{"Z"} << 0;
    QTest::newRow("last line without its <") << "start<br>Ace,AceX<br>Bo,BoYend"
                                             << "bo" << true << aces << QStringList{"AceX"} << 1;
    QTest::newRow("word after the last separator dropped")
        << "start<br>Ace,AceX<br>Cyend"
        << "cy" << true << QStringList{"Ace"} << QStringList{"AceX"} << -1;
    QTest::newRow("missing comma shifts the pairing")
        << "start<br>AceAceX<br>Bo,BoY<br>end"
        << "bo" << true << QStringList{"Bo"} << QStringList{"AceAceX", "BoY"} << 0;
    QTest::newRow("skip runs past the body")
        << "start<br>Ace,AceX<bend"
        << "ace" << true << QStringList{"Ace"} << QStringList{"AceX"} << 0;
    QTest::newRow("exactly head and tail") << "start1234end"
                                           << "bo" << true << QStringList{} << QStringList{} << -1;
    QTest::newRow("capital S head") << "Start<br>Ace,AceX<br>end"
                                    << "ace" << false << QStringList{} << QStringList{} << -1;
    QTest::newRow("no tail") << "start<br>Ace,AceX<br>"
                             << "ace" << false << QStringList{} << QStringList{} << -1;
    QTest::newRow("markers overlap") << "startend"
                                     << "ace" << false << QStringList{} << QStringList{} << -1;
    QTest::newRow("markers, 11 characters") << "start,<1end"
                                            << "" << false << QStringList{} << QStringList{} << -1;
}

void TestClanPage::parsePage()
{
    QFETCH(QString, page);
    QFETCH(QString, nickname);
    QFETCH(bool, isPage);
    QFETCH(QStringList, clanNicknames);
    QFETCH(QStringList, playerNames);
    QFETCH(int, found);

    const std::optional<ClanNicknames> parsed = parseClanNicknamePage(page, nickname);
    QCOMPARE(parsed.has_value(), isPage);
    if (!parsed)
        return;
    QCOMPARE(parsed->clanNicknames, clanNicknames);
    QCOMPARE(parsed->playerNames, playerNames);
    QCOMPARE(parsed->found.value_or(-1), found);
}

void TestClanPage::decodePage_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QString>("text");

    const QString asUtf8 = QStringLiteral("Zoë");
    const QString asLatin1 = QStringLiteral("ZoÃ«");
    QTest::newRow("no charset") << QByteArray("text/html") << asLatin1;
    QTest::newRow("UTF-8") << QByteArray("text/html; charset=UTF-8") << asUtf8;
    QTest::newRow("utf-8 quoted, no blank") << QByteArray("text/html;charset=\"utf-8\"") << asUtf8;
    QTest::newRow("Latin-1 named") << QByteArray("text/html; charset=ISO-8859-1") << asLatin1;
    QTest::newRow("utf-8 only in the type") << QByteArray("text/utf-8") << asLatin1;
}

void TestClanPage::decodePage()
{
    QFETCH(QByteArray, contentType);
    QFETCH(QString, text);
    QCOMPARE(::decodePage("Zo\xc3\xab", contentType), text);
}

QTEST_APPLESS_MAIN(TestClanPage)
#include "tst_clanpage.moc"
