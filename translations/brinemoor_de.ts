<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AddressRules</name>
    <message>
        <source>You must have a server ip address (ip:port)</source>
        <translation>Bitte die IP-Adresse des Servers angeben (IP:Port)</translation>
    </message>
    <message>
        <source>You must have a server port with the ip (ip:port)</source>
        <translation>Bitte zur IP auch den Port des Servers angeben (IP:Port)</translation>
    </message>
    <message>
        <source>Invalid IP</source>
        <translation>Ungültige IP</translation>
    </message>
</context>
<context>
    <name>BookmarkMessages</name>
    <message>
        <source>No server name entered</source>
        <translation>Kein Servername eingegeben</translation>
    </message>
    <message>
        <source>invalid server name</source>
        <translation>Ungültiger Servername</translation>
    </message>
    <message>
        <source>Server Name already in use</source>
        <translation>Servername bereits vergeben</translation>
    </message>
    <message>
        <source>The server list could not be saved: %1</source>
        <translation>Die Serverliste konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The settings could not be read from %1. Brinemoor starts without the saved servers and game path, and leaves the file as it is.</source>
        <translation>Die Einstellungen konnten nicht aus %1 gelesen werden. Brinemoor startet ohne die gespeicherten Server und ohne Spielpfad und lässt die Datei, wie sie ist.</translation>
    </message>
</context>
<context>
    <name>BookmarkStatus</name>
    <message>
        <source>%1 players, ping %2</source>
        <translation>%1 Spieler, Ping %2</translation>
    </message>
    <message>
        <source>, map %1</source>
        <translation>, Map %1</translation>
    </message>
    <message>
        <source>, password required</source>
        <translation>, Passwort nötig</translation>
    </message>
    <message>
        <source>, full</source>
        <translation>, voll</translation>
    </message>
    <message>
        <source>version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>mod %1</source>
        <translation>Mod %1</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>abgelehnt</translation>
    </message>
    <message>
        <source>no reply</source>
        <translation>keine Antwort</translation>
    </message>
    <message>
        <source>, other version %1</source>
        <translation>, andere Version %1</translation>
    </message>
    <message>
        <source>not sent</source>
        <translation>nicht gesendet</translation>
    </message>
    <message>
        <source>bad address</source>
        <translation>ungültige Adresse</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%L1 ms</translation>
    </message>
    <message>
        <source>, another game: %1</source>
        <translation>, anderes Spiel: %1</translation>
    </message>
</context>
<context>
    <name>Brinemoor</name>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>IP:Port:</source>
        <translation>IP:Port:</translation>
    </message>
    <message>
        <source>IP:Port</source>
        <translation>IP:Port</translation>
    </message>
    <message>
        <source>Pass:</source>
        <translation>PW:</translation>
    </message>
    <message>
        <source>Pass</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>[ Server List ]</source>
        <translation>[ Serverliste ]</translation>
    </message>
    <message>
        <source>Server List</source>
        <translation>Serverliste</translation>
    </message>
    <message>
        <source>[ Server Options ]</source>
        <translation>[ Serveroptionen ]</translation>
    </message>
    <message>
        <source>[ Player List ]</source>
        <translation>[ Spielerliste ]</translation>
    </message>
    <message>
        <source>Player List</source>
        <translation>Spielerliste</translation>
    </message>
    <message>
        <source>By T. Marsh</source>
        <translation>Von T. Marsh</translation>
    </message>
    <message>
        <source>[ Quit ]</source>
        <translation>[ Beenden ]</translation>
    </message>
    <message>
        <source>[ New ]</source>
        <translation>[ Neu ]</translation>
    </message>
    <message>
        <source>[ Save ]</source>
        <translation>[ Speichern ]</translation>
    </message>
    <message>
        <source>[ Delete ]</source>
        <translation>[ Löschen ]</translation>
    </message>
    <message>
        <source>[ Get Details ]</source>
        <translation>[ Details ]</translation>
    </message>
    <message>
        <source>[ Join Game ]</source>
        <translation>[ Beitreten ]</translation>
    </message>
    <message>
        <source>[ Set Path ]</source>
        <translation>[ Spielpfad ]</translation>
    </message>
    <message>
        <source>[ Help Notes ]</source>
        <translation>[ Hilfe ]</translation>
    </message>
    <message>
        <source>[ Find ]</source>
        <translation>[ Suchen ]</translation>
    </message>
    <message>
        <source>Update Server Name?</source>
        <translation>Servernamen aktualisieren?</translation>
    </message>
    <message>
        <source>Please report this message: </source>
        <translation>Bitte diese Meldung weitergeben: </translation>
    </message>
    <message>
        <source>Tell me when N players...</source>
        <translation>Melden bei N Spielern...</translation>
    </message>
    <message>
        <source>Tell me when %1 has this many players (0: never):</source>
        <translation>Melden, wenn %1 so viele Spieler hat (0: nie):</translation>
    </message>
    <message>
        <source>Not a server address: %1</source>
        <translation>Keine Serveradresse: %1</translation>
    </message>
    <message>
        <source>Join %1?</source>
        <translation>%1 beitreten?</translation>
    </message>
    <message>
        <source>Join %1 (%2)?</source>
        <translation>%1 (%2) beitreten?</translation>
    </message>
    <message>
        <source>Brinemoor keeps running in the tray; Quit in its menu ends it.</source>
        <translation>Brinemoor läuft im Infobereich weiter; „Beenden“ in seinem Menü beendet es.</translation>
    </message>
