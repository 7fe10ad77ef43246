#pragma once
// Writing a file in place, for a file that may be written in a folder that may not (no
// temporary file can be made beside it). The old content stays whole until the new content is
// known to fit: the part by which the file grows is written and flushed to disc first, behind
// the old content; only then is the old content overwritten, and the file cut to the new
// length. A full disc or a file size limit thus leaves the old file as it was. A crash while
// the old content is overwritten still tears the file, and on a copy-on-write file system
// (btrfs, for one) the overwrite itself needs new blocks and may fail half-way.

#include <QByteArray>
#include <QString>

namespace telmaris {

// False with the system's reason when the file could not be written; the file then holds its
// old content.
bool overwriteInPlace(const QString &path, const QByteArray &bytes, QString *error);

} // namespace telmaris
