// The settings file. Invariants: any content gives one of the three start-up options, and
// writing that option and reading it back gives the same option.
#include "FuzzSupport.h"
#include "data/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzSupport::writeInput(QStringLiteral("settings.zav"), data, size);
    const QString option = SettingsFile::optionFromStoredValue(
        SettingsFile::readStoredValue(path, FuzzSupport::chunkSizeFor(size)));
    if (option != SettingsFile::kAuto && option != SettingsFile::kDialog &&
        option != SettingsFile::kManual)
        FuzzSupport::fail("not a start-up option");
    const QByteArray bytes = SettingsFile::encode(option);
    FuzzSupport::writeInput(QStringLiteral("settings.zav"),
                            reinterpret_cast<const uint8_t*>(bytes.constData()),
                            size_t(bytes.size()));
    if (SettingsFile::optionFromStoredValue(SettingsFile::readStoredValue(path)) != option)
        FuzzSupport::fail("option changed on a round trip");
    return 0;
}
