// SPDX-License-Identifier: GPL-3.0-or-later
// The address rules: each character rule against the filter state, the normaliser ipcheck (with
// backspaces inside the text) and the verdict checkip, on the state and on odd texts.
#include "address/addressrules.h"

#include <QtTest>

Q_DECLARE_METATYPE(AddressFilter)

namespace {

const QString kOk = QStringLiteral("ok");
const QString kNoAddressText = QStringLiteral("You must have a server ip address (ip:port)");
const QString kNoPortText = QStringLiteral("You must have a server port with the ip (ip:port)");
const QString kInvalid = QStringLiteral("Invalid IP");

AddressFilter filter(bool colonUsed, int dotCount, int countNumbers)
{
    return AddressFilter{colonUsed, dotCount, countNumbers};
}

// The filter a complete address leaves behind, as typing or ipcheck builds it.
const AddressFilter kComplete = filter(true, 3, 9);

} // namespace

namespace QTest {
template<>
char *toString(const AddressFilter &f)
{
    return qstrdup(QByteArray("{ColonUsed=") + (f.ColonUsed ? "true" : "false")
                   + ", DotCount=" + QByteArray::number(f.DotCount)
                   + ", CountNumbers=" + QByteArray::number(f.CountNumbers) + "}");
}
} // namespace QTest

bool operator==(const AddressFilter &a, const AddressFilter &b)
{
    return a.ColonUsed == b.ColonUsed && a.DotCount == b.DotCount
        && a.CountNumbers == b.CountNumbers;
}

class TestAddress : public QObject
{
    Q_OBJECT

private slots:
    void characterRule_data();
    void characterRule();
    void ipcheckThenCheckip_data();
    void ipcheckThenCheckip();
    void ipcheckRebuildsFilter_data();
    void ipcheckRebuildsFilter();
    void checkipJudgesStateAndPort_data();
    void checkipJudgesStateAndPort();
};

void TestAddress::characterRule_data()
{
    QTest::addColumn<AddressFilter>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("character");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<AddressFilter>("after");

    QTest::newRow("first digit resets a stale state") << kComplete << ""
                                                      << "5" << true << filter(false, 0, 1);
    QTest::newRow("digit within an octet") << filter(false, 0, 1) << "1"
                                           << "2" << true << filter(false, 0, 2);
    QTest::newRow("fourth octet digit") << filter(false, 0, 3) << "123"
                                        << "4" << false << filter(false, 0, 3);
    QTest::newRow("digit after a dot restarts the count") << filter(false, 1, 3) << "123."
                                                          << "4" << true << filter(false, 1, 1);
    QTest::newRow("digit after the colon counts from 4") << filter(true, 3, 2) << "1.2.3.45:"
                                                         << "1" << true << filter(true, 3, 5);
    QTest::newRow("fifth port digit") << filter(true, 3, 8) << "1.2.3.4:1234"
                                      << "5" << true << kComplete;
    QTest::newRow("sixth port digit") << kComplete << "1.2.3.4:12345"
                                      << "6" << false << kComplete;
    QTest::newRow("colon after the third octet") << filter(false, 3, 1) << "1.2.3.4"
                                                 << ":" << true << filter(true, 3, 1);
    QTest::newRow("colon before the third dot") << filter(false, 2, 1) << "1.2.3"
                                                << ":" << false << filter(false, 2, 1);
    QTest::newRow("colon right after a dot") << filter(false, 3, 1) << "1.2.3."
                                             << ":" << false << filter(false, 3, 1);
    QTest::newRow("second colon") << filter(true, 3, 5) << "1.2.3.4:1"
                                  << ":" << false << filter(true, 3, 5);
    QTest::newRow("colon judged by the state, not the text") << filter(false, 3, 0) << ""
                                                             << ":" << true << filter(true, 3, 0);
    QTest::newRow("dot after a digit") << filter(false, 0, 2) << "12"
                                       << "." << true << filter(false, 1, 2);
    QTest::newRow("dot at the start") << filter(false, 0, 0) << ""
                                      << "." << false << filter(false, 0, 0);
    QTest::newRow("dot after a dot") << filter(false, 1, 1) << "1."
                                     << "." << false << filter(false, 1, 1);
    QTest::newRow("fourth dot") << filter(false, 3, 1) << "1.2.3.4"
                                << "." << false << filter(false, 3, 1);
    QTest::newRow("letter") << filter(false, 0, 1) << "1"
                            << "a" << false << filter(false, 0, 1);
    QTest::newRow("blank") << filter(false, 0, 1) << "1"
                           << " " << false << filter(false, 0, 1);
    QTest::newRow("non-ASCII digit")
        << filter(false, 0, 1) << "1" << QStringLiteral("٣") << false << filter(false, 0, 1);
    QTest::newRow("full-width digit")
        << filter(false, 0, 1) << "1" << QStringLiteral("３") << false << filter(false, 0, 1);
}