</context>
<context>
    <name>Brinemoor_Help</name>
    <message>
        <source>Adding Servers to the list:<byte value="xd"/>
 - Click &apos;New&apos;<byte value="xd"/>
 - Enter IP:Port and pass if required<byte value="xd"/>
 - Click on &apos;Get Details&apos; or press enter<byte value="xd"/>
 - Press &apos;Save&apos; (This adds the server to your list)<byte value="xd"/>
<byte value="xd"/>
Loading a Non listed Server:<byte value="xd"/>
 - Type in an IP:Port/Pass<byte value="xd"/>
 - Click &apos;Join Game&apos;<byte value="xd"/>
<byte value="xd"/>
Loading a listed Server:<byte value="xd"/>
 a) Double Click on the Server in the list<byte value="xd"/>
 b) Single Click on the Server in the list, click &apos;Join Game&apos;<byte value="xd"/>
<byte value="xd"/>
Need Help:<byte value="xd"/>
email: help@brinemoor.example irc: irc.brinemoor.example #brinemoor<byte value="xd"/>
</source>
        <translation>Server zur Liste hinzufügen:<byte value="xd"/>
 - Auf &apos;Neu&apos; klicken<byte value="xd"/>
 - IP:Port und bei Bedarf Passwort eingeben<byte value="xd"/>
 - Auf &apos;Details&apos; klicken oder Enter drücken<byte value="xd"/>
 - &apos;Speichern&apos; drücken (nimmt den Server in die Liste auf)<byte value="xd"/>
<byte value="xd"/>
Einem nicht gelisteten Server beitreten:<byte value="xd"/>
 - IP:Port und Passwort eingeben<byte value="xd"/>
 - Auf &apos;Beitreten&apos; klicken<byte value="xd"/>
<byte value="xd"/>
Einem gelisteten Server beitreten:<byte value="xd"/>
 a) Doppelklick auf den Server in der Liste<byte value="xd"/>
 b) Einfacher Klick auf den Server in der Liste, dann &apos;Beitreten&apos;<byte value="xd"/>
<byte value="xd"/>
Hilfe:<byte value="xd"/>
E-Mail: help@brinemoor.example IRC: irc.brinemoor.example #brinemoor<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Brinemoor - Help</source>
        <translation>Brinemoor - Hilfe</translation>
    </message>
    <message>
        <source>Country data: IPFire Location via Debian&apos;s tor-geoipdb (%1), CC BY-SA 4.0</source>
        <translation>Länderdaten: IPFire Location über Debians tor-geoipdb (%1), CC BY-SA 4.0</translation>
    </message>
