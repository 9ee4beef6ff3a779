// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's clan nickname step at start-up, and the help window's menu item.
#include "app/brinemoor.h"

#include "app/windowcontrols.h"
#include "clan/pagefetch.h"
#include "help/brinemoor_help.h"

#include <QNetworkAccessManager>

void Brinemoor::loadClanNicknames()
{
    const QString nickname = m_options.commandLine.mid(qstrlen(kNicknameSwitch));
    if (nickname.isEmpty())
        return;
    gullwing = named(new QNetworkAccessManager(this), "gullwing");
    // Any failed fetch leaves everything as a page without head and tail would.
    const std::optional<QString> page = fetchPage(*gullwing, clanNicknamePageUrl(clanHost()),
                                                  m_options.pageFetchTimeout);
    if (const auto entries = parseClanNicknamePage(page.value_or(QString()), nickname))
        showClanNicknames(*entries);
}

// The store's host, which only the user puts there, wins over the one built in.
QString Brinemoor::clanHost() const
{
    const QString stored = m_settings.clanHost();
    return stored.isEmpty() ? m_options.defaultClanHost : stored;
}

void Brinemoor::showClanNicknames(const ClanNicknames &entries)
{
    gullwingnicks = entries;
    if (!entries.found) {
        showMessage(clanMessage(kNicknameNotFound), Dialogs::Buttons::Ok, Dialogs::Icon::None);
        return;
    }
    setWindowTitle(windowTitle() + QStringLiteral(" (")
                   + entries.clanNicknames.value(*entries.found) + QStringLiteral(")"));
}

void Brinemoor::men_help_Click()
{
    if (!m_help) {
        m_help = new Brinemoor_Help(this);
        m_help->setWindowIcon(windowIcon());
    }
    m_help->exec();
}
