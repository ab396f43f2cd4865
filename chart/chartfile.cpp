// Writing a chart to a PNG, SVG or PDF file.
#include "chartfile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "fonts.h"
#include "chartlayout.h"
#include "chartpainter.h"
#include "pngfile.h"
#include "safefiledevice.h"

namespace {

constexpr double kMmPerInch = 25.4;
constexpr int kSvgDotsPerInch = 96;  // SVG user units are CSS pixels

const QString kTitle = QStringLiteral("湿空气焓湿图");

}  // namespace

ChartFile::ChartFile(const QString& path, int pngDotsPerInch)
    : m_path(path),
      m_dpi(pngDotsPerInch),
      m_format(ChartFormatOf(path.toStdString())),
      m_file(QFile::encodeName(path).toStdString())
{
}

bool ChartFile::fail(const QString& what)
{
    m_error = QStringLiteral("无法写入图表文件“%1”：%2").arg(m_path, what);
    m_file.cancel();
    return false;
}

bool ChartFile::failWrite()
{
    return fail(QString::fromStdString(m_file.reason()));
}

bool ChartFile::open()
{
    if (!m_format) {
        const QString suffix = QFileInfo(m_path).suffix();
        m_error = QStringLiteral("不支持图表文件“%1”的类型%2：文件名须以 .png、.svg 或 .pdf 结尾")
                      .arg(m_path, suffix.isEmpty() ? QString() : QStringLiteral("“.%1”").arg(suffix));
        return false;
    }
    return m_file.open() || failWrite();
}

bool ChartFile::write(const ChartContent& content)
{
    // An unknown ending was refused by open(), which says why.
    if (!m_format)
        return false;
    if (!ChartRangeValid(content.range))
        return fail(QStringLiteral("图的范围无效"));
    bool painted = false;
    switch (*m_format) {
    case ChartFormat::Png: painted = paintPng(content); break;
    case ChartFormat::Svg: painted = paintSvg(content); break;
    case ChartFormat::Pdf: painted = paintPdf(content); break;
    }
    if (!painted)
        return false;
    return m_file.commit() || failWrite();
}

bool ChartFile::paintPng(const ChartContent& content)
{
    const QImage image = ChartImage(content, ChartLayout::A4Landscape(), m_dpi);
    if (image.isNull())
        return fail(QStringLiteral("图像太大，内存不足"));
    SafeFileDevice device(m_file);
    QString error;
    if (!WritePng(image, kTitle, device, error))
        return device.intact() ? fail(error) : failWrite();
    return true;
}

QByteArray ChartSvg(const ChartContent& content)
{
    const QSizeF mm = ChartLayout::A4Landscape();
    const double dotsPerMm = kSvgDotsPerInch / kMmPerInch;
    const QSizeF size = mm * dotsPerMm;
    QBuffer buffer;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(kSvgDotsPerInch);
    svg.setSize(size.toSize());
    svg.setViewBox(QRectF(QPointF(0, 0), size));
    svg.setTitle(kTitle);
    svg.setDescription(QStringLiteral("Nimbara"));
    QPainter painter;
    if (!painter.begin(&svg))
        return {};
    ChartPainter(painter, content, size, dotsPerMm).paint();
    if (!painter.end())
        return {};
    // The generator names only the first family; a viewer without 宋体
    // should fall back to the same fonts the chart was laid out with.
    QByteArray data = buffer.data();
    const QFont font = songtiFont(10);
    QStringList families;
    for (const QString& family : font.families())
        families << (family.contains(u' ') ? QStringLiteral("'%1'").arg(family) : family);
    families << QStringLiteral("serif");
    data.replace(QStringLiteral("font-family=\"%1\"").arg(font.families().first()).toUtf8(),
                 QStringLiteral("font-family=\"%1\"").arg(families.join(QStringLiteral(", "))).toUtf8());
    // The generator states the size from whole pixels (297.127 × 210.079 mm):
    // the page is A4, exactly.
    const int header = data.indexOf("viewBox=");
    const int width = data.indexOf("width=\"");
    if (width >= 0 && header > width) {
        const int end = data.indexOf('\n', width);
        data.replace(width, end - width, QStringLiteral("width=\"%1mm\" height=\"%2mm\"")
                                             .arg(mm.width()).arg(mm.height()).toUtf8());
    }
    return data;
}

QImage ChartImage(const ChartContent& content, QSizeF millimetres, int dotsPerInch)
{
    const double dotsPerMm = dotsPerInch / kMmPerInch;
    QImage image(qRound(millimetres.width() * dotsPerMm), qRound(millimetres.height() * dotsPerMm),
                 QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.setDotsPerMeterX(qRound(dotsPerMm * 1000));
    image.setDotsPerMeterY(qRound(dotsPerMm * 1000));
    QPainter painter(&image);
    ChartPainter(painter, content, image.size(), dotsPerMm).paint();
    return image;
}

bool ChartFile::paintSvg(const ChartContent& content)
{
    const QByteArray data = ChartSvg(content);
    if (data.isEmpty())
        return fail(QStringLiteral("绘图未能完成"));
    return m_file.write(std::string_view(data.constData(), static_cast<std::size_t>(data.size())))
           || failWrite();
}

bool ChartFile::paintPdf(const ChartContent& content)
{
    // The writer goes on after a failed write; the device remembers it.
    SafeFileDevice device(m_file);
    QPdfWriter pdf(&device);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0),
                                  QPageLayout::Millimeter));
    pdf.setTitle(kTitle);
    pdf.setCreator(QStringLiteral("Nimbara"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return fail(QStringLiteral("无法开始绘图"));
    const double dotsPerMm = pdf.resolution() / kMmPerInch;
    ChartPainter(painter, content, QSizeF(pdf.width(), pdf.height()), dotsPerMm).paint();
    if (!painter.end())
        return device.intact() ? fail(QStringLiteral("绘图未能完成")) : failWrite();
    return device.intact() || failWrite();
}
