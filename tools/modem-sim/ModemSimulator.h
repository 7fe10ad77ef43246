#pragma once
// A Hayes modem on a pseudo-terminal. The program under test opens the slave device
// (slavePath()) as its serial port; the simulator reads the commands from the master side,
// answers them with result codes and records every command it received.

#include "HayesInterpreter.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace telmaris::modemsim {

struct ModemOptions {
    bool busy = false;     // dial commands answer BUSY instead of OK
    QByteArray errorOn;    // any command containing this text (any letter case) answers ERROR
    bool silent = false;   // never answers, not even an echo
    bool echo = false;     // echo on at start and after &F / Z
    bool numeric = false;  // numeric result codes (V0) at start and after &F / Z
    int dropAfter = 0;     // the line goes away on receiving this command (1 = the first); 0 never
    int answerDelayMs = 0; // answers leave this long after the command's CR
    // What dial commands answer instead of OK, e.g. NoCarrier; busy, when set, takes precedence.
    ResultCode dialResult = ResultCode::Ok;
    // When not empty, this text follows every result code as a line of its own, in the same
    // write, as RING does when a call comes in while the modem answers a command.
    QByteArray unsolicited;
    bool lfOnly = false; // lines end in LF alone instead of CR LF, numeric codes in LF, not CR
};

struct ReceivedCommand {
    QByteArray text; // the bytes before the CR, exactly as received
    QDateTime time;  // when its CR arrived, to the millisecond
};

class ModemSimulator : public QObject {
    Q_OBJECT
public:
    explicit ModemSimulator(ModemOptions options = {}, QObject *parent = nullptr);
    ~ModemSimulator() override;

    // Opens the pseudo-terminal. False with errorString() when the system refuses.
    bool start();
    QString errorString() const { return error_; }
    bool isRunning() const { return master_ >= 0; }

    // The device the program opens, e.g. /dev/pts/4.
    QString slavePath() const { return slavePath_; }
    // Makes path a symbolic link to the device (replacing an older link there); the link is
    // removed again when the line goes away or the simulator ends.
    bool createLink(const QString &path);
    QString linkPath() const { return linkPath_; }

    // Appends every command to this file from now on, one line each: time stamp, blank, command.
    bool setLogFile(const QString &path);

    ModemOptions options() const { return options_; }
    void setBusy(bool on) { options_.busy = on; }
    void setDialResult(ResultCode code) { options_.dialResult = code; }
    void setUnsolicited(const QByteArray &text) { options_.unsolicited = text; }
    void setLfOnly(bool on);
    void setErrorOn(const QByteArray &text) { options_.errorOn = text; }
    void setSilent(bool on) { options_.silent = on; }
    void setEcho(bool on);
    void setNumeric(bool on);
    void setDropAfter(int commands) { options_.dropAfter = commands; }
    void setAnswerDelay(int ms) { options_.answerDelayMs = ms; }

    const QList<ReceivedCommand> &commands() const { return commands_; }
    // Just the texts of commands(), for comparing with what a test expects.
    QList<QByteArray> commandTexts() const;
    void clearCommands() { commands_.clear(); }
    // Everything received since the start, CRs and all.
    QByteArray received() const { return received_; }

    const HayesInterpreter &interpreter() const { return interpreter_; }

    // Puts bytes on the line as they are, e.g. garbage or an answer split anywhere.
    void sendRaw(const QByteArray &bytes);
    // Closes the line at once, as when a USB modem is pulled out: the device vanishes.
    void dropLine();

signals:
    void commandReceived(const QByteArray &command);
    void lineDropped();

private:
    void onReadable();
    void onWritable();
    void handleCommand(const QByteArray &line);
    void answer(const QByteArray &bytes);
    void flushOutput();
    void closeMaster();
    void removeLink();

    ModemOptions options_;
    HayesInterpreter interpreter_;
    int master_ = -1;
    int slave_ = -1; // kept open so the master never sees a hang-up while the program is away
    QString slavePath_;
    QString linkPath_;
    QString logPath_;
    QString error_;
    QSocketNotifier *readNotifier_ = nullptr;
    QSocketNotifier *writeNotifier_ = nullptr;
    QByteArray line_;
    bool lineOverflow_ = false;
    QByteArray output_;
    QByteArray received_;
    QList<ReceivedCommand> commands_;
};

} // namespace telmaris::modemsim
