#pragma once

#include <QList>
#include <QString>

#include <array>

// One point of a question file: six texts in file order. Coordinates stay text, exactly as
// stored; nothing in the file marks them as numbers.
enum PointColumn { ColumnX = 0, ColumnY, ColumnHint, ColumnAnswer1, ColumnAnswer2, ColumnInfo };
constexpr int kPointColumns = 6;

using Point = std::array<QString, kPointColumns>;
using PointList = QList<Point>;

// Row numbers are 16-bit signed in the file's tradition: a table holds at most this many.
constexpr int kMaxPoints = 32767;
