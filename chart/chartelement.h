// What the points and the legend of the h–d chart draw with: the canvas, the content, the lines.
#pragma once

#include <QPainter>

#include "chartcanvas.h"
#include "chartcontent.h"
#include "chartlayout.h"
#include "chartlines.h"

// Only references: the chart that makes its points and legend owns all of
// it, and outlives them.
class ChartElement {
protected:
    ChartElement(ChartCanvas& canvas, const ChartContent& content, const ChartLines& lines)
        : m_canvas(canvas),
          m_p(canvas.painter()),
          m_content(content),
          m_lines(lines),
          m_layout(canvas.layout())
    {
    }

    ChartCanvas& m_canvas;
    QPainter& m_p;
    const ChartContent& m_content;
    const ChartLines& m_lines;
    const ChartLayout& m_layout;
};
