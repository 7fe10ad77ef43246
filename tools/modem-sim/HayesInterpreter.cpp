#include "HayesInterpreter.h"

namespace telmaris::modemsim {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads an optional decimal number at pos; no digits read as 0, like a modem does.
int readNumber(const QByteArray &text, qsizetype &pos) {
    int value = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        value = value * 10 + (text[pos] - '0');
        if (value > 9999)
            value = 9999;
        ++pos;
    }
    return value;
}

bool isDialCharacter(char c) {
    return isDigit(c) || QByteArrayView("*#,!;W@PT ").contains(c);
}

// The largest value each single-letter setting takes.
int largestSetting(char command) {
    switch (command) {
    case 'E':
    case 'V':
    case 'Q':
    case 'H':
    case 'Z':
        return 1;
    case 'M':
    case 'L':
        return 3;
    case 'X':
        return 4;
    default:
        return -1;
    }
}

// Factory values of the registers a script might ask for.
void factoryRegisters(std::array<int, 256> &registers) {
    registers.fill(0);
    registers[2] = 43; // escape character '+'
    registers[3] = 13; // CR
    registers[4] = 10; // LF
    registers[5] = 8;  // backspace
    registers[6] = 2;
    registers[7] = 50;
    registers[8] = 2;
    registers[10] = 14;
}

// What ATI0 to ATI7 answer: the identification lines a modem gives about itself. None of them
// ends in a word that a program takes for a result code.
const char *const Identification[] = {
    "56000",                                      // I0: product code
    "255",                                        // I1: checksum of the firmware
    "ROM CHECK PASSED",                           // I2: self test
    "Telmaris Modem-Simulator V1.0",              // I3: product name and version
    "Hayes-compatible, V.250 commands",           // I4: description
    "Country code 3D (Germany)",                  // I5: country setting
    "Line: pseudo-terminal, no telephone",        // I6: line and chip set
    "Options: tone and pulse dialling, S0-S255"}; // I7: configuration

// The answers of the V.250 identification commands AT+GMI, AT+GMM and AT+GMR.
QByteArray extendedInformation(const QByteArray &name) {
    if (name == "GMI")
        return "Telmaris project";
    if (name == "GMM")
        return "Modem-Simulator";
    if (name == "GMR")
        return "1.0";
    return {};
}

} // namespace

HayesInterpreter::HayesInterpreter(ModemProfile profile) : profile_(profile) {
    reset();
}

void HayesInterpreter::setProfile(ModemProfile profile) {
    profile_ = profile;
    current_ = profile;
}

int HayesInterpreter::sRegister(int n) const {
    return n >= 0 && n < int(registers_.size()) ? registers_[size_t(n)] : -1;
}

void HayesInterpreter::reset() {
    current_ = profile_;
    quiet_ = false;
    factoryRegisters(registers_);
}

HayesReply HayesInterpreter::interpret(const QByteArray &line) {
    QByteArray text;
    text.reserve(line.size());
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 8) {
            text.chop(1); // backspace edits the line as it is typed
        } else if (byte >= 32) {
            text.append(c);
        }
    }
    HayesReply reply;
    if (text.trimmed().isEmpty())
        return reply;
    const QByteArray upper = text.toUpper();
    if (!upper.startsWith("AT")) {
        reply.result = ResultCode::Error;
        return reply;
    }
    reply.result = execute(upper.mid(2), reply) ? ResultCode::Ok : ResultCode::Error;
    return reply;
}

