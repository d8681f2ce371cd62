#pragma once

#include <QString>

// A question file names its map either by full path or as "./" followed by a path relative
// to the question file's folder. Only "./" counts as relative; ".\" or ".." references are
// handed to the file system unchanged.
namespace MapReference {

constexpr QStringView kRelativePrefix = u"./";

bool isRelative(const QString& reference);

// The path of the map named by `reference` in the question file at `questionFilePath`.
// A relative reference is joined to the file's folder with "/"; backslashes inside it are
// folder separators, so a file made on Windows with ./maps\japan.bmp finds maps/japan.bmp.
QString resolve(const QString& reference, const QString& questionFilePath);

// The path that a relative text typed by the user names inside `folder` (same rules).
QString resolveInFolder(const QString& relativeText, const QString& folder);

} // namespace MapReference
