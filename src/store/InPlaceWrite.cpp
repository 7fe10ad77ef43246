#include "store/InPlaceWrite.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace telmaris {

namespace {

// Hands what was written to the disc, so that a full disc shows now and not later.
bool syncToDisc(QFile &file) {
#ifdef Q_OS_WIN
    return ::_commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

bool writeAt(QFile &file, qint64 offset, const char *data, qint64 size) {
    return file.seek(offset) && file.write(data, size) == size && syncToDisc(file);
}

} // namespace

bool overwriteInPlace(const QString &path, const QByteArray &bytes, QString *error) {
    // Unbuffered, so that a failed write shows at once; read-write, so that opening does not
    // cut the file.
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const qint64 oldSize = file.size();
    const qint64 newSize = bytes.size();
    if (newSize > oldSize &&
        !writeAt(file, oldSize, bytes.constData() + oldSize, newSize - oldSize)) {
        const QString reason = file.errorString();
        file.resize(oldSize); // the old content, as it was
        if (error)
            *error = reason;
        return false;
    }
    if (!writeAt(file, 0, bytes.constData(), std::min(oldSize, newSize)) ||
        (newSize < oldSize && (!file.resize(newSize) || !syncToDisc(file)))) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace telmaris
