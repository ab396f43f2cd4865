// Writing a chart to a PNG, SVG or PDF file.
#include "chartfile.h"

#include <QBuffer>
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

namespace {

constexpr double kMmPerInch = 25.4;
constexpr int kSvgDotsPerInch = 96;  // SVG user units are CSS pixels

const QString kTitle = QStringLiteral("湿空气焓湿图");

// Why a file cannot be created at `path`, in words an engineer can act on.
QString reasonForPath(const QString& path, const QString& systemReason)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (file.isDir())
        return QStringLiteral("这是一个目录");
    if (!folder.exists())
        return QStringLiteral("所在的目录不存在");
    if (!folder.isDir())
        return QStringLiteral("路径中的“%1”不是目录").arg(folder.filePath());
    if (!folder.isWritable())
        return QStringLiteral("所在的目录没有写入权限");
    if (file.exists() && !file.isWritable())
        return QStringLiteral("文件没有写入权限");
    return systemReason;
}

}  // namespace

ChartFile::ChartFile(const QString& path, int pngDotsPerInch)
    : m_path(path), m_dpi(pngDotsPerInch), m_format(ChartFormatOf(path.toStdString())), m_file(path)
{
}

bool ChartFile::fail(const QString& what)
{
    m_error = QStringLiteral("无法写入图表文件“%1”：%2").arg(m_path, what);
    m_file.cancelWriting();
    return false;
}

bool ChartFile::open()
{
    if (!m_format) {
        const QString suffix = QFileInfo(m_path).suffix();
        m_error = QStringLiteral("不支持图表文件“%1”的类型%2：文件名须以 .png、.svg 或 .pdf 结尾")
                      .arg(m_path, suffix.isEmpty() ? QString() : QStringLiteral("“.%1”").arg(suffix));
        return false;
    }
    // A directory of that name would only fail at the final rename.
    if (QFileInfo(m_path).isDir() || !m_file.open(QIODevice::WriteOnly))
        return fail(reasonForPath(m_path, m_file.errorString()));
    return true;
}

bool ChartFile::write(const ChartContent& content)
{
    if (!m_file.isOpen())
        return fail(QStringLiteral("文件未打开"));
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
    if (m_file.error() != QFileDevice::NoError)
        return fail(m_file.errorString());
    if (!m_file.commit())
        return fail(reasonForPath(m_path, m_file.errorString()));
    return true;
}

bool ChartFile::paintPng(const ChartContent& content)
{
    const QSizeF mm = ChartLayout::A4Landscape();
    const double dotsPerMm = m_dpi / kMmPerInch;
    QImage image(qRound(mm.width() * dotsPerMm), qRound(mm.height() * dotsPerMm),
                 QImage::Format_RGB32);
    if (image.isNull())
        return fail(QStringLiteral("图像太大，内存不足"));
    image.setDotsPerMeterX(qRound(dotsPerMm * 1000));
    image.setDotsPerMeterY(qRound(dotsPerMm * 1000));
    {
        QPainter painter(&image);
        ChartPainter(painter, content, image.size(), dotsPerMm).paint();
    }
    QString error;
    if (!WritePng(image, kTitle, m_file, error))
        return fail(error);
    return true;
}

bool ChartFile::paintSvg(const ChartContent& content)
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
        return fail(QStringLiteral("无法开始绘图"));
    ChartPainter(painter, content, size, dotsPerMm).paint();
    if (!painter.end())
        return fail(QStringLiteral("绘图未能完成"));
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
    if (m_file.write(data) != data.size())
        return fail(reasonForPath(m_path, m_file.errorString()));
    return true;
}

bool ChartFile::paintPdf(const ChartContent& content)
{
    QPdfWriter pdf(&m_file);
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
        return fail(QStringLiteral("绘图未能完成"));
    return true;
}
