#include "common/ConsoleText.h"

#include <io.h>
#include <windows.h>

namespace telmaris {

void printText(std::FILE *stream, const QString &text) {
    // A console shows the characters themselves, whatever its code page (cmd's is the OEM
    // page, where the ANSI page's umlauts come out wrong).
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        DWORD written = 0;
        WriteConsoleW(handle, text.utf16(), DWORD(text.size()), &written, nullptr);
        return;
    }
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace telmaris
