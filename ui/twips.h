// Twips (1/1440 inch), the unit the window layouts are given in, as pixels.
#pragma once

#include <QPaintDevice>
#include <QRect>
#include <QSize>
#include <QtMath>

// Window layouts are given in twips; Qt places widgets in logical pixels,
// 15 twips per pixel at 96 dpi.
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

// A window's client area, given in twips, in pixels at the window's logical
// dpi: the size a fixed window is fixed at and a sizable one opens at.
inline QSize twipsSize(const QPaintDevice& window, double width, double height)
{
    return QSize(twipsToPixels(width, window.logicalDpiX()), twipsToPixels(height, window.logicalDpiY()));
}
