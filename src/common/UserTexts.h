#pragma once
// Every message, prompt and status-line text the program shows, in one list, so that a text
// reads the same wherever it is used and the manual can be checked against all of them.
// "%1" and "%2" mark what is filled in (QString::arg); a CR separates the lines of a message.
// A new text is one more line in the list.

#include <QString>
#include <QStringList>

// clang-format off
#define TELMARIS_USER_TEXTS(X)                                                                    \
    /* The status line during a run. */                                                          \
    X(ModemResetStatus, "Modem-Reset")                                                           \
    X(ModemInitStatus, "Modem-Initialisierung")                                                  \
    X(RunningStatus, "Programmierung läuft ...")                                                 \
    X(LastAnswerStatus, "Letzte Modem-Antwort: »%1«")                                            \
    X(SuccessStatus, "Programmierung beendet")                                                   \
    X(ModemErrorStatus, "Das Modem hat einen Fehler gemeldet!")                                  \
    X(PortErrorStatus, "Modem-Problem!")                                                         \
    X(UserAbortStatus, "Programmabbruch durch Anwender!")                                        \
    X(PortFailureStatus, "Schnittstellen-Problem!")                                              \
    /* The status line otherwise, and the hints it shows for the control under the pointer. */  \
    X(OptionsPageStatus, "Bitte gewünschte Änderungen vornehmen")                                \
    X(ScriptPageStatus, "Bitte Skript bearbeiten oder abschicken")                               \
    X(ScriptNotSavedStatus, "Skript konnte nicht gespeichert werden!")                           \
    X(RunLogFailedStatus, "Das Protokoll konnte nicht geschrieben werden: %1")                    \
    X(ProgramButtonHint, "Programm an die Telefonanlage schicken bzw. Programmierung abbrechen") \
    X(HelpButtonHint, "Programmanleitung")                                                       \
    X(EndButtonHint, "Programm beenden")                                                         \
    X(InfoButtonHint, "Zusatzinfos")                                                             \
    X(EditorHint, "Editor für das aktuelle Telefonanlagen-Programm")                             \
    X(NameListHint, "Namensliste der Skripts - Doppelklicken für Editieren")                     \
    X(SliderHint, "Schnellauswahl eines Skripts")                                                \
    X(TabStripHint, "Auswahl der verschiedenen Skripts bzw. Zugang zu den Optionen")             \
    X(StatusLineHint, "Statuszeile")                                                             \
    X(PortNotUsableToolTip, "COM %1 lässt sich nicht öffnen; warum, steht auf der Seite "         \
                            "„Optionen“.")                                                        \
    /* Message boxes. */                                                                         \
    X(NoComPortsMessage, "Es sind keinerlei Com-Ports verfügbar.\rDas Programm bricht daher ab.") \
    X(CheckPortMessage, "Bitte überprüfen Sie die Port-Einstellung.")                            \
    X(NoUsablePortMessage, "Keine der Schnittstellen COM 1 bis COM 4 lässt sich öffnen. Die "      \
                           "Gründe stehen auf der Seite „Optionen“.")                             \
    /* Below the two texts above: where an unattended start tells why. */                      \
    X(NoComPortsReasonLine,                                                                      \
      "Warum, steht auf der Standardfehlerausgabe in der Zeile „COM%1 …“; „telmaris debug“ "     \
      "nennt dort die Gründe für alle vier Schnittstellen.")                                          \
    X(UnknownParameterMessage,                                                                   \
      "Telmaris wurde mit dem unbekannten Startparameter\r'%1' aufgerufen.\r\r"                  \
      "Für den AutoMode von Telmaris sind aber nur die\r"                                        \
      "Skriptnummern von 1 bis 100 zulässig oder die von \r"                                     \
      "Ihnen vergebenen Skriptnamen.\r\r"                                                        \
      "Der AutoMode wird daher abgebrochen und das \rProgramm beendet.")                         \
    X(PortUnavailableMessage, "Com-Port %1 ist nicht verfügbar.")                                \
    X(ModemErrorMessage,                                                                         \
      "Das Modem hat einen Befehl nicht verstanden - bitte Verbindung und Optionen prüfen.")    \
    X(PortErrorMessage, "Das Modem reagiert nicht - ist es eingeschaltet?")                      \
    X(NoAnswerMessage, "Das Modem hat nicht innerhalb von %1 Sekunden geantwortet.")             \
    X(NoAnswerOneSecondMessage, "Das Modem hat nicht innerhalb einer Sekunde geantwortet.")      \
    X(UserAbortMessage, "Das Skript wurde wunschgemäß abgebrochen.")                             \
    X(SignalStatus, "Programmabbruch durch Signal %1!")                                           \
    X(SignalMessage,                                                                             \
      "Das Skript wurde abgebrochen, weil das Programm beendet werden soll (Signal %1).")        \
    /* The second line below the fixed text when the line was lost or a dial failed. */        \
    X(LineLostLine,                                                                              \
      "Die Verbindung zum Modem ist unterbrochen (Kabel gezogen oder Modem ausgeschaltet).")     \
    X(NoDialtoneLine,                                                                            \
      "Das Modem hört keinen Wählton („NO DIALTONE“). Abhilfe: X0 (ohne Wählton wählen) in der " \
      "Modem-Initialisierung; die Vorgabe enthält es.")                                          \
    X(NoCarrierLine,                                                                             \
      "Das Modem hat keine Verbindung bekommen („NO CARRIER“). Abhilfe: einen eigenen "          \
      "Wählbefehl in einer MODEM-Zeile mit „;“ beenden, wie WÄHLE es tut, damit das Modem nach " \
      "dem Wählen nicht auf eine Datenverbindung wartet; sonst das Kabel zur Telefonanlage "     \
      "prüfen.")                                                                                 \
    X(NoAnswerLine,                                                                              \
      "Am anderen Ende hat niemand abgenommen („NO ANSWER“). Abhilfe: das „@“ (auf Stille "      \
      "warten) aus dem Wählbefehl nehmen oder die gewählte Nummer prüfen.")                      \
    /* The second line below the modem's ERROR: the command refused and what sent it. */        \
    X(RefusedCommandLine, "Abgelehnter Befehl: „%1“ (%2)")                                        \
    X(SuccessMessage, "Fertig! Das Programm wurde komplett abgeschickt.")                        \
    X(HelpNotFoundMessage, "Die Online-Hilfe konnte leider nicht gefunden werden ...")           \
    X(HelpSearchedLine,                                                                          \
      "Gesucht wurden „hilfe.htm“ und „index.htm“ in %1 und in %2. Abhilfe: „sudo apt-get "      \
      "install --reinstall telmaris“; bei einer Kopie ohne Installation gehören „hilfe.htm“ und " \
      "der Ordner „bilder“ neben das Programm.")                                                 \
    X(HelpNotHandedOverMessage,                                                               \
      "Die Hilfe-Datei konnte keinem Programm übergeben werden. Sie liegt hier:\r%1")         \
    X(ScriptNotSavedMessage, "Das Skript %1 konnte nicht gespeichert werden:\r%2")               \
    X(SettingsNotSavedMessage, "Die Einstellungen konnten nicht gespeichert werden:\r%1")        \
    X(CloseUnsavedQuestion,                                                                      \
      "%1 konnte nicht in %2 gespeichert werden:\r%3\r\rOhne Speichern beenden? Der geänderte "  \
      "Text geht dann verloren.")                                                                \
    X(OtherCopyQuestion,                                                                         \
      "%1 wurde inzwischen in %2 geändert, wohl von einem zweiten Telmaris.\r\rMit „Ja“ ersetzt " \
      "Ihr Text den dort gespeicherten. Mit „Nein“ bleibt der dort gespeicherte Text, und Ihrer " \
      "kommt in eine eigene Datei daneben.")                                                     \
    X(OtherCopyRescuedMessage,                                                                   \
      "Ihr Text steht jetzt in %2.\r%1 in %3 behält den Text des anderen Telmaris; der Editor "   \
      "zeigt ihn.")                                                                              \
    X(OtherCopyNotRescuedMessage,                                                                \
      "Ihr Text konnte nicht in eine eigene Datei geschrieben werden (%2). Damit er nicht "      \
      "verloren geht, ersetzt er den Text des anderen Telmaris; %1 ist gespeichert.")            \
    X(ScriptRescuedLine,                                                                         \
      "Telmaris: %1 konnte nicht in %2 gespeichert werden (%3). Der Text steht in %4.")          \
    X(ScriptNotRescuedLine,                                                                      \
      "Telmaris: %1 konnte weder in %2 gespeichert noch gerettet werden (%3). Der Text ist "     \
      "verloren.")                                                                               \
    X(SettingsNotReadMessage, "Die Einstellungsdatei konnte nicht gelesen werden:\r%1\r%2")      \
    X(SettingsKeptMessage,                                                                       \
      "Die Einstellungen und Skriptnamen wurden nicht gespeichert: Die Einstellungsdatei "       \
      "konnte beim Programmstart nicht gelesen werden und bleibt daher, wie sie ist.")          \
    X(NoRunLogYetMessage,                                                                        \
      "Das Protokoll %1 gibt es noch nicht: Es entsteht beim ersten Programmieren.")             \
    X(RunLogNotHandedOverMessage,                                                             \
      "Das Protokoll konnte keinem Programm übergeben werden. Es liegt hier:\r%1")            \
    X(TraceNotSavedMessage, "Die Liste konnte nicht gespeichert werden:\r%1")                     \
    X(TraceEmptyMessage, "Der Debugger enthält keine Zeilen; es gibt nichts zu speichern.")   \
    /* Reasons of the settings file's own, shown in the messages above. */                   \
    X(IsAFolderReason, "%1 ist ein Ordner.")                                                     \
    X(NotAFileReason, "%1 ist keine gewöhnliche Datei.")                                         \
    X(FolderNotCreatedReason, "Der Ordner %1 konnte nicht angelegt werden.")                     \
    /* Lines that will be skipped: the question before a run, an unattended run's warning. */    \
    X(MarkedLineEntry, "Zeile %1: %2")                                                           \
    X(MarkedLinesQuestion,                                                                       \
      "%1\r\rDie markierten Zeilen werden nicht gesendet. Trotzdem programmieren?")              \
    X(MarkedLineWarning, "Telmaris: Skript %1, Zeile %2 wird nicht gesendet: %3")                \
    /* A line whose command many modems refuse: the editor's note and the run log's. */       \
    X(LongCommandReason,                                                                      \
      "Diese Zeile wird gesendet, aber ihr Modembefehl ist %1 Zeichen lang (von „AT“ "        \
      "bis zum Zeilenende). Viele Modems nehmen höchstens 40 Zeichen an und antworten auf "   \
      "einen längeren Befehl mit ERROR.")                                                           \
    /* Lines on standard error where no window system can be reached. */                         \
    X(NeedsInputLine,                                                                            \
      "Telmaris: Skript %1 braucht eine Eingabe (EINGABE) und kann ohne grafische Oberfläche "   \
      "nicht laufen.")                                                                           \
    /* What an unattended run's failure line names before its message: script and port. */    \
    X(RunFailureTitle, "Skript %1, COM %2 (%3)")                                              \
    X(NamedRunFailureTitle, "Skript %1 »%2«, COM %3 (%4)")                                    \
    X(RunLogFailedLine, "Telmaris: Das Protokoll konnte nicht geschrieben werden: %1")          \
    X(NoDisplayLine,                                                                             \
      "Telmaris: Das Programmfenster braucht eine grafische Oberfläche, und hier ist keine "     \
      "erreichbar (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt). Ohne grafische Oberfläche "  \
      "läuft nur der AutoMode: telmaris Skriptnummer oder Skriptname.")                          \
    X(DisplayNotAnsweringLine,                                                                   \
      "Telmaris: Das Programmfenster braucht eine grafische Oberfläche, und hier ist keine "     \
      "erreichbar (DISPLAY=%1 antwortet nicht). Ohne grafische Oberfläche läuft nur der "        \
      "AutoMode: telmaris Skriptnummer oder Skriptname.")                                        \
    X(NoVisibleDesktopLine,                                                                      \
      "Telmaris: Das Programmfenster braucht eine grafische Oberfläche, und hier ist keine "     \
      "erreichbar (der Prozess läuft ohne angemeldeten Benutzer, etwa als geplante Aufgabe). "   \
      "Ohne grafische Oberfläche läuft nur der AutoMode: telmaris-cli Skriptnummer oder "        \
      "Skriptname.")                                                                             \
    X(NoToolkitTextsLine,                                                                        \
      "Telmaris: Die deutschen Texte der Qt-Bibliothek fehlen (%1 nicht gefunden), daher zeigen "\
      "Dialoge englische Schaltflächen. Abhilfe: das Paket qt6-translations-l10n installieren.") \
    X(NoToolkitTextsLineWindows,                                                                 \
      "Telmaris: Die deutschen Texte der Qt-Bibliothek fehlen (%1 nicht gefunden), daher zeigen "\
      "Dialoge englische Schaltflächen. Abhilfe: Telmaris neu installieren oder auspacken.")     \
    /* What "telmaris --help" prints on standard output. */                                   \
    X(UsageText,                                                                              \
      "Aufruf: telmaris [Skriptnummer | Skriptname | debug | --help | --version | --list]\r"  \
      "\r"                                                                                    \
      "Ohne Parameter öffnet sich das Programmfenster, mit debug dazu der Debugger.\r"        \
      "Mit einer Skriptnummer (1 bis 100) oder einem Skriptnamen läuft dieses Skript ohne\r"  \
      "Rückfrage (AutoMode), danach endet das Programm. Das geht auch ohne grafische\r"        \
      "Oberfläche.\r"                                                                          \
      "\r"                                                                                    \
      "  --help     zeigt diese Hilfe\r"                                                      \
      "  --version  zeigt die Version\r"                                                      \
      "  --list     listet die Skripte, die einen Namen oder einen Text haben:\r"             \
      "             Nummer, Tabulator, Name\r"                                                \
      "\r"                                                                                    \
      "Rückgabewerte:\r"                                                                      \
      "  0  normales Ende, oder der AutoMode-Lauf ist gelungen\r"                             \
      "  1  der AutoMode-Lauf ist fehlgeschlagen oder wurde abgebrochen\r"                    \
      "  2  unbekannter Startparameter, oder für das Programmfenster fehlt die\r"                \
      "     grafische Oberfläche\r"                                                           \
      "  3  keine serielle Schnittstelle ließ sich öffnen")                                   \
    /* Its last line: how a stop from outside ends an AutoMode run, on Unix and on Windows. */ \
    X(UsageStopStatusUnix,                                                                    \
      "  128 + Signal  der AutoMode-Lauf wurde durch SIGTERM, SIGINT oder SIGHUP beendet")    \
    X(UsageStopStatusWindows,                                                                 \
      "  0xC000013A  der AutoMode-Lauf wurde durch Strg+C, das Schließen der Konsole, "       \
      "Abmelden oder Herunterfahren beendet")                                                 \
    /* The modem test: its window, the answers it lists and its verdict. */                      \
    X(ModemTestTitle, "Telmaris – Modem testen")                                                 \
    X(ModemTestPortLine, "%1 (%2), %3 Baud")                                                     \
    X(ModemTestWaiting, "Das Modem wird gefragt ...")                                            \
    X(ModemTestNoAnswerLine, "(keine Antwort innerhalb von 3 Sekunden)")                         \
    X(ModemTestUnfinishedLine, "(keine abschließende Antwort innerhalb von 3 Sekunden)")         \
    X(ModemTestLineLostLine, "(die Verbindung ist abgebrochen)")                                 \
    X(ModemTestNotOpened, "Die Schnittstelle ließ sich nicht öffnen: %1")                        \
    X(ModemTestAnswered, "Das Modem antwortet.")                                                \
    X(ModemTestInfoError,                                                                        \
      "Auf %1 kam ERROR. Das ist bei manchen Modems normal: Diese Modems kennen die Abfrage "    \
      "nicht.")                                                                                  \
    X(ModemTestInfoMissing, "Auf %1 kam keine vollständige Antwort.")                            \
    X(ModemTestRejected,                                                                         \
      "Das Modem antwortet, lehnt aber schon „AT“ mit ERROR ab. Bitte das Modem aus- und "       \
      "wieder einschalten und den Test wiederholen.")                                            \
    X(ModemTestSilent, "Das Modem hat nicht geantwortet. Bitte prüfen:")                         \
    X(ModemTestGarbled,                                                                          \
      "Das Modem hat etwas gesendet, aber weder OK noch ERROR. Bitte prüfen:")                   \
    X(ModemTestLost,                                                                             \
      "Die Verbindung zum Modem ist während des Tests abgebrochen. Bitte prüfen:")               \
    X(ModemTestCheckPower, "– Ist das Modem eingeschaltet?")                                     \
    X(ModemTestCheckCable, "– Steckt das Kabel fest am Modem und am Computer?")                  \
    X(ModemTestCheckPort,                                                                        \
      "– Ist das Modem an %1 angeschlossen, oder an einer anderen Schnittstelle?")               \
    X(ModemTestCheckSpeed,                                                                       \
      "– Passt der Modem-Speed? Getestet wurde mit %1 Baud; unleserliche Zeichen sprechen für "  \
      "eine falsche Geschwindigkeit.")                                                           \
    X(ModemTestCheckQuiet,                                                                       \
      "– Hat das Modem seine Antworten abgeschaltet (Q1)? Ein Skript mit der Zeile "             \
      "„MODEM ATQ0 V1“ schaltet sie wieder ein.")                                                \
    X(ModemTestCheckVerbose,                                                                     \
      "– Antwortet das Modem mit Ziffern statt Worten (V0) oder schickt es die Befehle als "     \
      "Echo zurück (E1)? Telmaris braucht Antworten in Worten; ein Skript mit der Zeile "        \
      "„MODEM ATE0 V1“ stellt das Modem so ein.")                                                \
    /* The title of the boxes a script without a name shows (HINWEIS, DIALOG, EINGABE). */      \
    X(UnnamedScriptBoxTitle, "Telmaris - Skript %1")                                             \
    /* The input box for a script's name. */                                                    \
    X(RenameTitle, "Telmaris - Skriptnamen ändern")                                              \
    X(RenamePrompt, "Hier können Sie den Namen des Skripts %1 ändern: ")                        \
    X(NameWarningQuestion,                                                                       \
      "Mit dem Namen „%1“ für Skript %2 gilt im AutoMode:\r%3\r\rDen Namen trotzdem vergeben? "   \
      "Mit „Nein“ bleibt der bisherige Name.")                                                   \
    X(NameIsDebugWarning,                                                                        \
      "– „telmaris debug“ öffnet immer das Fenster mit dem Debugger; dieses Skript startet so "  \
      "nie.")                                                                                    \
    X(NameIsOptionWarning,                                                                       \
      "– Ein Name, der mit „-“ beginnt, sieht auf der Kommandozeile wie eine Option aus; "       \
      "starten Sie das Skript besser mit seiner Nummer %1.")                                    \
    X(NameTakenWarning,                                                                          \
      "– Skript %1 heißt schon „%2“; „telmaris %3“ startet immer das Skript mit der kleineren "   \
      "Nummer, Skript %4.")                                                                      \
    X(NameIsNumberWarning,                                                                       \
      "– „telmaris %1“ startet dann Skript %2 und nicht mehr Skript %3.")                        \
    X(NameBeginsWithNumberWarning,                                                               \
      "– Der Name beginnt mit der Zahl %1: Ein Aufruf, der den Namen nicht genau trifft, "       \
      "startet Skript %1.")                                                                      \
    /* The file box of the trace window's list. */                                              \
    X(TraceSaveTitle, "Debugger-Liste speichern")
// clang-format on

namespace telmaris::texts {

#define TELMARIS_DEFINE_TEXT(name, text) inline const QString name = QStringLiteral(text);
TELMARIS_USER_TEXTS(TELMARIS_DEFINE_TEXT)
#undef TELMARIS_DEFINE_TEXT

// All of the texts above, in their order.
inline QStringList all() {
#define TELMARIS_LIST_TEXT(name, text) name,
    return {TELMARIS_USER_TEXTS(TELMARIS_LIST_TEXT)};
#undef TELMARIS_LIST_TEXT
}

} // namespace telmaris::texts
