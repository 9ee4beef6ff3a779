// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/brinemoor_help.h"

#include "geo/country.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextDocument>

namespace {

constexpr char kHelpSource[] = QT_TRANSLATE_NOOP(
    "Brinemoor_Help",
    "Adding Servers to the list:\r\n"
    " - Click 'New'\r\n"
    " - Enter IP:Port and pass if required\r\n"
    " - Click on 'Get Details' or press enter\r\n"
    " - Press 'Save' (This adds the server to your list)\r\n"
    "\r\n"
    "Loading a Non listed Server:\r\n"
    " - Type in an IP:Port/Pass\r\n"
    " - Click 'Join Game'\r\n"
    "\r\n"
    "Loading a listed Server:\r\n"
    " a) Double Click on the Server in the list\r\n"
    " b) Single Click on the Server in the list, click 'Join Game'\r\n"
    "\r\n"
    "Need Help:\r\n"
    "email: help@brinemoor.example irc: irc.brinemoor.example #brinemoor\r\n");

// The IPFire Location data's licence, CC BY-SA 4.0, asks for its credit wherever it is passed on;
// the flags are in the public domain, credited all the same.
QString credits()
{
    return QCoreApplication::translate(
               "Brinemoor_Help",
               "Country data: IPFire Location via Debian's tor-geoipdb (%1), CC BY-SA 4.0")
               .arg(countryDataDate())
        + QStringLiteral("\r\n")
        + QCoreApplication::translate("Brinemoor_Help",
                                      "Flags: Debian's iso-flags-svg, public domain")
        + QStringLiteral("\r\n");
}

// In the user's language, once a translation is installed.
QString shownHelp()
{
    return QCoreApplication::translate("Brinemoor_Help", kHelpSource) + credits();
}

constexpr QSize kClientArea(321, 238);
constexpr qreal kSmallestPointSize = 6;
const QString kPlaceholder = QStringLiteral("Text1");

void paint(QWidget *widget, QPalette::ColorRole background, QPalette::ColorRole foreground,
           const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(background, Qt::black);
    palette.setColor(foreground, colour);
    widget->setPalette(palette);
}

} // namespace

const QString kHelpText = QString::fromLatin1(kHelpSource) + credits();

Brinemoor_Help::Brinemoor_Help(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Brinemoor_Help"));
    setWindowTitle(tr("Brinemoor - Help"));
    setModal(true);
    setFixedSize(kClientArea);
    setAutoFillBackground(true);
    paint(this, QPalette::Window, QPalette::WindowText, Qt::black);
    buildControls();
}

void Brinemoor_Help::buildControls()
{
    txt_help = new QPlainTextEdit(kPlaceholder, this);
    txt_help->setObjectName(QStringLiteral("txt_help"));
    txt_help->setGeometry(4, 4, 313, 233);
    txt_help->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txt_help->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txt_help->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txt_help->setWordWrapMode(QTextOption::WordWrap);
    txt_help->setFocusPolicy(Qt::ClickFocus);
    // No menu offering Paste, no drops: read-only covers the rest.
    txt_help->setContextMenuPolicy(Qt::NoContextMenu);
    txt_help->setAcceptDrops(false);
    txt_help->setAccessibleName(windowTitle());
    paint(txt_help, QPalette::Base, QPalette::Text, QColor(255, 255, 0));
    fitFont();
    txt_help->installEventFilter(this);

    // Lies beyond the right edge and is disabled, so it is never seen and never takes the focus.
    txt_hidden = new QLineEdit(kPlaceholder, this);
    txt_hidden->setObjectName(QStringLiteral("txt_hidden"));
    txt_hidden->setGeometry(323, 200, 6, 19);
    txt_hidden->setEnabled(false);
    paint(txt_hidden, QPalette::Base, QPalette::Text, Qt::black);
    setTabOrder(txt_help, txt_hidden);
}

// Without scroll bars a line below the field's bottom is lost, and with the toolkit's usual type
// the contact line ends up there: step the type down until the whole text fits.
void Brinemoor_Help::fitFont()
{
    QTextDocument layout;
    layout.setDocumentMargin(txt_help->document()->documentMargin());
    layout.setTextWidth(txt_help->contentsRect().width());
    layout.setPlainText(shownHelp());
    QFont font = txt_help->font();
    layout.setDefaultFont(font);
    while (layout.size().height() > txt_help->contentsRect().height()
           && font.pointSizeF() > kSmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        layout.setDefaultFont(font);
    }
    txt_help->setFont(font);
}

void Brinemoor_Help::showEvent(QShowEvent *event)
{
    // A window system's own show (after a minimise) is no new showing: the text stays as it is.
    if (!event->spontaneous())
        Form_Load();
    QDialog::showEvent(event);
    // The text takes the focus, so that a screen reader reads it and Escape reaches the window.
    activateWindow();
    txt_help->setFocus(Qt::ActiveWindowFocusReason);
}

void Brinemoor_Help::Form_Load()
{
    centreOnScreen();
    txt_help->setPlainText(shownHelp());
    txt_help->setReadOnly(true);
}

void Brinemoor_Help::centreOnScreen()
{
    const QScreen *target = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!target)
        return;
    const QRect area = target->geometry();
    const QSize outer = frameGeometry().size();
    move(area.left() + (area.width() - outer.width()) / 2,
         area.top() + (area.height() - outer.height()) / 2);
}

// Escape closes the window; no other key does anything.
void Brinemoor_Help::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel))
        reject();
    event->accept();
}

bool Brinemoor_Help::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == txt_help && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Cancel)) {
            reject();
            return true;
        }
        Q_FALLTHROUGH();
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        if (watched == txt_help) {
            // Accepting the override keeps shortcuts from acting on the key as well.
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
