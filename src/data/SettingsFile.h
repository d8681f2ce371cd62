#pragma once

#include "data/FieldReader.h"

#include <QString>

#include <optional>

// The settings file "設定.zav" in the own folder: one record of one field, the stored form of
// the start-up option.
//
//   start-up option   stored value
//   "Auto"            "Auto"
//   "Dialog"          "True"
//   "Manual"          "False"
namespace SettingsFile {

inline QString fileName() {
    return QStringLiteral("設定.zav");
}

// Start-up option texts.
inline constexpr QStringView kAuto = u"Auto";
inline constexpr QStringView kDialog = u"Dialog";
inline constexpr QStringView kManual = u"Manual";

// Stored values.
inline constexpr QStringView kStoredAuto = u"Auto";
inline constexpr QStringView kStoredTrue = u"True";
inline constexpr QStringView kStoredFalse = u"False";

// The stored value, or nothing when no readable file exists at `path`. An empty file reads
// as "True"; otherwise the first field is the value and the rest of the file is ignored.
// `chunkSize` is the field reader's.
std::optional<QString> readStoredValue(const QString& path,
                                       qsizetype chunkSize = FieldReader::kDefaultChunkSize);

// Exact comparison: "True" gives "Dialog", "Auto" "Auto", "False" "Manual"; anything else,
// the empty text and "no value" included, gives "Dialog".
QString optionFromStoredValue(const std::optional<QString>& stored);

// The stored value for a start-up option; an unknown option is stored as "True".
QString storedValueFor(const QString& option);

// The bytes written for a start-up option: one quoted field and CR LF.
QByteArray encode(const QString& option);

// Replaces the file with one record for `option` through AtomicFile. On failure returns false
// and sets `errorString`.
[[nodiscard]] bool write(const QString& path, const QString& option,
                         QString* errorString = nullptr);

} // namespace SettingsFile
