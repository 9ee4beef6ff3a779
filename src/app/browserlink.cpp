// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/browserlink.h"

#include "app/bookmarkdelegate.h"
#include "app/bookmarklist.h"
#include "app/findservers.h"
#include "friends/friendalerts.h"
#include "launch/gamestart.h"
#include "servers/masterclient.h"
#include "servers/serverbrowser.h"
#include "servers/servercache.h"
#include "settings/appsettings.h"

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

BrowserLink::~BrowserLink()
{
    if (m_find)
        keepGeometry();
}

void BrowserLink::open()
{
    if (!m_find) {
        m_browser = new ServerBrowser(m_settings,
                                      {m_options.masters, m_options.sweep,
                                       [this](GameId game) { return played(game); },
                                       serverCacheFolder(), m_settings.browserGame()},
                                      this);
        ServerBrowser *browser = m_browser;
        connect(browser, &ServerBrowser::friendsEdited, this, &BrowserLink::friendsEdited);
        connect(browser, &ServerBrowser::serverAnswered, &m_alerts, &FriendAlerts::serverAnswered);
        connect(browser, &ServerBrowser::sweepEnded, &m_alerts, &FriendAlerts::refreshEnded);
        m_find = std::make_unique<FindServers>(m_dialogs, *browser);
        m_find->restoreGeometry(m_settings.browserGeometry());
        FindServers *find = m_find.get();
        connect(find, &FindServers::addBookmarkRequested, this, &BrowserLink::addBookmarkRequested);
        connect(find, &FindServers::joinRequested, this, &BrowserLink::joinRequested);
        connect(find, &FindServers::playedVersionChosen, this, &BrowserLink::showPlayed);
        connect(find, &FindServers::closed, this, &BrowserLink::keepGeometry);
    }
    m_find->open();
}

// Kept only when it changed, so that closing the browser seldom writes the store. A place that
// could not be kept is no loss worth a message.
void BrowserLink::keepGeometry()
{
    const QByteArray geometry = m_find->saveGeometry();
    if (geometry != m_settings.browserGeometry())
        m_settings.setBrowserGeometry(geometry);
}

PlayedVersion BrowserLink::played(GameId game)
{
    std::optional<int> &protocol = m_played[int(game)];
    if (!protocol) {
        protocol = chosenProtocol(gameOf(game), m_settings.protocol(game),
                                  game == GameId::Cod ? m_gamePath : m_settings.gamePath(game));
        m_bookmarks.delegate().setPlayedProtocols(m_played);
    }
    return {game, *protocol};
}

void BrowserLink::readFriends()
{
    if (m_browser)
        m_browser->readFriends();
}

void BrowserLink::joinListed(const QString &address)
{
    if (m_find)
        m_find->joinListed(address);
}

// The rows' marks and words say "other version" against the version chosen now.
void BrowserLink::showPlayed(PlayedVersion played)
{
    m_played[int(played.game)] = played.protocol;
    m_bookmarks.delegate().setPlayedProtocols(m_played);
    emit playedVersionChanged();
    m_bookmarks.viewport()->update();
}
