#include "common/ConsoleText.h"

namespace telmaris {

void printText(std::FILE *stream, const QString &text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace telmaris
