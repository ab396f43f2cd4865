// Writes a chart to a file, its kind chosen by the file name's ending.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <optional>

#include "chartcontent.h"
#include "chartformat.h"
#include "safefile.h"

// A chart file written as the notebook is saved (SafeFile): open() checks the
// path and creates the new file, write() paints into it and only then
// replaces the target. Until the write succeeds the target is untouched, and
// a failure anywhere leaves no partial file behind. Only a regular file or a
// new name is written. Messages are in Chinese, naming the file.
class ChartFile {
public:
    explicit ChartFile(const QString& path, int pngDotsPerInch = 300);

    // Checks the ending and opens the temporary file. Call it before any
    // output, so that an unwritable path is reported before work is done.
    bool open();
    // Draws `content` and commits the file; needs open() first. Drawing text
    // needs a QGuiApplication.
    bool write(const ChartContent& content);

    QString errorMessage() const { return m_error; }
    // The file as opened: what it replaces, and whether that is another file in use.
    const SafeFile& file() const { return m_file; }

private:
    bool fail(const QString& what);
    bool failWrite();
    bool paintPng(const ChartContent& content);
    bool paintSvg(const ChartContent& content);
    bool paintPdf(const ChartContent& content);

    QString m_path;
    int m_dpi;
    std::optional<ChartFormat> m_format;
    SafeFile m_file;
    QString m_error;
};

// The chart as the SVG file holds it (A4 landscape); empty when drawing failed.
QByteArray ChartSvg(const ChartContent& content);
// The chart drawn on a page of `millimetres` at `dotsPerInch`; null when the
// image would not fit in memory.
QImage ChartImage(const ChartContent& content, QSizeF millimetres, int dotsPerInch);
