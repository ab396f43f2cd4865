#pragma once

#include <QFont>

// "宋体" as the windows name it, with the fonts Debian ships in its place:
// without CJK fallbacks fontconfig picks a Latin font and Chinese shows as boxes.
QFont songtiFont(double pointSize);

// "华文行楷" (STXingkai), falling back to the calligraphic AR PL UKai on Debian.
QFont xingkaiFont(double pointSize);
