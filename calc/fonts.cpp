#include "fonts.h"

#include <QStringList>

QFont songtiFont(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                      QStringLiteral("AR PL UMing CN"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QFont xingkaiFont(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("华文行楷"), QStringLiteral("STXingkai"),
                      QStringLiteral("AR PL UKai CN")});
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}
