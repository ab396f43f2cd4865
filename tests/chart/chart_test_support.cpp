// Helpers for the chart tests.
#include "chart_test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>

#include "calculate.h"
#include "chartfile.h"

ChartContent DefaultPointChart()
{
    const CalcOutcome outcome =
        CalculateStatePoint(InputMode::PsiKnown, {"101325", "2.5", "27", "", "46.37"});
    EXPECT_EQ(outcome.status, CalcStatus::Ok);
    ChartContent content;
    content.points.push_back(ChartPointOf(outcome.point, "状态点", true));
    return content;
}

QString WriteChart(const QTemporaryDir& dir, const QString& name, const ChartContent& content, int dpi)
{
    const QString path = dir.filePath(name);
    ChartFile file(path, dpi);
    EXPECT_TRUE(file.open()) << file.errorMessage().toStdString();
    EXPECT_TRUE(file.write(content)) << file.errorMessage().toStdString();
    return path;
}

std::string SvgText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    QXmlStreamReader xml(&file);
    QString text;
    int depth = 0;  // inside a <text> element
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("text"))
            ++depth;
        else if (xml.isEndElement() && xml.name() == QLatin1String("text"))
            --depth;
        else if (xml.isCharacters() && depth > 0)
            text += xml.text();
    }
    if (xml.hasError()) {
        ADD_FAILURE() << "not well-formed: " << xml.errorString().toStdString() << " at line "
                      << xml.lineNumber();
        return {};
    }
    return text.toStdString();
}
