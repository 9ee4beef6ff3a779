// SPDX-License-Identifier: GPL-3.0-or-later
// The address field's key filter: what typed characters do to the text and the filter state, and
// the keys with a meaning of their own (Backspace, Enter, Ctrl+C, Ctrl+V).
#include "fakestatusserver.h"
#include "windowharness.h"

#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

const QByteArray kReply = FakeStatusServer::statusReply({QStringLiteral(R"(\mapname\mp_harbor)")});

} // namespace

class TestAddressKeys : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typing_data();
    void typing();
    void backspaceAdjustsTheFilterBeforeTheFieldDeletes();
    void backspaceOnAnEmptyField();
    void staleStateLetsAColonInUntilEnter();
    void controlKeysRefused_data();
    void controlKeysRefused();
    void keysWithoutACharacterReachTheField();
    void enterFiltersAgainAndQueries();
    void ctrlCCopiesTheWholeAddress();
    void ctrlVReplacesTheFieldAndQueries_data();
    void ctrlVReplacesTheFieldAndQueries();

private:
    const WindowState &state() { return m_harness->window().state(); }
    void verifyFilter(bool colonUsed, int dotCount, int countNumbers);

    std::unique_ptr<WindowHarness> m_harness;
    QLineEdit *m_field = nullptr;
};

void TestAddressKeys::init()
{
    m_harness = std::make_unique<WindowHarness>();
    m_harness->storeGamePath();
    StartOptions options;
    options.exchange.reply = 5s;
    m_harness->start(options);
    m_field = m_harness->find<QLineEdit>("server_ip");
}

void TestAddressKeys::cleanup()
{
    m_harness.reset();
}

void TestAddressKeys::verifyFilter(bool colonUsed, int dotCount, int countNumbers)
{
    QCOMPARE(state().ColonUsed, colonUsed);
    QCOMPARE(state().DotCount, dotCount);
    QCOMPARE(state().CountNumbers, countNumbers);
}

void TestAddressKeys::typing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("colonUsed");
    QTest::addColumn<int>("dotCount");
    QTest::addColumn<int>("countNumbers");

    QTest::newRow("whole address") << "1.2.3.4:28960"
                                   << "1.2.3.4:28960" << true << 3 << 9;
    QTest::newRow("sixth port digit") << "1.2.3.4:289601"
                                      << "1.2.3.4:28960" << true << 3 << 9;
    QTest::newRow("fourth digit in an octet") << "1234.5"
                                              << "123.5" << false << 1 << 1;
    QTest::newRow("dot at the start") << ".1"
                                      << "1" << false << 0 << 1;
    QTest::newRow("second dot in a row") << "1..2"
                                         << "1.2" << false << 1 << 1;
    QTest::newRow("fourth dot") << "1.2.3.4.5"
                                << "1.2.3.45" << false << 3 << 2;
    QTest::newRow("colon before the third dot") << "1.2:3"
                                                << "1.23" << false << 1 << 2;
    QTest::newRow("colon right after a dot") << "1.2.3.:4"
                                             << "1.2.3.4" << false << 3 << 1;
    QTest::newRow("second colon") << "1.2.3.4::5"
                                  << "1.2.3.4:5" << true << 3 << 5;
    QTest::newRow("letters and blanks") << "a 1x"
                                        << "1" << false << 0 << 1;
}

void TestAddressKeys::typing()
{
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(bool, colonUsed);
    QFETCH(int, dotCount);
    QFETCH(int, countNumbers);
    QTest::keyClicks(m_field, typed);
    QCOMPARE(m_field->text(), text);
    verifyFilter(colonUsed, dotCount, countNumbers);
}

// The digit counter only goes back by one per Backspace, so the first octet can grow past three.
void TestAddressKeys::backspaceAdjustsTheFilterBeforeTheFieldDeletes()
{
    QTest::keyClicks(m_field, QStringLiteral("12.3"));
    QTest::keyClick(m_field, Qt::Key_Backspace);
    QTest::keyClick(m_field, Qt::Key_Backspace);
    QCOMPARE(m_field->text(), QStringLiteral("12"));
    verifyFilter(false, 0, 0);
    QTest::keyClicks(m_field, QStringLiteral("3456"));
    QCOMPARE(m_field->text(), QStringLiteral("12345"));

    QTest::keyClicks(m_field, QStringLiteral(".6.7.8:"));
    QTest::keyClick(m_field, Qt::Key_Backspace);
    verifyFilter(false, 3, 1);
    QTest::keyClick(m_field, Qt::Key_Backspace);
    QTest::keyClick(m_field, Qt::Key_Backspace);
    QCOMPARE(m_field->text(), QStringLiteral("12345.6.7"));
    verifyFilter(false, 2, 0);
}

void TestAddressKeys::backspaceOnAnEmptyField()
{
    QTest::keyClick(m_field, Qt::Key_Backspace);
    QCOMPARE(state().CountNumbers, -1);
    QTest::keyClick(m_field, Qt::Key_5);
    QCOMPARE(m_field->text(), QStringLiteral("5"));
    verifyFilter(false, 0, 1);
}

