#pragma once

#include <QString>

// The file and path questions the program asks. Extensions and names are compared exactly,
// and both "/" and "\" separate path components, so paths written on Windows behave too.
namespace Files {

// True only for an existing regular file (not a folder, FIFO or device).
bool fileExists(const QString& path);

// Text after the last full stop of the last path component; empty when it has none.
QString extension(const QString& path);

// The path without its last component and without a trailing separator. The root folder
// keeps its separator ("/a.zvm" gives "/").
QString parentFolder(const QString& path);

// Joins a folder and a relative name with exactly one "/" between them.
QString joinPath(const QString& folder, const QString& name);

// Folder of the running program with exactly one trailing "/".
QString programFolder();

} // namespace Files