bool HayesInterpreter::execute(const QByteArray &commands, HayesReply &reply) {
    qsizetype pos = 0;
    while (pos < commands.size()) {
        const char command = commands[pos++];
        if (command == ' ')
            continue;
        if (command == '&') {
            if (pos >= commands.size())
                return false;
            const char which = commands[pos++];
            if ((which != 'F' && which != 'V') || readNumber(commands, pos) != 0)
                return false;
            if (which == 'F')
                reset();
            else
                reply.information += activeProfile();
            continue;
        }
        if (command == 'I') {
            const qsizetype digits = pos;
            const int n = readNumber(commands, pos);
            if (n > 7 || pos - digits > 1)
                return false;
            reply.information += QByteArray(Identification[n]) + '\n';
            continue;
        }
        if (command == '+') {
            // An extended command runs to the next semicolon or the end of the line.
            const qsizetype end = commands.indexOf(';', pos);
            const QByteArray name = commands.mid(pos, end < 0 ? -1 : end - pos).trimmed();
            pos = end < 0 ? commands.size() : end + 1;
            const QByteArray answer = extendedInformation(name);
            if (answer.isEmpty())
                return false;
            reply.information += answer + '\n';
            continue;
        }
        if (command == 'D') {
            // The dial string runs to the end of the line.
            if (pos < commands.size() && (commands[pos] == 'T' || commands[pos] == 'P'))
                ++pos;
            for (; pos < commands.size(); ++pos) {
                if (!isDialCharacter(commands[pos]))
                    return false;
            }
            reply.dialled = true;
            continue;
        }
        if (command == 'S') {
            const qsizetype start = pos;
            const int n = readNumber(commands, pos);
            if (pos == start || n > 255 || pos >= commands.size())
                return false;
            if (commands[pos] == '?') {
                ++pos;
                reply.information +=
                    QByteArray::number(registers_[size_t(n)]).rightJustified(3, '0');
                reply.information += '\n';
                continue;
            }
            if (commands[pos] != '=')
                return false;
            ++pos;
            const int value = readNumber(commands, pos);
            if (value > 255)
                return false;
            registers_[size_t(n)] = value;
            continue;
        }
        const int largest = largestSetting(command);
        if (largest < 0)
            return false;
        const int value = readNumber(commands, pos);
        if (value > largest)
            return false;
        switch (command) {
        case 'E':
            current_.echo = value == 1;
            break;
        case 'V':
            current_.verbose = value == 1;
            break;
        case 'Q':
            quiet_ = value == 1;
            break;
        case 'Z':
            reset();
            break;
        default: // M, L, X, H: speaker, dialling and hook settings a simulated line has no use for
            break;
        }
    }
    return true;
}

QByteArray HayesInterpreter::activeProfile() const {
    QByteArray lines = "ACTIVE PROFILE:\n";
    lines += "E" + QByteArray::number(int(current_.echo)) + " Q" + QByteArray::number(int(quiet_)) +
             " V" + QByteArray::number(int(current_.verbose)) + "\n";
    QByteArray registers;
    for (int n : {0, 2, 3, 4, 5, 6, 7, 8, 10})
        registers += "S" + QByteArray::number(n).rightJustified(2, '0') + ":" +
                     QByteArray::number(registers_[size_t(n)]).rightJustified(3, '0') + " ";
    return lines + registers.trimmed() + "\n";
}

QByteArray HayesInterpreter::formatLine(const QByteArray &text) const {
    const QByteArray lineEnd = lineFeedOnly_ ? "\n" : "\r\n";
    return current_.verbose ? lineEnd + text + lineEnd : text + lineEnd;
}

QByteArray HayesInterpreter::format(const HayesReply &reply) const {
    QByteArray out;
    for (const QByteArray &info : reply.information.split('\n')) {
        if (info.isEmpty())
            continue;
        out += formatLine(info);
    }
    if (reply.result == ResultCode::None || quiet_)
        return out;
    if (current_.verbose) {
        out += formatLine(resultWord(reply.result));
    } else {
        out += QByteArray::number(resultNumber(reply.result));
        out += lineFeedOnly_ ? '\n' : '\r';
    }
    return out;
}

QByteArray resultWord(ResultCode code) {
    switch (code) {
    case ResultCode::None:
        break;
    case ResultCode::Ok:
        return "OK";
    case ResultCode::Error:
        return "ERROR";
    case ResultCode::Busy:
        return "BUSY";
    case ResultCode::NoCarrier:
        return "NO CARRIER";
    case ResultCode::NoDialtone:
        return "NO DIALTONE";
    case ResultCode::NoAnswer:
        return "NO ANSWER";
    }
    return {};
}

int resultNumber(ResultCode code) {
    switch (code) {
    case ResultCode::None:
        break;
    case ResultCode::Ok:
        return 0;
    case ResultCode::Error:
        return 4;
    case ResultCode::Busy:
        return 7;
    case ResultCode::NoCarrier:
        return 3;
    case ResultCode::NoDialtone:
        return 6;
    case ResultCode::NoAnswer:
        return 8;
    }
    return -1;
}

} // namespace telmaris::modemsim
