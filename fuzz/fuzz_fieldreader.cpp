// The field scanner over raw bytes. Invariants: it ends; its fields never hold more bytes than
// the input; once at the end it stays there; a tiny read chunk gives the same fields as the
// default one.
#include "FuzzSupport.h"
#include "core/data/FieldReader.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    FieldReader reader(buffer, FuzzSupport::chunkSizeFor(size));
    QBuffer whole(&bytes);
    whole.open(QIODevice::ReadOnly);
    FieldReader wholeReader(whole);
    qsizetype total = 0;
    size_t fields = 0;
    while (std::optional<QByteArray> field = reader.readRawField()) {
        total += field->size();
        if (++fields > size + 1)
            FuzzSupport::fail("more fields than bytes");
        if (wholeReader.readRawField() != field)
            FuzzSupport::fail("a chunk seam changed a field");
    }
    if (wholeReader.readRawField().has_value())
        FuzzSupport::fail("a chunk seam lost a field");
    if (total > qsizetype(size))
        FuzzSupport::fail("fields hold more bytes than the input");
    if (!reader.atEnd() || reader.readRawField().has_value())
        FuzzSupport::fail("the end did not stay the end");
    return 0;
}
