// What the run log's file is on every platform: the order of the steps of an append. Opening,
// writing, and renaming a full file are each platform's own.

#include "runner/RunLogFile.h"

namespace telmaris {

RunLogFile::RunLogFile(QString path, qint64 limit) : path_(std::move(path)), limit_(limit) {}

RunLogFile::~RunLogFile() {
    close();
}

bool RunLogFile::append(const QByteArray &text, QString *error) {
    if (fd_ < 0 && !open(error))
        return false;
    if (!rotateWhenFull(error))
        return false;
    // A renamed file was closed: the name stands for a new one now.
    if (fd_ < 0 && !open(error))
        return false;
    if (writeAll(text, error))
        return true;
    close();
    return false;
}

} // namespace telmaris
