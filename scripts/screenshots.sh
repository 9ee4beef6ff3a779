#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the screenshots of the metainfo, resources/screenshots/main.png and findservers.png:
# build/brinemoor on Xvfb, in a network namespace of its own that has only loopback, against the
# fake master and game servers of scripts/fakeservers.py, with settings and cache in a scratch
# folder. Nothing can reach another machine. Needs Debian's xvfb, xdotool and imagemagick; build
# first (README, Install). Usage: scripts/screenshots.sh
set -eu
cd "$(dirname "$0")/.."
if [ -z "${BRINEMOOR_SHOTS_NETNS:-}" ]; then
    # Root makes a namespace; anyone else makes one inside a user namespace of their own.
    if [ "$(id -u)" = 0 ]; then flags=-n; else flags=-rn; fi
    BRINEMOOR_SHOTS_NETNS=1 exec unshare $flags "$0" "$@"
fi
ip link set lo up
# Echoes unanswered, the ping is each fake server's own delay rather than loopback's 0 ms.
echo 1 >/proc/sys/net/ipv4/icmp_echo_ignore_all 2>/dev/null || echo "echoes stay answered: pings read 0" >&2

scratch=$(mktemp -d)
pids=
trap 'kill $pids 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/config/Brinemoor" "$scratch/cache" "$scratch/tmp" "$scratch/game"
: >"$scratch/game/CoDMP.exe"
cat >"$scratch/config/Brinemoor/Brinemoor.ini" <<INI
[settings]
codpath=$scratch/game/CoDMP.exe
masters=127.0.0.2
masters_uo=127.0.0.2
masters_cod2=127.0.0.2
masters_cod4=127.0.0.2
protocol=1.1
friends=Kestrel, [1SK]*
notify=false

[Harbor Nights TDM]
ip=127.0.0.3:28960
password=

[Normandy Veterans]
ip=127.0.0.4:28960
password=

[Brecourt Bunker HQ]
ip=127.0.0.5:28960
password=

[Clan Match]
ip=127.0.0.7:28960
password=hunter2

[Pavlov House]
ip=127.0.0.11:28960
password=

[LAN party]
ip=127.0.0.30:28960
password=
INI

Xvfb :77 -screen 0 1400x900x24 -nolisten tcp >/dev/null 2>&1 & pids="$pids $!"
python3 scripts/fakeservers.py & pids="$pids $!"
sleep 1
export DISPLAY=:77 XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache" TMPDIR="$scratch/tmp"
unset DBUS_SESSION_BUS_ADDRESS
build/brinemoor & pids="$pids $!"
main=$(xdotool search --sync --onlyvisible --name '^Brinemoor')
sleep 4
# Named as its server is, so no "Update Server Name?" question: the first bookmark, selected: its status and players fill the window.
xdotool mousemove --window "$main" 60 72 click 1
sleep 2
mkdir -p resources/screenshots
import -window "$main" resources/screenshots/main.png
xdotool key ctrl+f
find=$(xdotool search --sync --onlyvisible --name '^Find Servers')
sleep 5
# The busiest server, selected: its players fill the pane on the right.
xdotool mousemove --window "$find" 100 66 click 1
sleep 1
import -window "$find" resources/screenshots/findservers.png
command -v optipng >/dev/null && optipng -quiet -o2 resources/screenshots/*.png
echo "resources/screenshots/main.png and findservers.png written"
