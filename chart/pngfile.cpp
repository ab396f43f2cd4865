// PNG writing tuned for charts, on libpng.
#include "pngfile.h"

#include <png.h>

#include <csetjmp>

namespace {

struct Sink {
    QIODevice* device;
    bool failed;
};

void writeData(png_structp png, png_bytep data, png_size_t length)
{
    auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
    const auto size = static_cast<qint64>(length);
    if (sink->device->write(reinterpret_cast<const char*>(data), size) != size) {
        sink->failed = true;
        png_error(png, "write failed");
    }
}

void flushData(png_structp) {}

// libpng's default handlers print to standard error; the caller reports instead.
void onError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Only plain data lives in this frame, which the error path leaves by
// longjmp. `rgb` is 8-bit RGB.
bool encode(const QImage* rgb, const char* title, Sink* sink)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, sink, writeData, flushData);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rgb->width()), static_cast<png_uint_32>(rgb->height()),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, static_cast<png_uint_32>(rgb->dotsPerMeterX()),
                 static_cast<png_uint_32>(rgb->dotsPerMeterY()), PNG_RESOLUTION_METER);
    png_text text{};
    text.compression = PNG_ITXT_COMPRESSION_NONE;
    text.key = const_cast<char*>("Title");
    text.text = const_cast<char*>(title);
    png_set_text(png, info, &text, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    for (int y = 0; y < rgb->height(); ++y)
        png_write_row(png, rgb->constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const QImage& image, const QString& title, QIODevice& device, QString& error)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const QByteArray titleUtf8 = title.toUtf8();
    Sink sink{&device, false};
    if (rgb.isNull() || !encode(&rgb, titleUtf8.constData(), &sink)) {
        error = sink.failed ? device.errorString() : QStringLiteral("PNG 编码失败");
        return false;
    }
    return true;
}