void TestAddress::characterRule()
{
    QFETCH(AddressFilter, before);
    QFETCH(QString, text);
    QFETCH(QString, character);
    QFETCH(bool, accepted);
    QFETCH(AddressFilter, after);
    AddressFilter state = before;
    QCOMPARE(acceptAddressChar(state, text, character.at(0)), accepted);
    QCOMPARE(state, after);
}

void TestAddress::ipcheckThenCheckip_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("verdict");

    QTest::newRow("plain address") << "192.168.0.1:28960"
                                   << "192.168.0.1:28960" << kOk;
    QTest::newRow("port 1024") << "1.2.3.4:1024"
                               << "1.2.3.4:1024" << kOk;
    QTest::newRow("port 1023") << "1.2.3.4:1023"
                               << "1.2.3.4:1023" << kInvalid;
    QTest::newRow("port 80") << "1.2.3.4:80"
                             << "1.2.3.4:80" << kInvalid;
    QTest::newRow("port 01023 reads 1023") << "1.2.3.4:01023"
                                           << "1.2.3.4:01023" << kInvalid;
    QTest::newRow("port 99999, no upper bound") << "1.2.3.4:99999"
                                                << "1.2.3.4:99999" << kOk;
    QTest::newRow("octets of 999") << "999.999.999.999:28960"
                                   << "999.999.999.999:28960" << kOk;
    QTest::newRow("no port") << "1.2.3.4"
                             << "1.2.3.4" << kNoPortText;
    QTest::newRow("empty port") << "1.2.3.4:"
                                << "1.2.3.4:" << kInvalid;
    QTest::newRow("empty") << ""
                           << "" << kNoAddressText;
    QTest::newRow("letters only") << "abc"
                                  << "" << kNoAddressText;
    QTest::newRow("outer blanks") << " 1.2.3.4:28960 "
                                  << "1.2.3.4:28960" << kOk;
    QTest::newRow("four-digit octet") << "1234.5.6.7:28960"
                                      << "123.5.6.7:28960" << kOk;
    QTest::newRow("six port digits") << "1.2.3.4:102400"
                                     << "1.2.3.4:10240" << kOk;
    QTest::newRow("six port digits, first five low") << "1.2.3.4:010239"
                                                     << "1.2.3.4:01023" << kInvalid;
    QTest::newRow("colon before the third dot") << "1.2.3:4444"
                                                << "1.2.344" << kNoPortText;
    QTest::newRow("leading dot") << ".1.2.3.4:28960"
                                 << "1.2.3.4:28960" << kOk;
    QTest::newRow("double dot") << "1..2.3.4:28960"
                                << "1.2.3.4:28960" << kOk;
    QTest::newRow("fourth dot") << "1.2.3.4.5:28960"
                                << "1.2.3.45:28960" << kOk;
    QTest::newRow("second colon") << "1.2.3.4::28960"
                                  << "1.2.3.4:28960" << kOk;
    QTest::newRow("colon after a dot") << "1.2.3.:28960"
                                       << "1.2.3.289" << kNoPortText;
    QTest::newRow("non-ASCII digits") << QStringLiteral("١.٢.٣.٤:28960") << "289" << kNoPortText;

    // A backspace works as the Backspace key does in the address field.
    QTest::newRow("backspace over a port digit") << "1.2.3.4:28960\b"
                                                 << "1.2.3.4:2896" << kOk;
    QTest::newRow("backspace over the colon") << "1.2.3.4:\b5"
                                              << "1.2.3.45" << kNoPortText;
    QTest::newRow("backspace over the colon, colon again") << "1.2.3.4:\b:1024"
                                                           << "1.2.3.4:1024" << kOk;
    QTest::newRow("backspace over a dot") << "1.\b.2.3.4:1024"
                                          << "1.2.3.4:1024" << kOk;
    QTest::newRow("backspace at the start") << "\b1.2.3.4:1024"
                                            << "1.2.3.4:1024" << kOk;
    QTest::newRow("backspace after a refused digit") << "1234\b5.6.7.8:1024"
                                                     << "125.6.7.8:1024" << kOk;
    QTest::newRow("backspace over digit and dot restarts the count") << "12.3\b\b345.6.7.8:1024"
                                                                     << "12345.6.7.8:1024" << kOk;
    QTest::newRow("backspaces only") << "\b\b\b"
                                     << "" << kNoAddressText;
}

