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
            if (pos >= commands.size() || commands[pos++] != 'F')
                return false;
            if (readNumber(commands, pos) != 0)
                return false;
            reset();
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

QByteArray HayesInterpreter::format(const HayesReply &reply) const {
    QByteArray out;
    const QByteArray lineEnd = "\r\n";
    for (const QByteArray &info : reply.information.split('\n')) {
        if (info.isEmpty())
            continue;
        out += current_.verbose ? lineEnd + info + lineEnd : info + lineEnd;
    }
    if (reply.result == ResultCode::None || quiet_)
        return out;
    if (current_.verbose) {
        static const char *const words[] = {"", "OK", "ERROR", "BUSY"};
        out += lineEnd + words[int(reply.result)] + lineEnd;
    } else {
        static const char *const digits[] = {"", "0", "4", "7"};
        out += QByteArray(digits[int(reply.result)]) + '\r';
    }
    return out;
}

} // namespace telmaris::modemsim
