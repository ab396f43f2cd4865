// Helpers for the chart tests: charts to draw and files to read back.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <string>

#include "chartcontent.h"

// The calculation window's default state point (ψ known) as a labelled chart point.
ChartContent DefaultPointChart();

// Writes `content` through ChartFile into `dir` as `name`; fails the test on error.
QString WriteChart(const QTemporaryDir& dir, const QString& name, const ChartContent& content,
                   int dpi = 300);

// The concatenated character data of every <text> element of an SVG file;
// empty, with a test failure, when the file is not well-formed XML.
std::string SvgText(const QString& path);
