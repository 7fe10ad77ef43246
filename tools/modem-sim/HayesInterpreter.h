#pragma once
// The command interpreter of a Hayes modem: takes one command line (without its CR) and tells
// what the modem answers. Holds the modem's switchable state (echo, result code form, quiet
// mode, S registers). Knows nothing of the line it is attached to.

#include <QByteArray>
#include <QList>
#include <array>

namespace telmaris::modemsim {

// The result codes a command line can end in. The verbose (V1) words and the numeric (V0)
// digits are those of resultWord() and resultNumber().
enum class ResultCode { None, Ok, Error, Busy, NoCarrier, NoDialtone, NoAnswer };

// The word a result code is sent as in verbose form (V1), e.g. "NO CARRIER"; empty for None.
QByteArray resultWord(ResultCode code);
// The number a result code is sent as in numeric form (V0), e.g. 3 for NO CARRIER; -1 for None.
int resultNumber(ResultCode code);

struct ModemProfile {
    bool echo = false;   // E1: characters received are sent back
    bool verbose = true; // V1: result codes as words, V0 as digits
};

struct HayesReply {
    // Text lines before the result (S register queries, identification, profile), each its own.
    QByteArray information;
    ResultCode result = ResultCode::None;
    bool dialled = false; // the line held a dial command
};

class HayesInterpreter {
public:
    explicit HayesInterpreter(ModemProfile profile = {});

    // The profile that &F and Z restore.
    void setProfile(ModemProfile profile);
    ModemProfile profile() const { return profile_; }

    bool echo() const { return current_.echo; }
    bool verbose() const { return current_.verbose; }
    bool quiet() const { return quiet_; }
    int sRegister(int n) const;

    // Ends every line sent with LF alone instead of CR LF, and a numeric result code with LF
    // instead of CR. Not part of the profile: &F and Z leave it as it is.
    void setLineFeedOnly(bool on) { lineFeedOnly_ = on; }
    bool lineFeedOnly() const { return lineFeedOnly_; }

    // Interprets one command line as received, without its CR. A line that is empty after
    // dropping control characters gets no answer; a line without the AT prefix gets ERROR.
    HayesReply interpret(const QByteArray &line);

    // The bytes a result code puts on the line in the current form (V0/V1); empty when quiet.
    QByteArray format(const HayesReply &reply) const;
    // The bytes a line of text of the modem's own (not a result code) puts on the line in the
    // current form, as information lines are sent.
    QByteArray formatLine(const QByteArray &text) const;

private:
    void reset();
    bool execute(const QByteArray &commands, HayesReply &reply);
    // What AT&V lists: the switchable settings and the S registers a script may use.
    QByteArray activeProfile() const;

    ModemProfile profile_;
    ModemProfile current_;
    bool quiet_ = false;
    bool lineFeedOnly_ = false;
    std::array<int, 256> registers_{};
};

} // namespace telmaris::modemsim
