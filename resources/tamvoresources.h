#pragma once
#include <QPixmap>
#include <QString>

// Pictures and documents that ship inside the program.
namespace TamvoResources {
// The start-up picture, also shown by "关于".
QPixmap splashPicture();
// Path of the first page of the HTML manual, or empty when it is missing.
QString manualPath();
}
