// Writing chart files: the ending decides the format, and a failure leaves
// no partial file and an earlier file intact.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QBuffer>
#include <QImage>

#include "chart_test_support.h"
#include "chartfile.h"
#include "pngfile.h"

namespace {

QStringList entries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ChartFormat, ChosenByTheEndingInAnyCase)
{
    EXPECT_EQ(ChartFormatOf("day.png"), ChartFormat::Png);
    EXPECT_EQ(ChartFormatOf("/tmp/a.b/Day.PNG"), ChartFormat::Png);
    EXPECT_EQ(ChartFormatOf("point.svg"), ChartFormat::Svg);
    EXPECT_EQ(ChartFormatOf("report.Pdf"), ChartFormat::Pdf);
    EXPECT_FALSE(ChartFormatOf("chart.jpg"));
    EXPECT_FALSE(ChartFormatOf("chart"));
    EXPECT_FALSE(ChartFormatOf("png"));
    EXPECT_FALSE(ChartFormatOf("chart.png.txt"));
}

TEST(ChartFile, EachFormatStartsWithItsSignature)
{
    QTemporaryDir dir;
    const ChartContent content = DefaultPointChart();
    EXPECT_TRUE(contents(WriteChart(dir, "a.png", content, 72)).startsWith("\x89PNG\r\n"));
    EXPECT_TRUE(contents(WriteChart(dir, "a.pdf", content)).startsWith("%PDF-"));
    EXPECT_TRUE(contents(WriteChart(dir, "a.svg", content)).startsWith("<?xml"));
    EXPECT_EQ(entries(dir), (QStringList{"a.pdf", "a.png", "a.svg"}));
}

TEST(ChartFile, UnknownEndingIsRefusedBeforeAnythingIsCreated)
{
    QTemporaryDir dir;
    ChartFile file(dir.filePath("chart.jpg"));
    EXPECT_FALSE(file.open());
    EXPECT_TRUE(file.errorMessage().contains(QStringLiteral("“.jpg”"))) << file.errorMessage().toStdString();
    EXPECT_TRUE(file.errorMessage().contains(QStringLiteral(".png、.svg 或 .pdf")));
    EXPECT_FALSE(file.write(DefaultPointChart()));
    EXPECT_TRUE(file.errorMessage().contains(QStringLiteral("“.jpg”")));  // still why
    EXPECT_TRUE(entries(dir).isEmpty());
}

TEST(ChartFile, UnwritablePathsSayWhyAndCreateNothing)
{
    // These fail for root as well: no permission bits are involved.
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {dir.filePath("missing/chart.png"), QStringLiteral("所在的文件夹")},
        {dir.filePath("plain/chart.svg"), QStringLiteral("不是文件夹")},
        {dir.filePath("sub"), QStringLiteral("不支持")},  // no ending at all
    };
    for (const auto& c : cases) {
        ChartFile file(c.path);
        EXPECT_FALSE(file.open()) << c.path.toStdString();
        EXPECT_TRUE(file.errorMessage().contains(c.reason)) << file.errorMessage().toStdString();
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.pdf"));
    ChartFile folder(dir.filePath("folder.pdf"));
    EXPECT_FALSE(folder.open());
    EXPECT_TRUE(folder.errorMessage().contains(QStringLiteral("这是一个文件夹"))) << folder.errorMessage().toStdString();
    EXPECT_EQ(entries(dir), (QStringList{"folder.pdf", "plain", "sub"}));
    EXPECT_TRUE(QDir(dir.filePath("sub")).isEmpty());
}

TEST(ChartFile, FailedWriteKeepsTheEarlierFileAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = WriteChart(dir, "day.png", DefaultPointChart(), 72);
    const QByteArray earlier = contents(path);
    ASSERT_FALSE(earlier.isEmpty());

    ChartFile file(path);
    ASSERT_TRUE(file.open());
    ChartContent bad = DefaultPointChart();
    bad.range = ChartRange{30, 20, 0, 35};
    EXPECT_FALSE(file.write(bad));
    EXPECT_TRUE(file.errorMessage().contains(QStringLiteral("范围"))) << file.errorMessage().toStdString();
    EXPECT_EQ(contents(path), earlier);
    EXPECT_EQ(entries(dir), QStringList{"day.png"});
}

TEST(PngFile, KeepsPixelsAndResolutionAndReportsADeviceThatRefusesData)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(0x12, 0x34, 0x56));
    image.setPixelColor(7, 5, QColor(0xd0, 0x10, 0x10));
    image.setDotsPerMeterX(11811);  // 300 dpi
    image.setDotsPerMeterY(11811);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    ASSERT_TRUE(WritePng(image, QStringLiteral("焓湿图"), buffer, error)) << error.toStdString();
    const QImage back = QImage::fromData(buffer.data(), "png");
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), image.size());
    EXPECT_EQ(back.pixelColor(7, 5), QColor(0xd0, 0x10, 0x10));
    EXPECT_EQ(back.pixelColor(0, 0), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(back.dotsPerMeterX(), 11811);
    EXPECT_EQ(back.text(QStringLiteral("Title")), QStringLiteral("焓湿图"));

    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(WritePng(image, QStringLiteral("t"), readOnly, error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(ChartFile, OpenedButNeverWrittenLeavesNothing)
{
    QTemporaryDir dir;
    {
        ChartFile file(dir.filePath("never.svg"));
        ASSERT_TRUE(file.open());
    }
    EXPECT_TRUE(entries(dir).isEmpty());
}

TEST(ChartFile, ReplacesAnEarlierFileOnSuccess)
{
    QTemporaryDir dir;
    QFile old(dir.filePath("chart.svg"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    WriteChart(dir, "chart.svg", DefaultPointChart());
    EXPECT_TRUE(contents(dir.filePath("chart.svg")).startsWith("<?xml"));
    EXPECT_EQ(entries(dir), QStringList{"chart.svg"});
}

}  // namespace
