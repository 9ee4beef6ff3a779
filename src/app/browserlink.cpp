// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/browserlink.h"

#include "app/bookmarkdelegate.h"
#include "app/bookmarklist.h"
#include "app/findservers.h"
#include "friends/friendalerts.h"
#include "launch/gamestart.h"
#include "servers/masterclient.h"
#include "servers/servercache.h"
#include "settings/appsettings.h"

#include <QDir>
#include <QFileInfo>

BrowserLink::BrowserLink(Dialogs &dialogs, AppSettings &settings, const StartOptions &options,
                         const QString &gamePath, BookmarkList &bookmarks, FriendAlerts &alerts,
                         QObject *parent)
    : QObject(parent),
      m_dialogs(dialogs),
      m_settings(settings),
      m_options(options),
      m_gamePath(gamePath),
      m_bookmarks(bookmarks),
      m_alerts(alerts)
{ }

BrowserLink::~BrowserLink() = default;

void BrowserLink::open()
{
    if (!m_find) {
        const QStringList masters = mastersNamed(m_settings.masters());
        const QString cache = serverCachePath();
        m_find = std::make_unique<FindServers>(
            m_dialogs, m_settings,
            FindServersOptions{masters, gameProtocol(), m_options.masters, m_options.sweep, cache,
                               QFileInfo(cache).dir().filePath(QStringLiteral("findservers.ini"))});
        FindServers *find = m_find.get();
        connect(find, &FindServers::addBookmarkRequested, this, &BrowserLink::addBookmarkRequested);
        connect(find, &FindServers::joinRequested, this, &BrowserLink::joinRequested);
        connect(find, &FindServers::gameProtocolChanged, this, &BrowserLink::showGameProtocol);
        connect(find, &FindServers::friendsEdited, this, &BrowserLink::friendsEdited);
        connect(find, &FindServers::serverAnswered, &m_alerts, &FriendAlerts::serverAnswered);
        connect(find, &FindServers::sweepEnded, &m_alerts, &FriendAlerts::refreshEnded);
    }
    m_find->open();
}

int BrowserLink::gameProtocol()
{
    if (!m_gameProtocol) {
        m_gameProtocol = chosenProtocol(m_settings.protocol(), m_gamePath);
        m_bookmarks.delegate().setGameProtocol(*m_gameProtocol);
    }
    return *m_gameProtocol;
}

void BrowserLink::readFriends()
{
    if (m_find)
        m_find->readFriends();
}

void BrowserLink::joinListed(const QString &address)
{
    if (m_find)
        m_find->joinListed(address);
}

// The rows' marks and words say "other version" against the version chosen now.
void BrowserLink::showGameProtocol(int protocol)
{
    m_gameProtocol = protocol;
    m_bookmarks.delegate().setGameProtocol(protocol);
    emit gameProtocolChanged(protocol);
    m_bookmarks.viewport()->update();
}
