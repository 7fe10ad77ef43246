// Any command line resolves to exactly one outcome without crashing; an AutoMode slot is 1..100.
#include "FuzzCheck.h"
#include "shell/CommandLine.h"

#include <QString>
#include <QStringList>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // The first line of the input names slot 1; the rest is the argument.
    const QString input =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype split = input.indexOf(u'\n');
    QStringList captions;
    for (int n = 1; n <= 100; ++n)
        captions << QString::number(n);
    if (split >= 0)
        captions[0] = input.left(split);
    const QString argument = split >= 0 ? input.mid(split + 1) : input;

    const telmaris::CommandLineChoice choice = telmaris::resolveCommandLine(argument, captions);
    FUZZ_CHECK(choice.kind != telmaris::CommandLineChoice::AutoMode ||
               (choice.slot >= 1 && choice.slot <= 100));
    // The message shows the argument exactly as passed.
    FUZZ_CHECK(choice.kind != telmaris::CommandLineChoice::Unknown ||
               choice.message.contains(argument));
    return 0;
}
