// Script texts survive the escape encoding whatever they hold, and any stored value decodes.
#include "FuzzCheck.h"
#include "store/ScriptSlots.h"

#include <QString>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString encoded = telmaris::EncodeIniText(text);
    // An encoded text fits on one INI line and decodes to the text.
    Check(!encoded.contains(u'\r') && !encoded.contains(u'\n') && !encoded.contains(u'\t') &&
          !encoded.contains(u'"'));
    Check(telmaris::DecodeIniText(encoded) == text);
    (void)telmaris::DecodeIniText(text); // any stored value decodes
    return 0;
}
