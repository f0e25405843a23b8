<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CAboutDialog</name>
    <message>
        <source>Write Me</source>
        <translation>Schreib mir</translation>
    </message>
    <message>
        <source>
A card game for four players in two partnerships,
played over a local network.</source>
        <translation>
Ein Kartenspiel für vier Spieler in zwei Partnerschaften,
gespielt im lokalen Netzwerk.</translation>
    </message>
    <message>
        <source>&amp;Ask me</source>
        <translation>&amp;Frag mich</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CAppSession</name>
    <message>
        <source>Kavrel Files (*.vsk)</source>
        <translation>Kavrel-Dateien (*.vsk)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>CBidPanelDialog</name>
    <message>
        <source>clubs</source>
        <translation>Kreuz</translation>
    </message>
    <message>
        <source>diamonds</source>
        <translation>Karo</translation>
    </message>
    <message>
        <source>hearts</source>
        <translation>Herz</translation>
    </message>
    <message>
        <source>spades</source>
        <translation>Pik</translation>
    </message>
    <message>
        <source>no trump</source>
        <translation>Ohne Trumpf</translation>
    </message>
    <message>
        <source>Bidding</source>
        <translation>Reizen</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>&amp;Bet</source>
        <translation>&amp;Bieten</translation>
    </message>
    <message>
        <source>&amp;Pass</source>
        <translation>&amp;Passen</translation>
    </message>
    <message>
        <source>&amp;Double</source>
        <translation>&amp;Kontra</translation>
    </message>
    <message>
        <source>&amp;ReDouble</source>
        <translation>&amp;Rekontra</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
</context>
<context>
    <name>CCardBackDialog</name>
    <message>
        <source>Select Card Back</source>
        <translation>Kartenrücken wählen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Faces:</source>
        <translation>&amp;Bilder:</translation>
    </message>
    <message>
        <source>Built-in</source>
        <translation>Eingebaut</translation>
    </message>
</context>
<context>
    <name>CLastTrickDialog</name>
    <message>
        <source>Last Trick</source>
        <translation>Letzter Stich</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>CMainMenu</name>
    <message>
        <source>&amp;Game</source>
        <translation>&amp;Spiel</translation>
    </message>
    <message>
        <source>Sco&amp;re	F9</source>
        <translation>&amp;Punktestand	F9</translation>
    </message>
    <message>
        <source>Display current game information.</source>
        <translation>Zeigt den Stand des laufenden Spiels.</translation>
    </message>
    <message>
        <source>Show Last &amp;Trick	F6</source>
        <translation>Letzten S&amp;tich zeigen	F6</translation>
    </message>
    <message>
        <source>Display last trick information.</source>
        <translation>Zeigt den letzten Stich.</translation>
    </message>
    <message>
        <source>&amp;AutoPlay	F7</source>
        <translation>&amp;Automatisch spielen	F7</translation>
    </message>
    <message>
        <source>Switch the Autoplay mode.</source>
        <translation>Schaltet das automatische Spielen ein oder aus.</translation>
    </message>
    <message>
        <source>De&amp;ck..</source>
        <translation>&amp;Kartenrücken..</translation>
    </message>
    <message>
        <source>Choose new deck back.</source>
        <translation>Wählt einen neuen Kartenrücken.</translation>
    </message>
    <message>
        <source>&amp;Save Current Game	Ctrl+S</source>
        <translation>Laufendes Spiel &amp;speichern	Strg+S</translation>
    </message>
    <message>
        <source>Save current game information.</source>
        <translation>Speichert das laufende Spiel.</translation>
    </message>
    <message>
        <source>&amp;Load Game	Ctrl+L</source>
        <translation>Spiel &amp;laden	Strg+L</translation>
    </message>
    <message>
        <source>Load saved game.</source>
        <translation>Lädt ein gespeichertes Spiel.</translation>
    </message>
    <message>
        <source>Undo	Ctrl+Z</source>
        <translation>Rückgängig	Strg+Z</translation>
    </message>
    <message>
        <source>Replay last deal.</source>
        <translation>Spielt die letzte Runde noch einmal.</translation>
    </message>
    <message>
        <source>Redo	Ctrl+Y</source>
        <translation>Wiederholen	Strg+Y</translation>
    </message>
    <message>
        <source>Skip replay this deal.</source>
        <translation>Überspringt die Wiederholung dieser Runde.</translation>
    </message>
    <message>
        <source>E&amp;xit	Alt+F4</source>
        <translation>&amp;Beenden	Alt+F4</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents</source>
        <translation>Beendet das Programm; fragt, ob das Spiel gespeichert werden soll</translation>
    </message>
    <message>
        <source>&amp;AutoPartner</source>
        <translation>&amp;Computerpartner</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Zeigt Programminformationen, Versionsnummer und Copyright</translation>
    </message>
    <message>
        <source>&amp;Fair Partners</source>
        <translation>&amp;Faire Partner</translation>
    </message>
    <message>
        <source>Let the computer partners and AutoPlay know only what their seat can know.</source>
        <translation>Computerpartner und AutoPlay wissen nur, was ihr Platz wissen kann.</translation>
    </message>
    <message>
        <source>&amp;Rules of Vesk	F1</source>
        <translation>&amp;Regeln von Vesk	F1</translation>
    </message>
    <message>
        <source>Show the rules of the game.</source>
        <translation>Zeigt die Spielregeln.</translation>
    </message>
    <message>
        <source>&amp;About Vesk...</source>
        <translation>Ü&amp;ber Vesk...</translation>
    </message>
