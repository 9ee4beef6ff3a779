#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fake game servers for screenshots, on loopback only: masters on 127.0.0.2 at each game's master
port (Call of Duty 20510, United Offensive 20610, Call of Duty 2 20710, Call of Duty 4 20810) that
list that game's servers on 127.0.0.3 and up (port 28960), each answering "getstatus" with a
made-up status after a made-up ping. Runs until killed."""
import heapq
import random
import select
import socket
import time

HEADER = b"\xff\xff\xff\xff"
# game: master port, gamename, the version of each protocol
GAMES = {
    "cod": (20510, "Call of Duty", {1: "1.1", 6: "1.5"}),
    "uo": (20610, "CoD:United Offensive", {22: "1.51"}),
    "cod2": (20710, "Call of Duty 2", {118: "1.3"}),
    "cod4": (20810, "Call of Duty 4", {6: "1.7"}),
}
# name, map, game type, players, limit, protocol, password, mod, game
SERVERS = [
    ("^1Harbor ^7Nights ^3TDM", "mp_harbor", "tdm", 17, 20, 1, 0, "", "cod"),
    ("^4Normandy ^7Veterans", "mp_carentan", "sd", 9, 16, 1, 0, "", "cod"),
    ("^3Brecourt ^7Bunker ^1HQ", "mp_brecourt", "hq", 24, 24, 1, 0, "", "cod"),
    ("^2Old Guard ^7Retrieval", "mp_depot", "re", 5, 24, 1, 0, "", "cod"),
    ("^6Clan ^7Match", "mp_railyard", "sd", 10, 12, 1, 1, "", "cod"),
    ("^7Stalingrad ^1Winter ^7DM", "mp_stalingrad", "dm", 13, 32, 1, 0, "", "cod"),
    ("^5Dawnville ^7Snipers Only", "mp_dawnville", "tdm", 6, 16, 1, 0, "sniperonly", "cod"),
    ("^1Rocket ^7Base ^2Behind Enemy Lines", "mp_rocket", "bel", 0, 20, 1, 0, "", "cod"),
    ("^3Pavlov ^7House", "mp_pavlov", "tdm", 11, 28, 6, 0, "", "cod"),
    ("^7Chateau ^4Classic", "mp_chateau", "sd", 3, 14, 1, 0, "", "cod"),
    ("^2Hurtgen ^7Forest ^3Public", "mp_hurtgen", "tdm", 19, 26, 1, 0, "", "cod"),
    ("^7Bocage ^1Breakout", "mp_bocage", "re", 8, 20, 1, 0, "pam", "cod"),
    ("^3Foy ^7Offensive", "mp_foy", "dom", 21, 32, 22, 0, "", "uo"),
    ("^1Arnhem ^7Tank Battle", "mp_arnhem", "ctf", 14, 24, 22, 0, "", "uo"),
    ("^2Sidi Rezegh ^7Base Assault", "mp_kharkov", "bas", 7, 20, 22, 0, "", "uo"),
    ("^4Toujane ^7Search & Destroy", "mp_toujane", "sd", 16, 20, 118, 0, "", "cod2"),
    ("^1Burgundy ^7Team DM", "mp_burgundy", "tdm", 22, 24, 118, 0, "", "cod2"),
    ("^3Carentan ^7Snipers", "mp_carentan", "tdm", 9, 16, 118, 0, "", "cod2"),
    ("^6Matmata ^7Promod", "mp_matmata", "sd", 10, 10, 118, 1, "promod", "cod2"),
    ("^5Crossfire ^7Hardcore", "mp_crossfire", "war", 18, 18, 6, 0, "", "cod4"),
    ("^2Crash ^7Domination", "mp_crash", "dom", 12, 24, 6, 0, "", "cod4"),
    ("^1Backlot ^7S&D 24/7", "mp_backlot", "sd", 5, 16, 6, 0, "", "cod4"),
]
NAMES = ["^1Kestrel", "[1SK]^3Marlowe", "[1SK]Tinker", "^5Dusty^7Boots", "Sgt. Pepper",
         "Lt.^1Winters", "Moonshine", "^2Fritz", "Ivanov", "Baker", "Rook^4ie", "Ghost",
         "^6Nightjar", "Sparrow", "^3Hopper", "Vasily", "Mad Jack", "^1Red^7Baron", "Dutch",
         "Pvt. Ryan", "^4Tommy", "Gunner", "^2Heidi", "Colonel^1K", "Otto", "^5Blue", "Smokey",
         "Nomad", "Bishop", "^3Kilroy", "Ace"]


def status(index, server):
    name, mapname, gametype, players, limit, protocol, password, mod, game = server
    _, gamename, versions = GAMES[game]
    rng = random.Random(index)
    keys = {"sv_hostname": name, "mapname": mapname, "g_gametype": gametype,
            "sv_maxclients": limit, "sv_privateClients": 2 if limit > 20 else 0,
            "protocol": protocol, "shortversion": versions[protocol],
            "pswrd": password, "fs_game": mod, "gamename": gamename}
    text = "".join(f"\\{key}\\{value}" for key, value in keys.items() if value != "")
    lines = [f'{rng.randint(0, 60)} {rng.randint(20, 180)} "{player}"'
             for player in rng.sample(NAMES, players)]
    return HEADER + b"statusResponse\n" + "\n".join([text] + lines).encode("latin-1") + b"\n"


def main():
    sockets = {}
    masters = {}
    for game, (port, _, _) in GAMES.items():
        master = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        master.bind(("127.0.0.2", port))
        masters[master] = game
    for index, server in enumerate(SERVERS):
        game = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        game.bind((f"127.0.0.{3 + index}", 28960))
        sockets[game] = (status(index, server), 0.02 + 0.012 * (index % 12), server[5], server[8])
    due = []  # (time, tiebreak, socket, data, to): replies held back for their ping
    while True:
        timeout = max(0.0, due[0][0] - time.monotonic()) if due else None
        ready, _, _ = select.select([*masters, *sockets], [], [], timeout)
        for sock in ready:
            data, sender = sock.recvfrom(2048)
            if sock in masters and data.startswith(HEADER + b"getservers "):
                protocol = int(data.split()[1])
                entries = b"".join(b"\\" + socket.inet_aton(s.getsockname()[0]) + (28960).to_bytes(2, "big")
                                   for s, (_, _, p, g) in sockets.items()
                                   if p == protocol and g == masters[sock])
                sock.sendto(HEADER + b"getserversResponse\n\x00" + entries + b"\\EOF", sender)
            elif sock in sockets and data == HEADER + b"getstatus":
                reply, ping, _, _ = sockets[sock]
                heapq.heappush(due, (time.monotonic() + ping, id(data), sock, reply, sender))
        while due and due[0][0] <= time.monotonic():
            _, _, sock, reply, to = heapq.heappop(due)
            sock.sendto(reply, to)


if __name__ == "__main__":
    main()
