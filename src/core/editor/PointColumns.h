#pragma once

#include "core/data/Point.h"

#include <QString>

#include <array>

// The six point columns as the editor names them: the tag its table shows as a column's
// header, the name its messages give the column's box, and the caption of that box's label
// (with its access key).
struct PointColumnNames {
    const char16_t* tag;
    const char16_t* boxName;
    const char16_t* caption;
};

namespace PointColumns {

inline constexpr std::array<PointColumnNames, kPointColumns> kNames{{
    {u"PositionX", u"X座標", u"座標 ( &X , "},
    {u"PositionY", u"Y座標", u"&Y ) "},
    {u"ヒント", u"ﾋﾝﾄ", u"ﾋﾝﾄ(&H)"},
    {u"答え1", u"答え1", u"答え1(&A)"},
    {u"答え2", u"答え2", u"答え2(&B)"},
    {u"情報", u"情報", u"情報(&I)"},
}};

inline bool isColumn(int column) {
    return column >= 0 && column < kPointColumns;
}

// Each empty for a number that is no column.
inline QString tag(int column) {
    return isColumn(column) ? QString::fromUtf16(kNames[column].tag) : QString();
}
inline QString boxName(int column) {
    return isColumn(column) ? QString::fromUtf16(kNames[column].boxName) : QString();
}
inline QString caption(int column) {
    return isColumn(column) ? QString::fromUtf16(kNames[column].caption) : QString();
}

} // namespace PointColumns
