// SPDX-License-Identifier: GPL-3.0-or-later
// The address ranges of a local network: the one list of them that the country lookup and the
// master reply's checks share.
#pragma once

#include <QtGlobal>

enum class LocalNetwork { None, Private, Loopback, LinkLocal };

// Private (10/8, 172.16/12, 192.168/16), loopback (127/8) or link-local (169.254/16); None for
// every other address, the carriers' shared space 100.64/10 among them.
LocalNetwork localNetworkOf(quint32 ipv4);