void TestAddress::ipcheckThenCheckip()
{
    QFETCH(QString, input);
    QFETCH(QString, field);
    QFETCH(QString, verdict);
    AddressFilter state = kComplete;
    const QString filtered = ipcheck(state, input);
    QCOMPARE(filtered, field);
    QCOMPARE(checkip(state, filtered), verdict);
}

void TestAddress::ipcheckRebuildsFilter_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<AddressFilter>("after");
    QTest::newRow("nothing accepted") << "abc" << filter(false, 0, 0);
    QTest::newRow("one digit") << "1" << filter(false, 0, 1);
    QTest::newRow("three-digit octet") << "1234" << filter(false, 0, 3);
    QTest::newRow("after a dot") << "12.3" << filter(false, 1, 1);
    QTest::newRow("four octets") << "1.2.3.4" << filter(false, 3, 1);
    QTest::newRow("colon leaves the count") << "1.2.3.4:" << filter(true, 3, 1);
    QTest::newRow("first port digit") << "1.2.3.4:2" << filter(true, 3, 5);
    QTest::newRow("full port") << "1.2.3.4:289601" << kComplete;
    QTest::newRow("backspace over the colon") << "1.2.3.4:\b" << filter(false, 3, 1);
    QTest::newRow("backspace over a dot") << "1.\b" << filter(false, 0, 1);
    QTest::newRow("backspace over a digit") << "12\b" << filter(false, 0, 1);
    QTest::newRow("backspace over a port digit") << "1.2.3.4:28960\b" << filter(true, 3, 8);
    QTest::newRow("backspace on nothing") << "\b" << filter(false, 0, -1);
}

void TestAddress::ipcheckRebuildsFilter()
{
    QFETCH(QString, input);
    QFETCH(AddressFilter, after);
    // Starts from a stale state: ipcheck must not build on it.
    AddressFilter state = filter(true, 2, 7);
    ipcheck(state, input);
    QCOMPARE(state, after);
}

void TestAddress::checkipJudgesStateAndPort_data()
{
    QTest::addColumn<AddressFilter>("state");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("complete") << kComplete << "1.2.3.4:28960" << kOk;
    QTest::newRow("state short of a dot") << filter(true, 2, 9) << "1.2.3.4:28960" << kInvalid;
    QTest::newRow("state without the colon") << filter(false, 3, 9) << "1.2.3.4:28960" << kInvalid;
    QTest::newRow("text without the colon") << kComplete << "1.2.3.4" << kNoPortText;
    QTest::newRow("empty text") << kComplete << "" << kNoAddressText;
    // Texts that only a change past the filter can leave in the field: refused, never a crash.
    QTest::newRow("letter in the port") << kComplete << "1.2.3.4:12a4" << kInvalid;
    QTest::newRow("blank before the port") << kComplete << "1.2.3.4: 2896" << kInvalid;
    QTest::newRow("signed port") << kComplete << "1.2.3.4:+2896" << kInvalid;
    QTest::newRow("negative port") << kComplete << "1.2.3.4:-2896" << kInvalid;
    QTest::newRow("second colon") << kComplete << "1.2.3.4:1024:5" << kInvalid;
    QTest::newRow("full-width digits")
        << kComplete << QStringLiteral("1.2.3.4:２８９６０") << kInvalid;
    QTest::newRow("port beyond any number")
        << kComplete << "1.2.3.4:" + QString(40, u'9') << kInvalid;
}

void TestAddress::checkipJudgesStateAndPort()
{
    QFETCH(AddressFilter, state);
    QFETCH(QString, text);
    QFETCH(QString, verdict);
    QCOMPARE(checkip(state, text), verdict);
}

QTEST_APPLESS_MAIN(TestAddress)
#include "tst_address.moc"
