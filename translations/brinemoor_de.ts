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
    <message>
        <source>Flags: Debian&apos;s iso-flags-svg, public domain</source>
        <translation>Flaggen: Debians iso-flags-svg, gemeinfrei</translation>
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
    <name>Country</name>
    <message>
        <source>LAN</source>
        <translation>LAN</translation>
    </message>
    <message>
        <source>Andorra</source>
        <translation>Andorra</translation>
    </message>
    <message>
        <source>United Arab Emirates</source>
        <translation>Vereinigte Arabische Emirate</translation>
    </message>
    <message>
        <source>Afghanistan</source>
        <translation>Afghanistan</translation>
    </message>
    <message>
        <source>Antigua and Barbuda</source>
        <translation>Antigua und Barbuda</translation>
    </message>
    <message>
        <source>Anguilla</source>
        <translation>Anguilla</translation>
    </message>
    <message>
        <source>Albania</source>
        <translation>Albanien</translation>
    </message>
    <message>
        <source>Armenia</source>
        <translation>Armenien</translation>
    </message>
    <message>
        <source>Netherlands Antilles</source>
        <translation>Niederländische Antillen</translation>
    </message>
    <message>
        <source>Angola</source>
        <translation>Angola</translation>
    </message>
    <message>
        <source>Asia/Pacific Region</source>
        <translation>Region Asien/Pazifik</translation>
    </message>
    <message>
        <source>Antarctica</source>
        <translation>Antarktis</translation>
    </message>
    <message>
        <source>Argentina</source>
        <translation>Argentinien</translation>
    </message>
    <message>
        <source>American Samoa</source>
        <translation>Amerikanisch-Samoa</translation>
    </message>
    <message>
        <source>Austria</source>
        <translation>Österreich</translation>
    </message>
    <message>
        <source>Australia</source>
        <translation>Australien</translation>
    </message>
    <message>
        <source>Aruba</source>
        <translation>Aruba</translation>
    </message>
    <message>
        <source>Åland Islands</source>
        <translation>Åland-Inseln</translation>
    </message>
    <message>
        <source>Azerbaijan</source>
        <translation>Aserbaidschan</translation>
    </message>
    <message>
        <source>Bosnia and Herzegovina</source>
        <translation>Bosnien und Herzegowina</translation>
    </message>
    <message>
        <source>Barbados</source>
        <translation>Barbados</translation>
    </message>
    <message>
        <source>Bangladesh</source>
        <translation>Bangladesch</translation>
    </message>
    <message>
        <source>Belgium</source>
        <translation>Belgien</translation>
    </message>
    <message>
        <source>Burkina Faso</source>
        <translation>Burkina Faso</translation>
    </message>
    <message>
        <source>Bulgaria</source>
        <translation>Bulgarien</translation>
    </message>
    <message>
        <source>Bahrain</source>
        <translation>Bahrain</translation>
    </message>
    <message>
        <source>Burundi</source>
        <translation>Burundi</translation>
    </message>
    <message>
        <source>Benin</source>
        <translation>Benin</translation>
    </message>
    <message>
        <source>Saint Barthélemy</source>
        <translation>Saint-Barthélemy</translation>
    </message>
    <message>
        <source>Bermuda</source>
        <translation>Bermuda</translation>
    </message>
    <message>
        <source>Brunei Darussalam</source>
        <translation>Brunei Darussalam</translation>
    </message>
    <message>
        <source>Bolivia</source>
        <translation>Bolivien</translation>
    </message>
    <message>
        <source>Bonaire, Sint Eustatius and Saba</source>
        <translation>Bonaire, Sint Eustatius und Saba</translation>
    </message>
    <message>
        <source>Brazil</source>
        <translation>Brasilien</translation>
    </message>
    <message>
        <source>Bahamas</source>
        <translation>Bahamas</translation>
    </message>
    <message>
        <source>Bhutan</source>
        <translation>Bhutan</translation>
    </message>
    <message>
        <source>Bouvet Island</source>
        <translation>Bouvet-Insel</translation>
    </message>
    <message>
        <source>Botswana</source>
        <translation>Botsuana</translation>
    </message>
    <message>
        <source>Belarus</source>
        <translation>Belarus</translation>
    </message>
    <message>
        <source>Belize</source>
        <translation>Belize</translation>
    </message>
    <message>
        <source>Canada</source>
        <translation>Kanada</translation>
    </message>
    <message>
        <source>Cocos (Keeling) Islands</source>
        <translation>Kokos-(Keeling-)Inseln</translation>
    </message>
    <message>
        <source>Congo, The Democratic Republic of the</source>
        <translation>Demokratische Republik Kongo</translation>
    </message>
    <message>
        <source>Central African Republic</source>
        <translation>Zentralafrikanische Republik</translation>
    </message>
    <message>
        <source>Congo</source>
        <translation>Kongo</translation>
    </message>
    <message>
        <source>Switzerland</source>
        <translation>Schweiz</translation>
    </message>
    <message>
        <source>Côte d&apos;Ivoire</source>
        <translation>Côte d&apos;Ivoire</translation>
    </message>
    <message>
        <source>Cook Islands</source>
        <translation>Cookinseln</translation>
    </message>
    <message>
        <source>Chile</source>
        <translation>Chile</translation>
    </message>
    <message>
        <source>Cameroon</source>
        <translation>Kamerun</translation>
    </message>
    <message>
        <source>China</source>
        <translation>China</translation>
    </message>
    <message>
        <source>Colombia</source>
        <translation>Kolumbien</translation>
    </message>
    <message>
        <source>Costa Rica</source>
        <translation>Costa Rica</translation>
    </message>
    <message>
        <source>Serbia and Montenegro</source>
        <translation>Serbien und Montenegro</translation>
    </message>
    <message>
        <source>Cuba</source>
        <translation>Kuba</translation>
    </message>
    <message>
        <source>Cabo Verde</source>
        <translation>Kap Verde</translation>
    </message>
    <message>
        <source>Curaçao</source>
        <translation>Curaçao</translation>
    </message>
    <message>
        <source>Christmas Island</source>
        <translation>Weihnachtsinseln</translation>
    </message>
    <message>
        <source>Cyprus</source>
        <translation>Zypern</translation>
    </message>
    <message>
        <source>Czechia</source>
        <translation>Tschechien</translation>
    </message>
    <message>
        <source>Germany</source>
        <translation>Deutschland</translation>
    </message>
    <message>
        <source>Djibouti</source>
        <translation>Dschibuti</translation>
    </message>
    <message>
        <source>Denmark</source>
        <translation>Dänemark</translation>
    </message>
    <message>
        <source>Dominica</source>
        <translation>Dominica</translation>
    </message>
    <message>
        <source>Dominican Republic</source>
        <translation>Dominikanische Republik</translation>
    </message>
    <message>
        <source>Algeria</source>
        <translation>Algerien</translation>
    </message>
    <message>
        <source>Ecuador</source>
        <translation>Ecuador</translation>
    </message>
    <message>
        <source>Estonia</source>
        <translation>Estland</translation>
    </message>
    <message>
        <source>Egypt</source>
        <translation>Ägypten</translation>
    </message>
    <message>
        <source>Western Sahara</source>
        <translation>Westsahara</translation>
    </message>
    <message>
        <source>Eritrea</source>
        <translation>Eritrea</translation>
    </message>
    <message>
        <source>Spain</source>
        <translation>Spanien</translation>
    </message>
    <message>
        <source>Ethiopia</source>
        <translation>Äthiopien</translation>
    </message>
    <message>
        <source>European Union</source>
        <translation>Europäische Union</translation>
    </message>
    <message>
        <source>Finland</source>
        <translation>Finnland</translation>
    </message>
    <message>
        <source>Fiji</source>
        <translation>Fidschi</translation>
    </message>
    <message>
        <source>Falkland Islands (Malvinas)</source>
        <translation>Falklandinseln (Malwinen)</translation>
    </message>
    <message>
        <source>Micronesia, Federated States of</source>
        <translation>Mikronesien, Föderierte Staaten von</translation>
    </message>
    <message>
        <source>Faroe Islands</source>
        <translation>Färöer-Inseln</translation>
    </message>
    <message>
        <source>France</source>
        <translation>Frankreich</translation>
    </message>
    <message>
        <source>Gabon</source>
        <translation>Gabun</translation>
    </message>
    <message>
        <source>United Kingdom</source>
        <translation>Vereinigtes Königreich</translation>
    </message>
    <message>
        <source>Grenada</source>
        <translation>Grenada</translation>
    </message>
    <message>
        <source>Georgia</source>
        <translation>Georgien</translation>
    </message>
    <message>
        <source>French Guiana</source>
        <translation>Französisch-Guyana</translation>
    </message>
    <message>
        <source>Guernsey</source>
        <translation>Guernsey</translation>
    </message>
    <message>
        <source>Ghana</source>
        <translation>Ghana</translation>
    </message>
    <message>
        <source>Gibraltar</source>
        <translation>Gibraltar</translation>
    </message>
    <message>
        <source>Greenland</source>
        <translation>Grönland</translation>
    </message>
    <message>
        <source>Gambia</source>
        <translation>Gambia</translation>
    </message>
    <message>
        <source>Guinea</source>
        <translation>Guinea</translation>
    </message>
    <message>
        <source>Guadeloupe</source>
        <translation>Guadeloupe</translation>
    </message>
    <message>
        <source>Equatorial Guinea</source>
        <translation>Äquatorialguinea</translation>
    </message>
    <message>
        <source>Greece</source>
        <translation>Griechenland</translation>
    </message>
    <message>
        <source>South Georgia and the South Sandwich Islands</source>
        <translation>South Georgia und die Südlichen Sandwichinseln</translation>
    </message>
    <message>
        <source>Guatemala</source>
        <translation>Guatemala</translation>
    </message>
    <message>
        <source>Guam</source>
        <translation>Guam</translation>
    </message>
    <message>
        <source>Guinea-Bissau</source>
        <translation>Guinea-Bissau</translation>
    </message>
    <message>
        <source>Guyana</source>
        <translation>Guyana</translation>
    </message>
    <message>
        <source>Hong Kong</source>
        <translation>Hongkong</translation>
    </message>
    <message>
        <source>Heard Island and McDonald Islands</source>
        <translation>Heard und McDonaldinseln</translation>
    </message>
    <message>
        <source>Honduras</source>
        <translation>Honduras</translation>
    </message>
    <message>
        <source>Croatia</source>
        <translation>Kroatien</translation>
    </message>
    <message>
        <source>Haiti</source>
        <translation>Haiti</translation>
    </message>
    <message>
        <source>Hungary</source>
        <translation>Ungarn</translation>
    </message>
    <message>
        <source>Indonesia</source>
        <translation>Indonesien</translation>
    </message>
    <message>
        <source>Ireland</source>
        <translation>Irland</translation>
    </message>
    <message>
        <source>Israel</source>
        <translation>Israel</translation>
    </message>
    <message>
        <source>Isle of Man</source>
        <translation>Insel Man</translation>
    </message>
    <message>
        <source>India</source>
        <translation>Indien</translation>
    </message>
    <message>
        <source>British Indian Ocean Territory</source>
        <translation>Britisches Territorium im Indischen Ozean</translation>
    </message>
    <message>
        <source>Iraq</source>
        <translation>Irak</translation>
    </message>
    <message>
        <source>Iran</source>
        <translation>Iran</translation>
    </message>
    <message>
        <source>Iceland</source>
        <translation>Island</translation>
    </message>
    <message>
        <source>Italy</source>
        <translation>Italien</translation>
    </message>
    <message>
        <source>Jersey</source>
        <translation>Jersey</translation>
    </message>
    <message>
        <source>Jamaica</source>
        <translation>Jamaika</translation>
    </message>
    <message>
        <source>Jordan</source>
        <translation>Jordanien</translation>
    </message>
    <message>
        <source>Japan</source>
        <translation>Japan</translation>
    </message>
    <message>
        <source>Kenya</source>
        <translation>Kenia</translation>
    </message>
    <message>
        <source>Kyrgyzstan</source>
        <translation>Kirgisistan</translation>
    </message>
    <message>
        <source>Cambodia</source>
        <translation>Kambodscha</translation>
    </message>
    <message>
        <source>Kiribati</source>
        <translation>Kiribati</translation>
    </message>
    <message>
        <source>Comoros</source>
        <translation>Komoren</translation>
    </message>
    <message>
        <source>Saint Kitts and Nevis</source>
        <translation>St. Kitts und Nevis</translation>
    </message>
    <message>
        <source>North Korea</source>
        <translation>Nordkorea</translation>
    </message>
    <message>
        <source>South Korea</source>
        <translation>Südkorea</translation>
    </message>
    <message>
        <source>Kuwait</source>
        <translation>Kuwait</translation>
    </message>
    <message>
        <source>Cayman Islands</source>
        <translation>Cayman-Inseln</translation>
    </message>
    <message>
        <source>Kazakhstan</source>
        <translation>Kasachstan</translation>
    </message>
    <message>
        <source>Laos</source>
        <translation>Laos</translation>
    </message>
    <message>
        <source>Lebanon</source>
        <translation>Libanon</translation>
    </message>
    <message>
        <source>Saint Lucia</source>
        <translation>St. Lucia</translation>
    </message>
    <message>
        <source>Liechtenstein</source>
        <translation>Liechtenstein</translation>
    </message>
    <message>
        <source>Sri Lanka</source>
        <translation>Sri Lanka</translation>
    </message>
    <message>
        <source>Liberia</source>
        <translation>Liberia</translation>
    </message>
    <message>
        <source>Lesotho</source>
        <translation>Lesotho</translation>
    </message>
    <message>
        <source>Lithuania</source>
        <translation>Litauen</translation>
    </message>
    <message>
        <source>Luxembourg</source>
        <translation>Luxemburg</translation>
    </message>
    <message>
        <source>Latvia</source>
        <translation>Lettland</translation>
    </message>
    <message>
        <source>Libya</source>
        <translation>Libyen</translation>
    </message>
    <message>
        <source>Morocco</source>
        <translation>Marokko</translation>
    </message>
    <message>
        <source>Monaco</source>
        <translation>Monaco</translation>
    </message>
    <message>
        <source>Moldova</source>
        <translation>Moldau</translation>
    </message>
    <message>
        <source>Montenegro</source>
        <translation>Montenegro</translation>
    </message>
    <message>
        <source>Saint Martin (French part)</source>
        <translation>Saint Martin (Französischer Teil)</translation>
    </message>
    <message>
        <source>Madagascar</source>
        <translation>Madagaskar</translation>
    </message>
    <message>
        <source>Marshall Islands</source>
        <translation>Marshallinseln</translation>
    </message>
    <message>
        <source>North Macedonia</source>
        <translation>Nordmazedonien</translation>
    </message>
    <message>
        <source>Mali</source>
        <translation>Mali</translation>
    </message>
    <message>
        <source>Myanmar</source>
        <translation>Myanmar</translation>
    </message>
    <message>
        <source>Mongolia</source>
        <translation>Mongolei</translation>
    </message>
    <message>
        <source>Macao</source>
        <translation>Macau</translation>
    </message>
    <message>
        <source>Northern Mariana Islands</source>
        <translation>Nördliche Marianen</translation>
    </message>
    <message>
        <source>Martinique</source>
        <translation>Martinique</translation>
    </message>
    <message>
        <source>Mauritania</source>
        <translation>Mauretanien</translation>
    </message>
    <message>
        <source>Montserrat</source>
        <translation>Montserrat</translation>
    </message>
    <message>
        <source>Malta</source>
        <translation>Malta</translation>
    </message>
    <message>
        <source>Mauritius</source>
        <translation>Mauritius</translation>
    </message>
    <message>
        <source>Maldives</source>
        <translation>Malediven</translation>
    </message>
    <message>
        <source>Malawi</source>
        <translation>Malawi</translation>
    </message>
    <message>
        <source>Mexico</source>
        <translation>Mexiko</translation>
    </message>
    <message>
        <source>Malaysia</source>
        <translation>Malaysia</translation>
    </message>
    <message>
        <source>Mozambique</source>
        <translation>Mosambik</translation>
    </message>
    <message>
        <source>Namibia</source>
        <translation>Namibia</translation>
    </message>
    <message>
        <source>New Caledonia</source>
        <translation>Neukaledonien</translation>
    </message>
    <message>
        <source>Niger</source>
        <translation>Niger</translation>
    </message>
    <message>
        <source>Norfolk Island</source>
        <translation>Norfolkinsel</translation>
    </message>
    <message>
        <source>Nigeria</source>
        <translation>Nigeria</translation>
    </message>
    <message>
        <source>Nicaragua</source>
        <translation>Nicaragua</translation>
    </message>
    <message>
        <source>Netherlands</source>
        <translation>Niederlande</translation>
    </message>
    <message>
        <source>Norway</source>
        <translation>Norwegen</translation>
    </message>
    <message>
        <source>Nepal</source>
        <translation>Nepal</translation>
    </message>
    <message>
        <source>Nauru</source>
        <translation>Nauru</translation>
    </message>
    <message>
        <source>Niue</source>
        <translation>Niue</translation>
    </message>
    <message>
        <source>New Zealand</source>
        <translation>Neuseeland</translation>
    </message>
    <message>
        <source>Oman</source>
        <translation>Oman</translation>
    </message>
    <message>
        <source>Panama</source>
        <translation>Panama</translation>
    </message>
    <message>
        <source>Peru</source>
        <translation>Peru</translation>
    </message>
    <message>
        <source>French Polynesia</source>
        <translation>Französisch-Polynesien</translation>
    </message>
    <message>
        <source>Papua New Guinea</source>
        <translation>Papua-Neuguinea</translation>
    </message>
    <message>
        <source>Philippines</source>
        <translation>Philippinen</translation>
    </message>
    <message>
        <source>Pakistan</source>
        <translation>Pakistan</translation>
    </message>
    <message>
        <source>Poland</source>
        <translation>Polen</translation>
    </message>
    <message>
        <source>Saint Pierre and Miquelon</source>
        <translation>St. Pierre und Miquelon</translation>
    </message>
    <message>
        <source>Pitcairn</source>
        <translation>Pitcairninseln</translation>
    </message>
    <message>
        <source>Puerto Rico</source>
        <translation>Puerto Rico</translation>
    </message>
    <message>
        <source>Palestine, State of</source>
        <translation>Palästina, Staat</translation>
    </message>
    <message>
        <source>Portugal</source>
        <translation>Portugal</translation>
    </message>
    <message>
        <source>Palau</source>
        <translation>Palau</translation>
    </message>
    <message>
        <source>Paraguay</source>
        <translation>Paraguay</translation>
    </message>
    <message>
        <source>Qatar</source>
        <translation>Katar</translation>
    </message>
    <message>
        <source>Réunion</source>
        <translation>Réunion</translation>
    </message>
    <message>
        <source>Romania</source>
        <translation>Rumänien</translation>
    </message>
    <message>
        <source>Serbia</source>
        <translation>Serbien</translation>
    </message>
    <message>
        <source>Russian Federation</source>
        <translation>Russische Föderation</translation>
    </message>
    <message>
        <source>Rwanda</source>
        <translation>Ruanda</translation>
    </message>
    <message>
        <source>Saudi Arabia</source>
        <translation>Saudi-Arabien</translation>
    </message>
    <message>
        <source>Solomon Islands</source>
        <translation>Salomoninseln</translation>
    </message>
    <message>
        <source>Seychelles</source>
        <translation>Seychellen</translation>
    </message>
    <message>
        <source>Sudan</source>
        <translation>Sudan</translation>
    </message>
    <message>
        <source>Sweden</source>
        <translation>Schweden</translation>
    </message>
    <message>
        <source>Singapore</source>
        <translation>Singapur</translation>
    </message>
    <message>
        <source>Saint Helena, Ascension and Tristan da Cunha</source>
        <translation>St. Helena, Ascension und Tristan da Cunha</translation>
    </message>
    <message>
        <source>Slovenia</source>
        <translation>Slowenien</translation>
    </message>
    <message>
        <source>Svalbard and Jan Mayen</source>
        <translation>Svalbard und Jan Mayen</translation>
    </message>
    <message>
        <source>Slovakia</source>
        <translation>Slowakei</translation>
    </message>
    <message>
        <source>Sierra Leone</source>
        <translation>Sierra Leone</translation>
    </message>
    <message>
        <source>San Marino</source>
        <translation>San Marino</translation>
    </message>
    <message>
        <source>Senegal</source>
        <translation>Senegal</translation>
    </message>
    <message>
        <source>Somalia</source>
        <translation>Somalia</translation>
    </message>
    <message>
        <source>Suriname</source>
        <translation>Suriname</translation>
    </message>
    <message>
        <source>South Sudan</source>
        <translation>Südsudan</translation>
    </message>
    <message>
        <source>Sao Tome and Principe</source>
        <translation>São Tomé und Príncipe</translation>
    </message>
    <message>
        <source>El Salvador</source>
        <translation>El Salvador</translation>
    </message>
    <message>
        <source>Sint Maarten (Dutch part)</source>
        <translation>Saint-Martin (Niederländischer Teil)</translation>
    </message>
    <message>
        <source>Syria</source>
        <translation>Syrien</translation>
    </message>
    <message>
        <source>Eswatini</source>
        <translation>Eswatini</translation>
    </message>
    <message>
        <source>Turks and Caicos Islands</source>
        <translation>Turks- und Caicosinseln</translation>
    </message>
    <message>
        <source>Chad</source>
        <translation>Tschad</translation>
    </message>
    <message>
        <source>French Southern Territories</source>
        <translation>Französische Süd- und Antarktisgebiete</translation>
    </message>
    <message>
        <source>Togo</source>
        <translation>Togo</translation>
    </message>
    <message>
        <source>Thailand</source>
        <translation>Thailand</translation>
    </message>
    <message>
        <source>Tajikistan</source>
        <translation>Tadschikistan</translation>
    </message>
    <message>
        <source>Tokelau</source>
        <translation>Tokelau</translation>
    </message>
    <message>
        <source>Timor-Leste</source>
        <translation>Timor-Leste</translation>
    </message>
    <message>
        <source>Turkmenistan</source>
        <translation>Turkmenistan</translation>
    </message>
    <message>
        <source>Tunisia</source>
        <translation>Tunesien</translation>
    </message>
    <message>
        <source>Tonga</source>
        <translation>Tonga</translation>
    </message>
    <message>
        <source>Türkiye</source>
        <translation>Türkei</translation>
    </message>
    <message>
        <source>Trinidad and Tobago</source>
        <translation>Trinidad und Tobago</translation>
    </message>
    <message>
        <source>Tuvalu</source>
        <translation>Tuvalu</translation>
    </message>
    <message>
        <source>Taiwan</source>
        <translation>Taiwan</translation>
    </message>
    <message>
        <source>Tanzania</source>
        <translation>Tansania</translation>
    </message>
    <message>
        <source>Ukraine</source>
        <translation>Ukraine</translation>
    </message>
    <message>
        <source>Uganda</source>
        <translation>Uganda</translation>
    </message>
    <message>
        <source>United States Minor Outlying Islands</source>
        <translation>Kleinere Amerikanische Überseeinseln</translation>
    </message>
    <message>
        <source>United States</source>
        <translation>Vereinigte Staaten</translation>
    </message>
    <message>
        <source>Uruguay</source>
        <translation>Uruguay</translation>
    </message>
    <message>
        <source>Uzbekistan</source>
        <translation>Usbekistan</translation>
    </message>
    <message>
        <source>Holy See (Vatican City State)</source>
        <translation>Heiliger Stuhl (Staat Vatikanstadt)</translation>
    </message>
    <message>
        <source>Saint Vincent and the Grenadines</source>
        <translation>St. Vincent und die Grenadinen</translation>
    </message>
    <message>
        <source>Venezuela</source>
        <translation>Venezuela</translation>
    </message>
    <message>
        <source>Virgin Islands, British</source>
        <translation>Britische Jungferninseln</translation>
    </message>
    <message>
        <source>Virgin Islands, U.S.</source>
        <translation>Amerikanische Jungferninseln</translation>
    </message>
    <message>
        <source>Vietnam</source>
        <translation>Vietnam</translation>
    </message>
    <message>
        <source>Vanuatu</source>
        <translation>Vanuatu</translation>
    </message>
    <message>
        <source>Wallis and Futuna</source>
        <translation>Wallis und Futuna</translation>
    </message>
    <message>
        <source>Samoa</source>
        <translation>Samoa</translation>
    </message>
    <message>
        <source>Yemen</source>
        <translation>Jemen</translation>
    </message>
    <message>
        <source>Mayotte</source>
        <translation>Mayotte</translation>
    </message>
    <message>
        <source>South Africa</source>
        <translation>Südafrika</translation>
    </message>
    <message>
        <source>Zambia</source>
        <translation>Sambia</translation>
    </message>
    <message>
        <source>Zimbabwe</source>
        <translation>Simbabwe</translation>
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
    <message>
        <source>Country</source>
        <translation>Land</translation>
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
