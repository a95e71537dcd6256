#include "safefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SafeFile {

bool writeWhole(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        // A temporary file renamed over a device would replace the device itself.
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        const bool written = f.write(bytes) == bytes.size() && f.flush();
        f.close();
        return written && f.error() == QFileDevice::NoError;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        f.commit();
        return false;
    }
    return f.commit();
}

} // namespace SafeFile