</context>
<context>
    <name>CRulesDialog</name>
    <message>
        <source>Rules of Vesk</source>
        <translation>Regeln von Vesk</translation>
    </message>
</context>
<context>
    <name>CScoreSheetPainter</name>
    <message>
        <source>SCORE</source>
        <translation>STAND</translation>
    </message>
    <message>
        <source>WE</source>
        <translation>WIR</translation>
    </message>
    <message>
        <source>THEY</source>
        <translation>SIE</translation>
    </message>
    <message>
        <source>BID</source>
        <translation>GEBOT</translation>
    </message>
    <message>
        <source>POINTS</source>
        <translation>PUNKTE</translation>
    </message>
</context>
<context>
    <name>CSeatPanelDialog</name>
    <message>
        <source>Seats</source>
        <translation>Plätze</translation>
    </message>
    <message>
        <source>Seat %1</source>
        <translation>Platz %1</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
</context>
<context>
    <name>CSelectComputerDlg</name>
    <message>
        <source>Select Computer</source>
        <translation>Computer wählen</translation>
    </message>
    <message>
        <source>&amp;Computer</source>
        <translation>&amp;Computer</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>CVeskView</name>
    <message>
        <source>Show</source>
        <translation>Zeigen</translation>
    </message>
</context>
<context>
    <name>CWelcomeDlg</name>
    <message>
        <source>The Nuv Vesk Network</source>
        <translation>Das Nuv-Vesk-Netzwerk</translation>
    </message>
    <message>
        <source>Welcome to the Nuv vesk network.</source>
        <translation>Willkommen im Nuv-Vesk-Netzwerk.</translation>
    </message>
    <message>
        <source>What is your name?</source>
        <translation>Wie heißt du?</translation>
    </message>
    <message>
        <source>How do you want to play?</source>
        <translation>Wie möchtest du spielen?</translation>
    </message>
    <message>
        <source>I want to &amp;connect to another game</source>
        <translation>Ich möchte einem Spiel &amp;beitreten</translation>
    </message>
    <message>
        <source>I want to be &amp;dealer</source>
        <translation>Ich möchte &amp;Geber sein</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>Vesk</name>
    <message>
        <source>pass</source>
        <translation>weg</translation>
    </message>
    <message>
        <source>dbl</source>
        <translation>Ktr</translation>
    </message>
    <message>
        <source>rdbl</source>
        <translation>Re</translation>
    </message>
    <message>
        <source>You didn&apos;t finish current game.
