// Script texts survive the escape encoding whatever they hold, and any stored value decodes.
#include "FuzzCheck.h"
#include "store/ScriptSlots.h"

#include <QString>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString encoded = telmaris::encodeIniText(text);
    // An encoded text fits on one INI line and decodes to the text.
    FUZZ_CHECK(!encoded.contains(u'\r') && !encoded.contains(u'\n') && !encoded.contains(u'\t') &&
               !encoded.contains(u'"'));
    FUZZ_CHECK(telmaris::decodeIniText(encoded) == text);
    (void)telmaris::decodeIniText(text); // any stored value decodes
    return 0;
}
