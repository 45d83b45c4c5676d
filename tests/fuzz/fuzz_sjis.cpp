// The edge between stored Shift-JIS bytes and shown text.
#include "deck/deck_encoding.h"
#include "deck/sjis_codec.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const sjis::Decoded decoded = sjis::ToDisplay(bytes);
    const bool marked = decoded.text.contains(QChar::ReplacementCharacter);
    // Invalid bytes never vanish: they show as a replacement character, and only they do.
    FUZZ_CHECK(decoded.invalidBytes == marked);
    // A file taken for UTF-8 converts into valid Shift-JIS with its commas and line breaks kept.
    if (deck_encoding::LooksLikeUtf8(bytes)) {
        const deck_encoding::Converted converted = deck_encoding::Utf8ToShiftJis(bytes);
        FUZZ_CHECK(!sjis::ToDisplay(converted.bytes).invalidBytes);
        FUZZ_CHECK(converted.bytes.count(',') == bytes.count(','));
        FUZZ_CHECK(converted.bytes.count('\n') == bytes.count('\n'));
    }
    if (decoded.invalidBytes)
        return 0;
    // Valid text comes back as itself. The few characters the table holds twice (the NEC and
    // IBM extensions) come back in their standard form, which shows the same text.
    const sjis::Encoded encoded = sjis::FromDisplay(decoded.text);
    FUZZ_CHECK(encoded.unencodable.isEmpty());
    const sjis::Decoded again = sjis::ToDisplay(encoded.bytes);
    FUZZ_CHECK(!again.invalidBytes);
    FUZZ_CHECK(again.text == decoded.text);
    FUZZ_CHECK(sjis::FromDisplay(again.text).bytes == encoded.bytes);
    return 0;
}
