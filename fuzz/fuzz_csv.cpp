// CSV files imported into the editor's rows, without a window. Invariants: the read ends; no
// more rows than the room and no more groups of rejected lines than the report lists; every row
// taken passes the add button's checks; a refused file gives no rows; pieces of a few bytes
// read what one piece reads; the rows taken, exported and imported again are the same rows.
// scripts/fuzz.sh gives this target a long seed of short lines and a per-input time limit, so
// a reader that takes the square of the lines fails.
#include "FuzzSupport.h"
#include "core/editor/EditorRules.h"
#include "core/editor/PointCsv.h"

namespace {

bool sameRejections(const PointCsv::Import& a, const PointCsv::Import& b) {
    if (a.rejectedRecords != b.rejectedRecords || a.rejected.size() != b.rejected.size())
        return false;
    for (qsizetype i = 0; i < a.rejected.size(); ++i) {
        const PointCsv::Rejection& x = a.rejected[i];
        const PointCsv::Rejection& y = b.rejected[i];
        if (x.firstLine != y.firstLine || x.lastLine != y.lastLine || x.records != y.records ||
            x.lastRecord != y.lastRecord || x.reason != y.reason)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // A small room now and then, so that the limit is met too.
    const int room = size % 3 == 0 ? int(1 + size % 5) : kMaxPoints;
    const PointCsv::Import whole = PointCsv::parse(bytes, room);

    const QString path = FuzzSupport::writeInput(QStringLiteral("input.csv"), data, size);
    const PointCsv::Import pieces = PointCsv::read(path, room, FuzzSupport::chunkSizeFor(size));
    if (pieces.rows != whole.rows || !sameRejections(pieces, whole) ||
        pieces.readAsCp932 != whole.readAsCp932 ||
        pieces.refusal.has_value() != whole.refusal.has_value() ||
        (whole.refusal && pieces.refusal->text != whole.refusal->text))
        FuzzSupport::fail("a piece seam changed the import");

    if (whole.rows.size() > room)
        FuzzSupport::fail("more rows than the room");
    if (whole.rejected.size() > PointCsv::kMaxReportedGroups)
        FuzzSupport::fail("more groups of rejected lines than the report lists");
    int listed = 0;
    for (const PointCsv::Rejection& group : whole.rejected)
        listed += group.records;
    if (listed > whole.rejectedRecords)
        FuzzSupport::fail("more rejected lines listed than counted");
    if (whole.refusal && !whole.rows.isEmpty())
        FuzzSupport::fail("a refused file gave rows");
    for (const Point& row : whole.rows) {
        if (EditorRules::rowRefusal(row))
            FuzzSupport::fail("a row taken fails the add button's checks");
    }

    const PointCsv::Import again = PointCsv::parse(PointCsv::encode(whole.rows), kMaxPoints);
    if (again.refusal || again.rejectedRecords != 0 || again.readAsCp932 ||
        again.rows != whole.rows)
        FuzzSupport::fail("rows changed on an export and import");
    return 0;
}
