// The darkest pixel and the share of full-red pixels in a picture.
#include "glyphcontrast.h"

#include <QtGlobal>

QRgb darkestPixel(const QImage& image)
{
    QRgb darkest = qRgb(255, 255, 255);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < qGray(darkest))
                darkest = image.pixel(x, y);
    return darkest;
}

RedShare redShare(const QImage& image)
{
    RedShare share;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int redness = qRed(pixel) - qMax(qGreen(pixel), qBlue(pixel));
            share.reddish += redness > 60 ? 1 : 0;
            share.fullRed += redness >= 200 ? 1 : 0;
        }
    return share;
}
