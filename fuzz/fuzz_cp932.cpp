// The code page 932 decoder. Invariants: never more characters than bytes; decoded text that
// can be encoded encodes to bytes that decode to the same text.
#include "FuzzSupport.h"
#include "core/data/Cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = Cp932::decode(bytes);
    if (text.size() > bytes.size())
        FuzzSupport::fail("more characters than bytes");
    if (const std::optional<QByteArray> encoded = Cp932::encode(text)) {
        if (Cp932::decode(*encoded) != text)
            FuzzSupport::fail("decode(encode(text)) differs");
        if (Cp932::firstUnencodable(text) != -1)
            FuzzSupport::fail("canEncode disagrees with encode");
    } else if (!text.contains(QChar(0xFFFD)) && Cp932::firstUnencodable(text) == -1) {
        FuzzSupport::fail("decoded text without replacement cannot be encoded");
    }
    return 0;
}
