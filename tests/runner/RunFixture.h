#pragma once
// A whole run set up for a test: the modem simulator on a pseudo-terminal mapped to COM 2, a
// window that records, and a runner in trace mode.

#include "PtyModem.h"
#include "RecordingRunnerUi.h"
#include "runner/ScriptRunner.h"
#include "runner/Trace.h"

#include <QtTest>

namespace telmaris::test {

using modemsim::ModemOptions;

inline const QString Init = QStringLiteral("AT") + DefaultModemInit;
inline const QString Success = QStringLiteral("Fertig! Das Programm wurde komplett abgeschickt.");
inline const QString AbortText = QString::fromUtf8("Das Skript wurde wunschgemäß abgebrochen.");

// A box with the program's name as its title, as RecordingRunnerUi::messages lists it.
inline QString Critical(const QString &text) {
    return "[critical] Telmaris: " + text;
}

class RecordingTrace : public TraceSink {
public:
    QStringList lines;
    void AddTrace(const QString &line) override { lines << line; }
};

// One modem on COM 2, a window that records, a runner in trace mode.
struct Run {
    explicit Run(ModemOptions options = {}, const QString &script = {})
        : modem(options), ui(script), runner(ui, &trace) {
        ports.setDevice(2, modem.devicePath());
        settings.ComPort = 2;
        settings.ModemSpeed = 6; // 9600 baud
        ui.caret = 7;
    }
    RunOutcome go(bool autoMode = false) {
        return runner.SendSkript(settings, ports, QStringLiteral("Anlage"), autoMode);
    }
    QList<QByteArray> commands() { return modem.commands(); }

    PtyModem modem;
    RecordingRunnerUi ui;
    RecordingTrace trace;
    ScriptRunner runner;
    StartData settings;
    PortMap ports;
};

inline QList<QByteArray> Prepared(const QList<QByteArray> &lines, bool closingReset = true) {
    QList<QByteArray> all{"AT&F", Init.toLatin1()};
    all += lines;
    if (closingReset)
        all << "AT&F";
    return all;
}

// The window is idle again, the editor unlocked with its caret back where it was.
inline void VerifyIdleAgain(const RecordingRunnerUi &ui, const ScriptRunner &runner) {
    QVERIFY(!runner.Running());
    QVERIFY(!ui.locked);
    QVERIFY(!ui.running);
    QCOMPARE(ui.calls.mid(0, 2), (QStringList{"Lock", "Running"}));
    QCOMPARE(ui.calls.mid(ui.calls.size() - 4),
             (QStringList{"Unlock", "Caret 7", "Focus", "Idle"}));
    QCOMPARE(ui.selectionLength, 0);
}

} // namespace telmaris::test