// Deleting with the Delete key raises no character, so the filter still counts three dots.
void TestAddressKeys::staleStateLetsAColonInUntilEnter()
{
    QTest::keyClicks(m_field, QStringLiteral("1.2.3.4"));
    m_field->selectAll();
    QTest::keyClick(m_field, Qt::Key_Delete);
    QCOMPARE(m_field->text(), QString());
    QTest::keyClick(m_field, Qt::Key_Colon);
    QCOMPARE(m_field->text(), QStringLiteral(":"));

    m_harness->dialogs.answerNext(Dialogs::Answer::Ok);
    QTest::keyClick(m_field, Qt::Key_Return);
    QCOMPARE(m_field->text(), QString());
    verifyFilter(false, 0, 0);
    QCOMPARE(m_harness->dialogs.texts(),
             QStringList{QStringLiteral("You must have a server ip address (ip:port)")});
    QVERIFY(m_harness->pinger.hosts.isEmpty());
}

void TestAddressKeys::controlKeysRefused_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Ctrl+X") << Qt::Key_X << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("Ctrl+Z") << Qt::Key_Z << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("Ctrl+Backspace")
        << Qt::Key_Backspace << Qt::KeyboardModifiers(Qt::ControlModifier);
    // Ctrl with Alt is AltGr, which types a character: no paste.
    QTest::newRow("AltGr+V") << Qt::Key_V
                             << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier);
}

void TestAddressKeys::controlKeysRefused()
{
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    QTest::keyClicks(m_field, QStringLiteral("1.22"));
    m_field->setSelection(1, 3);
    QTest::keyClick(m_field, key, modifiers);
    QCOMPARE(m_field->text(), QStringLiteral("1.22"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
    verifyFilter(false, 1, 2);
}

void TestAddressKeys::keysWithoutACharacterReachTheField()
{
    QTest::keyClicks(m_field, QStringLiteral("1.2.3.4"));
    QTest::keyClick(m_field, Qt::Key_Home);
    QTest::keyClick(m_field, Qt::Key_Right);
    QCOMPARE(m_field->cursorPosition(), 1);
    QTest::keyClick(m_field, Qt::Key_Delete);
    QCOMPARE(m_field->text(), QStringLiteral("12.3.4"));
    verifyFilter(false, 3, 1);
}

void TestAddressKeys::enterFiltersAgainAndQueries()
{
    FakeStatusServer server;
    server.answerNext({{kReply, {}, 50ms}});
    Brinemoor &window = m_harness->window();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    m_field->setFocus();
    m_field->setText(QStringLiteral(" x") + server.addressText() + QStringLiteral(" x"));
    QTest::keyClick(m_field, Qt::Key_Enter, Qt::KeypadModifier); // the keypad's, as Return
    QCOMPARE(m_field->text(), server.addressText());
    QCOMPARE(state().result, QStringLiteral("ok"));
    verifyFilter(true, 3, 4 + int(QString::number(server.port()).size()));
    QTRY_COMPARE(server.received.size(), 1);
    QTRY_VERIFY(state().ServerReady);
    // The window was disabled meanwhile: typing goes on where it was.
    QCOMPARE(QApplication::focusWidget(), m_field);
}

void TestAddressKeys::ctrlCCopiesTheWholeAddress()
{
    QTest::keyClicks(m_field, QStringLiteral("1.2.3.4:28960"));
    QTest::keyClick(m_field, Qt::Key_Home);
    QTest::keyClick(m_field, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1.2.3.4:28960"));
    QCOMPARE(m_field->text(), QStringLiteral("1.2.3.4:28960"));
}

void TestAddressKeys::ctrlVReplacesTheFieldAndQueries_data()
{
    QTest::addColumn<QString>("clipboard"); // "%1": the fake server's address
    QTest::addColumn<bool>("queried");
    QTest::addColumn<QString>("message");
    QTest::newRow("blank, address, blank and a letter") << " %1 x" << true << "";
    QTest::newRow("nothing acceptable")
        << "abc" << false << "You must have a server ip address (ip:port)";
}

void TestAddressKeys::ctrlVReplacesTheFieldAndQueries()
{
    QFETCH(QString, clipboard);
    QFETCH(bool, queried);
    QFETCH(QString, message);
    FakeStatusServer server;
    server.answerNext(kReply);
    QTest::keyClicks(m_field, QStringLiteral("9.9"));
    m_field->setCursorPosition(1);
    QGuiApplication::clipboard()->setText(
        clipboard.contains(u'%') ? clipboard.arg(server.addressText()) : clipboard);
    m_harness->dialogs.answerNext(Dialogs::Answer::Ok, message.isEmpty() ? 0 : 1);
    QTest::keyClick(m_field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_field->text(), queried ? server.addressText() : QString());
    QCOMPARE(m_harness->dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (queried) {
        QTRY_COMPARE(server.received.size(), 1);
        QTRY_VERIFY(state().ServerReady);
    }
    QCOMPARE(m_harness->pinger.hosts.size(), queried ? 1 : 0);
}

QTEST_MAIN(TestAddressKeys)
#include "tst_addresskeys.moc"
