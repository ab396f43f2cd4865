// How dark and how red small glyphs come out in a rendered picture.
#pragma once

#include <QImage>
#include <QRgb>

// How dark and how red small text comes out in a rendered picture: the
// superscript "3" labels should reach black and the red marquee full red,
// not the grey and pink of smoothed strokes a pixel thin.

// The darkest pixel of image (by grey value).
QRgb darkestPixel(const QImage& image);

struct RedShare {
    int reddish = 0;  // pixels whose red exceeds green and blue by more than 60
    int fullRed = 0;  // of those, the ones where it exceeds both by 200 or more
};
RedShare redShare(const QImage& image);
