// The settings file. Invariant: writing what was read (the start-up option and the named
// options) and reading it back gives the same settings.
#include "FuzzSupport.h"
#include "core/data/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzSupport::writeInput(QStringLiteral("settings.zav"), data, size);
    Settings settings;
    settings.startupOption = SettingsFile::optionFromStoredValue(
        SettingsFile::readStoredValue(path, FuzzSupport::chunkSizeFor(size)));
    settings.namedOptions = SettingsFile::readNamedOptions(path);
    const QByteArray bytes = SettingsFile::encode(settings);
    FuzzSupport::writeInput(QStringLiteral("settings.zav"),
                            reinterpret_cast<const uint8_t*>(bytes.constData()),
                            size_t(bytes.size()));
    if (SettingsFile::optionFromStoredValue(SettingsFile::readStoredValue(path)) !=
        settings.startupOption)
        FuzzSupport::fail("option changed on a round trip");
    if (SettingsFile::readNamedOptions(path) != settings.namedOptions)
        FuzzSupport::fail("named options changed on a round trip");
    return 0;
}
