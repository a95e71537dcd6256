#pragma once
#include <QIcon>

// The pictures of the tool-bar buttons and of the screens' child frames. Drawn rather
// than shipped as bitmaps, so they stay sharp at any scale and need no artwork files.
namespace ToolBarIcons {
// The 32 x 32 picture of a tool-bar command; a null icon for commands without one.
QIcon commandIcon(int commandId);
// The child-frame icon resources 133..137 (screens of each kind).
QIcon screenIcon(int iconId);
// The navigation bar's picture for the screens of a module (0..5).
QIcon moduleIcon(int module);
}