</context>
<context>
    <name>BrowserProgress</name>
    <message>
        <source>less than 1 min</source>
        <translation>weniger als 1 min</translation>
    </message>
    <message numerus="yes">
        <source>%n min</source>
        <translation>
            <numerusform>%Ln min</numerusform>
            <numerusform>%Ln min</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n h</source>
        <translation>
            <numerusform>%Ln h</numerusform>
            <numerusform>%Ln h</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n days</source>
        <translation>
            <numerusform>%Ln Tag</numerusform>
            <numerusform>%Ln Tage</numerusform>
        </translation>
    </message>
    <message>
        <source>from the cache, %1 old</source>
        <translation>aus dem Cache, %1 alt</translation>
    </message>
    <message numerus="yes">
        <source>from %n master</source>
        <translation>
            <numerusform>von %Ln Master</numerusform>
            <numerusform>von %Ln Mastern</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>from %n masters</source>
        <translation>
            <numerusform>von %Ln Master</numerusform>
            <numerusform>von %Ln Mastern</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n server</source>
        <translation>
            <numerusform>%Ln Server</numerusform>
            <numerusform>%Ln Server</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n servers</source>
        <translation>
            <numerusform>%Ln Server</numerusform>
            <numerusform>%Ln Server</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %n answered</source>
        <translation>
            <numerusform>, %Ln hat geantwortet</numerusform>
            <numerusform>, %Ln haben geantwortet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %n on the LAN</source>
        <translation>
            <numerusform>, %Ln im LAN</numerusform>
            <numerusform>, %Ln im LAN</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ClanNicknames</name>
    <message>
        <source>Nickname not found</source>
        <translation>Nickname nicht gefunden</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Keeps your favourite game servers, shows their live status and joins them.</source>
        <translation>Verwaltet Ihre bevorzugten Spielserver, zeigt ihren aktuellen Status und tritt ihnen bei.</translation>
    </message>
    <message>
        <source>switch</source>
        <translation>Schalter</translation>
    </message>
    <message>
        <source>/nick:&lt;nickname&gt; fetches the clan&apos;s nickname list at start-up and joins games under the in-game name it gives for &lt;nickname&gt;. /debug shows &quot;Launched game....&quot; instead of starting the game.</source>
        <translation>/nick:&lt;Nickname&gt; holt beim Start die Nickname-Liste des Clans und tritt Spielen unter dem Spielernamen bei, den sie für &lt;Nickname&gt; nennt. /debug zeigt „Spiel gestartet....“, statt das Spiel zu starten.</translation>
    </message>
    <message>
        <source>[/nick:&lt;nickname&gt; | /debug]</source>
        <translation>[/nick:&lt;Nickname&gt; | /debug]</translation>
    </message>
    <message>
        <source>Joins the server at HOST:PORT, after asking. A join link cod://HOST:PORT (with /?password=PW) does the same.</source>
        <translation>Tritt nach Rückfrage dem Server HOST:PORT bei. Ein Beitrittslink cod://HOST:PORT (mit /?password=PW) tut dasselbe.</translation>
    </message>
    <message>
        <source>Starts with the window hidden, the icon in the tray (shown when there is no tray).</source>
        <translation>Startet mit verborgenem Fenster, das Symbol im Infobereich (sichtbar, wenn es keinen Infobereich gibt).</translation>
    </message>
