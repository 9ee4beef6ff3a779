#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fake Call of Duty servers for screenshots, on loopback only: a master on 127.0.0.2:20510 that
lists the game servers on 127.0.0.3 and up (port 28960), each answering "getstatus" with a
made-up status after a made-up ping. Runs until killed."""
import heapq
import random
import select
import socket
import time

HEADER = b"\xff\xff\xff\xff"
# name, map, game type, players, limit, protocol, password, mod
SERVERS = [
    ("^1Harbor ^7Nights ^3TDM", "mp_harbor", "tdm", 17, 20, 1, 0, ""),
    ("^4Normandy ^7Veterans", "mp_carentan", "sd", 9, 16, 1, 0, ""),
    ("^3Brecourt ^7Bunker ^1HQ", "mp_brecourt", "hq", 24, 24, 1, 0, ""),
    ("^2Old Guard ^7Retrieval", "mp_depot", "re", 5, 24, 1, 0, ""),
    ("^6Clan ^7Match", "mp_railyard", "sd", 10, 12, 1, 1, ""),
    ("^7Stalingrad ^1Winter ^7DM", "mp_stalingrad", "dm", 13, 32, 1, 0, ""),
    ("^5Dawnville ^7Snipers Only", "mp_dawnville", "tdm", 6, 16, 1, 0, "sniperonly"),
    ("^1Rocket ^7Base ^2Behind Enemy Lines", "mp_rocket", "bel", 0, 20, 1, 0, ""),
    ("^3Pavlov ^7House", "mp_pavlov", "tdm", 11, 28, 6, 0, ""),
    ("^7Chateau ^4Classic", "mp_chateau", "sd", 3, 14, 1, 0, ""),
    ("^2Hurtgen ^7Forest ^3Public", "mp_hurtgen", "tdm", 19, 26, 1, 0, ""),
    ("^7Bocage ^1Breakout", "mp_bocage", "re", 8, 20, 1, 0, "pam"),
]
NAMES = ["^1Kestrel", "[1SK]^3Marlowe", "[1SK]Tinker", "^5Dusty^7Boots", "Sgt. Pepper",
         "Lt.^1Winters", "Moonshine", "^2Fritz", "Ivanov", "Baker", "Rook^4ie", "Ghost",
         "^6Nightjar", "Sparrow", "^3Hopper", "Vasily", "Mad Jack", "^1Red^7Baron", "Dutch",
         "Pvt. Ryan", "^4Tommy", "Gunner", "^2Heidi", "Colonel^1K", "Otto", "^5Blue", "Smokey",
         "Nomad", "Bishop", "^3Kilroy", "Ace"]


def status(index, server):
    name, mapname, gametype, players, limit, protocol, password, mod = server
    rng = random.Random(index)
    keys = {"sv_hostname": name, "mapname": mapname, "g_gametype": gametype,
            "sv_maxclients": limit, "sv_privateClients": 2 if limit > 20 else 0,
            "protocol": protocol, "shortversion": "1.5" if protocol == 6 else "1.1",
            "pswrd": password, "fs_game": mod, "gamename": "Call of Duty"}
    text = "".join(f"\\{key}\\{value}" for key, value in keys.items() if value != "")
    lines = [f'{rng.randint(0, 60)} {rng.randint(20, 180)} "{player}"'
             for player in rng.sample(NAMES, players)]
    return HEADER + b"statusResponse\n" + "\n".join([text] + lines).encode("latin-1") + b"\n"


def main():
    sockets = {}
    master = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    master.bind(("127.0.0.2", 20510))
    for index, server in enumerate(SERVERS):
        game = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        game.bind((f"127.0.0.{3 + index}", 28960))
        sockets[game] = (status(index, server), 0.02 + 0.012 * index, server[5])
    due = []  # (time, tiebreak, socket, data, to): replies held back for their ping
    while True:
        timeout = max(0.0, due[0][0] - time.monotonic()) if due else None
        ready, _, _ = select.select([master, *sockets], [], [], timeout)
        for sock in ready:
            data, sender = sock.recvfrom(2048)
            if sock is master and data.startswith(HEADER + b"getservers "):
                protocol = int(data.split()[1])
                entries = b"".join(b"\\" + socket.inet_aton(s.getsockname()[0]) + (28960).to_bytes(2, "big")
                                   for s, (_, _, p) in sockets.items() if p == protocol)
                master.sendto(HEADER + b"getserversResponse\n\x00" + entries + b"\\EOF", sender)
            elif sock in sockets and data == HEADER + b"getstatus":
                reply, ping, _ = sockets[sock]
                heapq.heappush(due, (time.monotonic() + ping, id(data), sock, reply, sender))
        while due and due[0][0] <= time.monotonic():
            _, _, sock, reply, to = heapq.heappop(due)
            sock.sendto(reply, to)


if __name__ == "__main__":
    main()
