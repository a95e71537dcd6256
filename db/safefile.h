#pragma once
#include <QByteArray>
#include <QString>

// Writing a whole file or nothing. A full disk, a size limit or an I/O error never
// leaves a cut-short file in place of a good one: a regular file is written beside
// its place and renamed over it only once every byte is on the disk. A device or a
// pipe (/dev/stdout, a fifo) is written directly and never replaced.
namespace SafeFile {
// False when any write, flush or the final rename failed; the old file then stays.
bool writeWhole(const QString& path, const QByteArray& bytes);
}
