#pragma once

#include <QRect>
#include <QtMath>

// Window layouts are given in twips (1/1440 inch); Qt places widgets in
// logical pixels, 15 twips per pixel at 96 dpi.
inline int twipsToPixels(double twips, int logicalDpi)
{
    return qRound(twips * logicalDpi / 1440.0);
}

inline double pixelsToTwips(int pixels, int logicalDpi)
{
    return pixels * 1440.0 / logicalDpi;
}

inline QRect twipsRect(int left, int top, int width, int height, int logicalDpi)
{
    return QRect(twipsToPixels(left, logicalDpi), twipsToPixels(top, logicalDpi),
                 twipsToPixels(width, logicalDpi), twipsToPixels(height, logicalDpi));
}
