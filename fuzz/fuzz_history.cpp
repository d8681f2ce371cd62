// The history file. Invariants: every field is an entry; what is written (the first 20
// storable entries) reads back as exactly those entries.
#include "FuzzSupport.h"
#include "core/data/HistoryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzSupport::writeInput(QStringLiteral("history.zav"), data, size);
    RecentFiles list;
    HistoryFile::read(path, list, FuzzSupport::chunkSizeFor(size));
    if (list.count() > int(size) + 1)
        FuzzSupport::fail("more entries than bytes");
    const QByteArray bytes = HistoryFile::encode(list);
    FuzzSupport::writeInput(QStringLiteral("history.zav"),
                            reinterpret_cast<const uint8_t*>(bytes.constData()),
                            size_t(bytes.size()));
    QStringList expected;
    for (const QString& entry : list.savedEntries()) {
        if (HistoryFile::isStorable(entry))
            expected << entry;
    }
    RecentFiles again;
    HistoryFile::read(path, again);
    if (again.entries() != expected)
        FuzzSupport::fail("entries changed on a round trip");
    return 0;
}
