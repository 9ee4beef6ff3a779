// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/statusdisplay.h"

#include "query/statuscaptions.h"
#include "query/statusreply.h"

#include <QLabel>
#include <QListWidget>

StatusDisplay::StatusDisplay(Labels labels, QListWidget &playerList, QObject *parent)
    : QObject(parent),
      m_labels(labels),
      m_playerList(playerList)
{ }

void StatusDisplay::clear()
{
    m_labels.ping->setText(statusCaption(kPingNone));
    m_labels.players->setText(statusCaption(kPlayersNone));
    m_labels.type->setText(statusCaption(kTypeNone));
    m_labels.map->setText(statusCaption(kMapNone));
    m_labels.reserved->setText(statusCaption(kReservedNone));
    m_playerList.clear();
}

void StatusDisplay::queryStarted()
{
    m_playerList.clear();
    showPing(statusCaption(kPingNone), false);
    m_labels.players->setText(statusCaption(kPlayersNone));
    m_players = 0;
}

void StatusDisplay::showReply(const StatusReply &reply)
{
    const ReplyCaptions captions = replyCaptions(reply);
    m_labels.players->setText(captions.players);
    m_players = captions.playerCount;
    if (captions.type)
        m_labels.type->setText(*captions.type);
    if (captions.map)
        m_labels.map->setText(*captions.map);
    if (captions.reserved)
        m_labels.reserved->setText(*captions.reserved);
    m_playerList.addItems(reply.players);
}

void StatusDisplay::showRoundTrip(const QString &caption)
{
    showPing(caption, true);
}

void StatusDisplay::showTimeout()
{
    showPing(statusCaption(kPingTimeout), false);
}

void StatusDisplay::showPing(const QString &caption, bool roundTrip)
{
    m_labels.ping->setText(caption);
    m_roundTrip = roundTrip;
}