</context>
<context>
    <name>FindServers</name>
    <message>
        <source>%1 runs game version %2; your game is %3. Join anyway?</source>
        <translation>Auf %1 läuft Spielversion %2, Ihr Spiel ist %3. Trotzdem beitreten?</translation>
    </message>
    <message>
        <source>Password for %1:</source>
        <translation>Passwort für %1:</translation>
    </message>
    <message>
        <source>Find Servers</source>
        <translation>Server suchen</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Hide empty</source>
        <translation>Ohne leere</translation>
    </message>
    <message>
        <source>Hide full</source>
        <translation>Ohne volle</translation>
    </message>
    <message>
        <source>Hide locked</source>
        <translation>Ohne Passwort</translation>
    </message>
    <message>
        <source>Only my version</source>
        <translation>Nur meine Version</translation>
    </message>
    <message>
        <source>Friends only</source>
        <translation>Nur Freunde</translation>
    </message>
    <message>
        <source>Game version</source>
        <translation>Spielversion</translation>
    </message>
    <message>
        <source>Game version:</source>
        <translation>Spielversion:</translation>
    </message>
    <message>
        <source>Servers</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Spieler</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Ping</source>
        <translation>Ping</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Add to Bookmarks</source>
        <translation>Zu Lesezeichen hinzufügen</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>Beitreten</translation>
    </message>
    <message>
        <source>Friends</source>
        <translation>Freunde</translation>
    </message>
    <message>
        <source>Friend</source>
        <translation>Freund</translation>
    </message>
    <message>
        <source>Name or [TAG]*</source>
        <translation>Name oder [TAG]*</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>&amp;Friends:</source>
        <translation>&amp;Freunde:</translation>
    </message>
    <message>
        <source>%1 runs %2, not %3. Join anyway?</source>
        <translation>%1 läuft mit %2, nicht mit %3. Trotzdem beitreten?</translation>
    </message>
    <message>
        <source>Game</source>
        <translation>Spiel</translation>
    </message>
    <message>
        <source>Game:</source>
        <translation>Spiel:</translation>
    </message>
    <message>
        <source>LAN</source>
        <translation>LAN</translation>
    </message>
    <message>
        <source>Also look for servers on your own networks</source>
        <translation>Auch in den eigenen Netzwerken nach Servern suchen</translation>
    </message>
</context>
<context>
    <name>FriendActions</name>
    <message>
        <source>Add to Friends</source>
        <translation>Zu Freunden hinzufügen</translation>
    </message>
    <message>
        <source>Remove from Friends</source>
        <translation>Aus Freunden entfernen</translation>
    </message>
</context>
<context>
    <name>FriendAlerts</name>
    <message>
        <source>Join</source>
        <translation>Beitreten</translation>
    </message>
</context>
<context>
    <name>FriendList</name>
    <message>
        <source>friends: %1</source>
        <translation>Freunde: %1</translation>
    </message>
</context>
<context>
    <name>FriendWatch</name>
    <message>
        <source>%1 is playing</source>
        <translation>%1 spielt</translation>
    </message>
    <message>
        <source>%1 — %2 players</source>
        <translation>%1 — %2 Spieler</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %Ln weiterer</numerusform>
            <numerusform>und %Ln weitere</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>GamePath</name>
    <message>
        <source>Select %1</source>
        <translation>%1 auswählen</translation>
    </message>
</context>
<context>
    <name>JoinLink</name>
    <message>
        <source>Copy join link</source>
        <translation>Beitrittslink kopieren</translation>
    </message>
</context>
<context>
    <name>JoinMessages</name>
    <message>
        <source>Can not load game, no game path selected</source>
        <translation>Das Spiel kann nicht geladen werden, kein Spielpfad ausgewählt</translation>
    </message>
    <message>
        <source>Server full</source>
        <translation>Server voll</translation>
    </message>
    <message>
        <source>Server not responding</source>
        <translation>Server antwortet nicht</translation>
    </message>
    <message>
        <source>Launched game....</source>
        <translation>Spiel gestartet....</translation>
    </message>
    <message>
        <source>Join when a slot frees</source>
        <translation>Beitreten, sobald ein Platz frei wird</translation>
    </message>
    <message>
        <source> - waiting for a slot on </source>
        <translation> - Warten auf einen freien Platz bei </translation>
    </message>
    <message>
        <source>Can not load game, the game folder does not exist: </source>
        <translation>Das Spiel kann nicht geladen werden, der Spielordner existiert nicht: </translation>
    </message>
    <message>
        <source>Can not load game, wine is needed to run it and was not found</source>
        <translation>Das Spiel kann nicht geladen werden, es braucht Wine, und Wine wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Can not load game, it could not be started: </source>
        <translation>Das Spiel kann nicht geladen werden, es konnte nicht gestartet werden: </translation>
    </message>
    <message>
        <source>Can not load game, it stopped at once with exit status %1: %2</source>
        <translation>Das Spiel kann nicht geladen werden, es endete sofort mit Exit-Status %1: %2</translation>
    </message>
    <message>
        <source>Can not load game, it is a 32-bit Windows program and this Wine can not run 32-bit programs (wine32 is missing).

