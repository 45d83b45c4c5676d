// The record a second start sends, as the running instance decodes it.
#include "app/handoff_record.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const handoff::Parsed parsed = handoff::Decode(bytes);
    if (parsed.status == handoff::Status::Complete) {
        // A complete record is taken whole, and its path is the payload up to the first zero.
        FUZZ_CHECK(!parsed.path.isEmpty() && !parsed.path.contains('\0'));
        FUZZ_CHECK(bytes.mid(handoff::HeaderSize).startsWith(parsed.path + '\0'));
        FUZZ_CHECK(bytes.endsWith('\0'));
    }
    // Any non-empty path without a zero byte travels whole, and a record cut short is never
    // complete.
    QByteArray path = bytes;
    path.replace('\0', 'x');
    if (!path.isEmpty() && quint32(path.size()) + 1 <= handoff::MaxByteCount) {
        const QByteArray record = handoff::Encode(path);
        const handoff::Parsed back = handoff::Decode(record);
        FUZZ_CHECK(back.status == handoff::Status::Complete);
        FUZZ_CHECK(back.path == path);
        FUZZ_CHECK(handoff::Decode(record.left(record.size() - 1)).status !=
                   handoff::Status::Complete);
    }
    return 0;
}