Are you sure you want to quit?</source>
        <translation>Du hast das laufende Spiel nicht beendet.
Willst du wirklich aufhören?</translation>
    </message>
    <message>
        <source>You didn&apos;t finish current game.
Do you want to save the curreng game? </source>
        <translation>Du hast das laufende Spiel nicht beendet.
Möchtest du das laufende Spiel speichern?</translation>
    </message>
    <message>
        <source>An error occurred trying to send the message.</source>
        <translation>Beim Senden der Nachricht ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>Waiting for %s to move...</source>
        <translation>Warte auf den Zug von %s...</translation>
    </message>
    <message>
        <source>Play a %s.</source>
        <translation>Bitte %s spielen.</translation>
    </message>
    <message>
        <source>Select a card to play.</source>
        <translation>Wähle eine Karte zum Ausspielen.</translation>
    </message>
    <message>
        <source>Please choose anything to say.</source>
        <translation>Bitte sag etwas an.</translation>
    </message>
    <message>
        <source>Waiting for %s to say...</source>
        <translation>Warte auf die Ansage von %s...</translation>
    </message>
    <message>
        <source>The connection to the dealer was lost.</source>
        <translation>Die Verbindung zum Geber ist abgebrochen.</translation>
    </message>
    <message>
        <source>Free</source>
        <translation>Frei</translation>
    </message>
    <message>
        <source>Active Games</source>
        <translation>Laufende Spiele</translation>
    </message>
    <message>
        <source>Waiting Games</source>
        <translation>Wartende Spiele</translation>
    </message>
    <message>
        <source>Connection to Vesk Server Failed.</source>
        <translation>Die Verbindung zum Vesk-Server ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Vesk dealer could not use port %u: this user has no right to open ports below 1024.
Choose another port with the VESK_PORT environment variable or the --port option (every program at the table must use the same).</source>
        <translation>Der Vesk-Geber konnte Port %u nicht verwenden: Dieser Benutzer darf keine Ports unter 1024 öffnen.
Wähle einen anderen Port mit der Umgebungsvariablen VESK_PORT oder der Option --port (jedes Programm am Tisch muss denselben verwenden).</translation>
    </message>
    <message>
        <source>socket %u</source>
        <translation>socket %u</translation>
    </message>
    <message>
        <source>Vesk dealer already started on this PC.</source>
        <translation>Auf diesem Rechner läuft schon ein Vesk-Geber.</translation>
    </message>
    <message>
        <source>listen %u</source>
        <translation>listen %u</translation>
    </message>
    <message>
        <source>Socket error %u: Error in socket() routine.</source>
        <translation>Socket-Fehler %u: Fehler in der Routine socket().</translation>
    </message>
    <message>
        <source>Socket error %u: Error in setsockopt() routine.</source>
        <translation>Socket-Fehler %u: Fehler in der Routine setsockopt().</translation>
    </message>
    <message>
        <source>Socket error %u: Error in bind() routine.</source>
        <translation>Socket-Fehler %u: Fehler in der Routine bind().</translation>
    </message>
    <message>
        <source>Socket error %u: Error in %s routine.</source>
        <translation>Socket-Fehler %u: Fehler in der Routine %s.</translation>
    </message>
    <message>
        <source>bigger trump</source>
        <translation>einen höheren Trumpf</translation>
    </message>
    <message>
        <source>club</source>
        <translation>Kreuz</translation>
    </message>
    <message>
        <source>diamond</source>
        <translation>Karo</translation>
    </message>
    <message>
        <source>heart</source>
        <translation>Herz</translation>
    </message>
    <message>
        <source>Spade</source>
        <translation>Pik</translation>
    </message>
    <message>
        <source>The game was not saved: </source>
        <translation>Das Spiel wurde nicht gespeichert: </translation>
    </message>
</context>
</TS>
