#pragma once

#include "core/data/FieldReader.h"
#include "core/data/NamedOptions.h"

#include <QString>

#include <optional>

// What the next start does without a command line: open the most recent file, offer the
// recent-files dialog, or nothing.
enum class StartupOption { Auto, Dialog, Manual };

// What a run keeps of the settings file. A start-up option alone makes settings without
// named options.
struct Settings {
    Settings() = default;
    Settings(StartupOption option, NamedOptions named = {})
        : startupOption(option)
        , namedOptions(std::move(named)) {}

    StartupOption startupOption = StartupOption::Dialog;
    NamedOptions namedOptions;
};

// The settings file "設定.zav" in the own folder: a first record of one field, the stored form
// of the start-up option, then the named options, if any.
//
//   start-up option   stored value
//   Auto              "Auto"
//   Dialog            "True"
//   Manual            "False"
namespace SettingsFile {

inline QString fileName() {
    return QStringLiteral("設定.zav");
}

// Stored values.
inline constexpr QStringView kStoredAuto = u"Auto";
inline constexpr QStringView kStoredTrue = u"True";
inline constexpr QStringView kStoredFalse = u"False";

// The stored value, or nothing when no readable file exists at `path`. An empty file reads
// as "True"; otherwise the first field is the value and the rest of the file is ignored.
// `chunkSize` is the field reader's.
std::optional<QString> readStoredValue(const QString& path,
                                       qsizetype chunkSize = FieldReader::kDefaultChunkSize);

// The named options of the file at `path`: the records after the first one. Nothing without
// a readable file, or with one far larger than any settings file.
NamedOptions readNamedOptions(const QString& path);

// Exact comparison: "True" gives Dialog, "Auto" Auto, "False" Manual; anything else, the
// empty text and "no value" included, gives Dialog.
StartupOption optionFromStoredValue(const std::optional<QString>& stored);

// The stored value for a start-up option.
QString storedValueFor(StartupOption option);

// The bytes written for the settings: one quoted field and CR LF, then the named options.
QByteArray encode(const Settings& settings);

// Replaces the file with encode(settings) through AtomicFile. On failure returns false and
// sets `errorString`.
[[nodiscard]] bool write(const QString& path, const Settings& settings,
                         QString* errorString = nullptr);

} // namespace SettingsFile
