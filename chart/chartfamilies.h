// The chart's families of grid lines as data: how each is drawn, how far
// apart, which lines are heavy. The painter and the legend read the same rows.
#pragma once

#include <QColor>
#include <QString>

#include "chartspacing.h"

struct LineFamily {
    QString name;      // the legend's words: "干球温度 t"
    QString unit;      // "℃", "kJ/kg干" …
    QColor minor;      // thin lines
    QColor major;      // heavy lines, and their numbers
    double minorWidth;  // mm
    double majorWidth;  // mm: at least 0.18, so that a numbered line prints
    double step;        // between lines, in the family's unit
    int majorEvery;     // every majorEvery-th line (k·step with k a multiple) is heavy
    // A number goes on every heavy line and only there.

    double majorStep() const { return step * majorEvery; }
    // Whether the line k·step is heavy (k counted as an integer).
    bool isMajor(double k) const;
    // "每 1 ℃，每 5 ℃ 加粗并标注"
    QString legendText() const;
};

// The rows for a chart, with the steps its spacing chose: the numbered step
// is always a whole number of line steps.
struct ChartFamilies {
    LineFamily isotherms;   // °C
    LineFamily isenthalps;  // kJ/kg
    LineFamily moisture;    // g/kg, numbered on the d scale
    LineFamily humidity;    // %, every curve named
    LineFamily wetBulb;     // °C, optional
    LineFamily volume;      // m³/kg, optional

    explicit ChartFamilies(const ChartSpacing& spacing);
};
