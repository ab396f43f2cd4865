// The Song typeface of the chart's texts, with the CJK fonts Debian ships in its place.
#pragma once

#include <QFont>

// "宋体" as the windows name it, falling back to AR PL UMing (and WenQuanYi)
// where it is not installed; the chart uses no widgets, so it keeps its own.
QFont ChartFont(double pointSize);
