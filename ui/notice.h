// The rights notice with the author's name that the window captions end with.
#pragma once

#include <QString>

// The one-line rights notice with the author's name that the window captions carry.
inline QString rightsNotice()
{
    return QStringLiteral("版权所有（C）Nimbara 开发组 张工");
}
