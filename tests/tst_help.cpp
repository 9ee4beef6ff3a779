// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: its fixed text, its make-up, and its showing from the main window's menu.
#include "geo/country.h"
#include "help/brinemoor_help.h"
#include "windowharness.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

#include <functional>

namespace {

const QStringList kLines{
    "Adding Servers to the list:",
    " - Click 'New'",
    " - Enter IP:Port and pass if required",
    " - Click on 'Get Details' or press enter",
    " - Press 'Save' (This adds the server to your list)",
    "",
    "Loading a Non listed Server:",
    " - Type in an IP:Port/Pass",
    " - Click 'Join Game'",
    "",
    "Loading a listed Server:",
    " a) Double Click on the Server in the list",
    " b) Single Click on the Server in the list, click 'Join Game'",
    "",
    "Need Help:",
    "email: help@brinemoor.example irc: irc.brinemoor.example #brinemoor",
    QStringLiteral("Country data: IPFire Location via Debian's tor-geoipdb (%1), CC BY-SA 4.0")
        .arg(countryDataDate()),
    "Flags: Debian's iso-flags-svg, public domain",
};

// Runs `inspect` on the help window once it is up as the modal window, then closes it, so that the
// exec() that shows it returns. The poll goes on until the watcher goes: on Windows the keys
// simulated inside the modal loop take the loop's wake-up with them, and without a timer the
// closed window's loop would sleep until the window's next periodic refresh.
class ModalWatcher final
{
public:
    explicit ModalWatcher(std::function<void(Brinemoor_Help &)> inspect)
    {
        m_poll.setInterval(5);
        QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this, inspect] {
            auto *help = qobject_cast<Brinemoor_Help *>(QApplication::activeModalWidget());
            if (!help || seen > 0)
                return;
            ++seen;
            inspect(*help);
            help->close();
        });
        m_poll.start();
    }

    int seen = 0;

private:
    QTimer m_poll;
};

// What a showing of the help window looked like, and what the keys did to it.
struct Showing
{
    QString text;
    int blocks = 0;
    int linesOutOfSight = -1;
    bool lastBlockEmpty = false;
    QPoint centreOffset;
    bool modal = false;
    QWidget *parent = nullptr;
    qint64 iconKey = 0;
    bool textHasFocus = false;
    QString textAfterKeys;
    int caretAfterKeys = -1;
    bool selectedByKeys = true;
    int scrolledByKeys = -1;
    bool closedByEscape = false;
};