On Debian, install it as root with:
dpkg --add-architecture i386
apt-get update
apt-get install wine32:i386</source>
        <translation>Das Spiel kann nicht geladen werden, es ist ein 32-Bit-Windows-Programm, und dieses Wine kann keine 32-Bit-Programme ausführen (wine32 fehlt).

Unter Debian installieren Sie es als root mit:
dpkg --add-architecture i386
apt-get update
apt-get install wine32:i386</translation>
    </message>
</context>
<context>
    <name>ListRefresh</name>
    <message>
        <source>Refresh all</source>
        <translation>Alle aktualisieren</translation>
    </message>
</context>
<context>
    <name>MasterQuery</name>
    <message numerus="yes">
        <source>%n servers</source>
        <translation>
            <numerusform>%Ln Server</numerusform>
            <numerusform>%Ln Server</numerusform>
        </translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>keine Antwort</translation>
    </message>
    <message>
        <source>bad reply</source>
        <translation>fehlerhafte Antwort</translation>
    </message>
    <message>
        <source>name not found</source>
        <translation>Name nicht gefunden</translation>
    </message>
    <message>
        <source>not sent: </source>
        <translation>nicht gesendet: </translation>
    </message>
</context>
<context>
    <name>PlayerAlerts</name>
    <message>
        <source>%1: %2 players</source>
        <translation>%1: %2 Spieler</translation>
    </message>
</context>
<context>
    <name>QtDialogs</name>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
</context>
<context>
    <name>RecentServers</name>
    <message>
        <source>Recent servers</source>
        <translation>Zuletzt gespielte Server</translation>
    </message>
    <message>
        <source>(none yet)</source>
        <translation>(noch keine)</translation>
    </message>
    <message>
        <source>%1 — %2 ago</source>
        <translation>%1 — %2 her</translation>
    </message>
</context>
<context>
    <name>ServerBrowser</name>
    <message>
        <source>status queries: </source>
        <translation>Statusabfragen: </translation>
    </message>
    <message>
        <source>LAN: </source>
        <translation>LAN: </translation>
    </message>
</context>
<context>
    <name>ServerListModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Spieler</translation>
    </message>
    <message>
        <source>Ping</source>
        <translation>Ping</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Mod</source>
        <translation>Mod</translation>
    </message>
</context>
<context>
    <name>StatusCaptions</name>
    <message>
        <source>Players: 0/0 </source>
        <translation>Spieler: 0/0 </translation>
    </message>
    <message>
        <source>Ping: -</source>
        <translation>Ping: -</translation>
    </message>
    <message>
        <source>Players: 0/0</source>
        <translation>Spieler: 0/0</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Map:</source>
        <translation>Map:</translation>
    </message>
    <message>
        <source>Reserved Spaces: 0</source>
        <translation>Reservierte Plätze: 0</translation>
    </message>
    <message>
        <source>Ping: Timeout</source>
        <translation>Ping: Timeout</translation>
    </message>
    <message>
        <source>Ping: </source>
        <translation>Ping: </translation>
    </message>
    <message>
        <source>Players: </source>
        <translation>Spieler: </translation>
    </message>
    <message>
        <source>Type: </source>
        <translation>Typ: </translation>
    </message>
    <message>
        <source>Map: </source>
        <translation>Map: </translation>
    </message>
    <message>
        <source>Reserved Spaces: </source>
        <translation>Reservierte Plätze: </translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>1 friend playing</source>
        <translation>1 Freund spielt</translation>
    </message>
    <message>
        <source>%1 friends playing</source>
        <translation>%1 Freunde spielen</translation>
    </message>
    <message>
        <source>waiting for a slot on %1</source>
        <translation>wartet auf einen freien Platz auf %1</translation>
    </message>
    <message>
        <source>Find Servers</source>
        <translation>Server suchen</translation>
    </message>
    <message>
        <source>Start with the desktop</source>
        <translation>Mit der Arbeitsumgebung starten</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Hide Brinemoor</source>
        <translation>Brinemoor ausblenden</translation>
    </message>
    <message>
        <source>Show Brinemoor</source>
        <translation>Brinemoor anzeigen</translation>
    </message>
</context>
</TS>
