#pragma once
#include <QImage>
#include <QPixmap>
#include <QString>

// Pictures and documents that ship inside the program.
namespace TamvoResources {
// The start-up picture, also shown by "关于".
QPixmap splashPicture();
// The program's icon drawn at size x size pixels (window icon, desktop menu).
QImage appIcon(int size);
// Path of the first page of the HTML manual, or empty when it is missing.
QString manualPath();
}