Showing inspect(Brinemoor_Help &help)
{
    auto *txt_help = help.findChild<QPlainTextEdit *>(QStringLiteral("txt_help"));
    Showing seen;
    seen.text = txt_help->toPlainText();
    seen.blocks = txt_help->blockCount();
    seen.lastBlockEmpty = txt_help->document()->lastBlock().text().isEmpty();
    seen.linesOutOfSight = txt_help->verticalScrollBar()->maximum();
    seen.centreOffset = help.frameGeometry().center() - help.screen()->geometry().center();
    seen.modal = help.isModal() && help.windowModality() == Qt::ApplicationModal;
    seen.parent = help.parentWidget();
    seen.iconKey = help.windowIcon().cacheKey();
    // Once the window system has made the help the active window.
    seen.textHasFocus = QTest::qWaitFor(
        [txt_help] { return QApplication::focusWidget() == txt_help; });

    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    const int caret = txt_help->textCursor().position();
    QTest::keyClicks(txt_help, QStringLiteral("abc 123"));
    for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Down,
                        Qt::Key_Right, Qt::Key_PageDown, Qt::Key_End})
        QTest::keyClick(txt_help, key);
    QTest::keyClick(txt_help, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(txt_help, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(txt_help, Qt::Key_Insert, Qt::ShiftModifier);
    txt_help->paste();
    seen.textAfterKeys = txt_help->toPlainText();
    seen.caretAfterKeys = txt_help->textCursor().position() - caret;
    seen.selectedByKeys = txt_help->textCursor().hasSelection();
    seen.scrolledByKeys = txt_help->verticalScrollBar()->value();
    // Through the window system, as a keyboard sends it, to whatever has the focus.
    QTest::keyClick(help.windowHandle(), Qt::Key_Escape);
    seen.closedByEscape = !help.isVisible();
    return seen;
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void helpTextHasEighteenCrLfLines();
    void makeUp();
    void shownFromTheMenuTwice();
};

void TestHelp::helpTextHasEighteenCrLfLines()
{
    // Every line, the last included, ends with CR LF; no other line break appears.
    QCOMPARE(kHelpText, kLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    QCOMPARE(kHelpText.count(u'\r'), 18);
    QCOMPARE(kHelpText.count(u'\n'), 18);
}

void TestHelp::makeUp()
{
    QWidget owner;
    Brinemoor_Help help(&owner);
    QCOMPARE(help.windowTitle(), QStringLiteral("Brinemoor - Help"));
    QCOMPARE(help.objectName(), QStringLiteral("Brinemoor_Help"));
    QCOMPARE(help.minimumSize(), QSize(321, 238));
    QCOMPARE(help.maximumSize(), QSize(321, 238));
    const Qt::WindowFlags flags = help.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(help.palette().color(QPalette::Window), QColor(Qt::black));

    auto *txt_help = help.findChild<QPlainTextEdit *>(QStringLiteral("txt_help"));
    QVERIFY(txt_help);
    QCOMPARE(txt_help->geometry(), QRect(4, 4, 313, 233));
    QCOMPARE(txt_help->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(txt_help->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(txt_help->contextMenuPolicy(), Qt::NoContextMenu);
    QVERIFY(!(txt_help->focusPolicy() & Qt::TabFocus));
    QCOMPARE(txt_help->palette().color(QPalette::Text), QColor(255, 255, 0));
    QCOMPARE(txt_help->palette().color(QPalette::Base), QColor(Qt::black));

    auto *txt_hidden = help.findChild<QLineEdit *>(QStringLiteral("txt_hidden"));
    QVERIFY(txt_hidden);
    QCOMPARE(txt_hidden->geometry(), QRect(323, 200, 6, 19));
    QVERIFY(!txt_hidden->isEnabled());
    QCOMPARE(txt_hidden->text(), QStringLiteral("Text1"));
    QVERIFY(txt_hidden->x() >= help.width());

    // Nothing but the two fields.
    QCOMPARE(help.findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size(), 2);
}

void TestHelp::shownFromTheMenuTwice()
{
    WindowHarness harness;
    harness.storeGamePath();
    Brinemoor &window = harness.start();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QList<Showing> showings;
    for (int round = 0; round < 2; ++round) {
        ModalWatcher watcher([&showings](Brinemoor_Help &help) {
            showings.append(inspect(help));
            // Moved away, so that the next showing has to centre it again.
            help.move(0, 0);
        });
        // The menu item first, then its key.
        if (round == 0) {
            harness.find<QAction>("men_help")->trigger();
        } else {
            // No window manager here to activate it once the help is gone. (The window counts as
            // active as long as the help, its transient child, holds the focus.)
            window.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), &window);
            QTest::keyClick(&window, Qt::Key_F1);
        }
        QCOMPARE(watcher.seen, 1);
    }

    const QString shown = kLines.join(u'\n') + u'\n';
    for (const Showing &seen : std::as_const(showings)) {
        QCOMPARE(seen.text, shown);
        QCOMPARE(seen.blocks, 19);
        QVERIFY(seen.lastBlockEmpty);
        QCOMPARE(seen.linesOutOfSight, 0);
        QVERIFY2(seen.centreOffset.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("off centre by %1, %2")
                                .arg(seen.centreOffset.x())
                                .arg(seen.centreOffset.y())));
        QVERIFY(seen.modal);
        QCOMPARE(seen.parent, &window);
        QCOMPARE(seen.iconKey, window.windowIcon().cacheKey());
        QVERIFY(seen.textHasFocus);
        QCOMPARE(seen.textAfterKeys, shown);
        QCOMPARE(seen.caretAfterKeys, 0);
        QVERIFY(!seen.selectedByKeys);
        QCOMPARE(seen.scrolledByKeys, 0);
        QVERIFY(seen.closedByEscape);
    }
    // One help window for the run.
    QCOMPARE(window.findChildren<Brinemoor_Help *>().size(), 1);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
