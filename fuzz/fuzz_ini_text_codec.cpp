// Script texts survive the escape encoding whatever they hold, and any stored value decodes.
#include "store/ScriptSlots.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString encoded = telmaris::EncodeIniText(text);
    if (encoded.contains(u'\r') || encoded.contains(u'\n') || encoded.contains(u'\t') ||
        encoded.contains(u'"'))
        std::abort(); // an encoded text must fit on one INI line
    if (telmaris::DecodeIniText(encoded) != text)
        std::abort();
    (void)telmaris::DecodeIniText(text); // any stored value decodes
    return 0;
}
