// The song-style Chinese font the windows are drawn in; needs only Qt Gui.
#pragma once

#include <QFont>

// "宋体" as the windows name it, with the fonts Debian ships in its place:
// without CJK fallbacks fontconfig picks a Latin font and Chinese shows as boxes.
QFont songtiFont(double pointSize);
