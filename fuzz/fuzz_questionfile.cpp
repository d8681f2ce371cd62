// Question files read into a table, without a window. Invariants: the read ends in one of its
// outcomes; never more rows than a table holds; a table that was read completely, written and
// read back is equal to itself; a tiny read chunk reads what the default one reads.
#include "FuzzSupport.h"
#include "core/data/QuestionFile.h"
#include "core/data/TableSink.h"

#include <QImage>

namespace {
class ContinuingSink : public TableSink {
public:
    using TableSink::TableSink;
    AfterMapFailure mapFailed(ReadOutcome, const QString&) override {
        return AfterMapFailure::Continue;
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool mapReady = [] {
        QImage map(8, 8, QImage::Format_RGB32);
        map.fill(Qt::white);
        return map.save(FuzzSupport::folder() + QStringLiteral("/map.bmp"), "BMP");
    }();
    if (!mapReady)
        FuzzSupport::fail("cannot write the map");

    const QString path = FuzzSupport::writeInput(QStringLiteral("input.zvm"), data, size);
    QuestionTable table;
    TableSink sink(table);
    const ReadOutcome outcome = QuestionFile::read(path, sink, FuzzSupport::chunkSizeFor(size));
    QuestionTable whole;
    TableSink wholeSink(whole);
    if (QuestionFile::read(path, wholeSink) != outcome || whole.rows() != table.rows())
        FuzzSupport::fail("a chunk seam changed the read");
    if (table.rowCount() > kMaxPoints)
        FuzzSupport::fail("more rows than a table holds");
    if (outcome == ReadOutcome::CannotOpen)
        FuzzSupport::fail("a regular file could not be opened");
    if (outcome != ReadOutcome::Success)
        return 0;

    // Encode and write with a plain file: QSaveFile's sync to disk would slow fuzzing tenfold.
    QByteArray bytes;
    if (!QuestionFile::encode(sink.mapReference, table.rows(), bytes).ok())
        return 0; // text code page 932 cannot hold (a replacement character, say)
    const QString copy = FuzzSupport::writeInput(
        QStringLiteral("copy.zvm"), reinterpret_cast<const uint8_t*>(bytes.constData()),
        size_t(bytes.size()));
    // A file without a Map record gets an empty reference on writing: go on past map failures.
    QuestionTable again;
    ContinuingSink againSink(again);
    if (QuestionFile::read(copy, againSink) != ReadOutcome::Success)
        FuzzSupport::fail("a written file does not read back");
    if (again.rows() != table.rows())
        FuzzSupport::fail("rows changed on a round trip");
    if (!sink.map.isNull() && againSink.mapReference != sink.mapReference)
        FuzzSupport::fail("map reference changed on a round trip");
    return 0;
}
