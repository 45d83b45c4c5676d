// The one-walk field scanner against the reader's line-by-line split, on arbitrary file bytes:
// every line, every field, the same bytes at the same place.
#include "deck/line_fields.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const DeckLines lines =
        DeckLines::FromFileBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    FieldScanner scanner(lines);
    LineFields scanned;
    qsizetype count = 0;
    lines.ForEach([&](QByteArrayView line) {
        FUZZ_CHECK(scanner.Next(scanned));
        const LineFields split = SplitFields(line);
        for (size_t i = 0; i < split.size(); ++i) {
            FUZZ_CHECK(scanned[i] == split[i]);
            // Equal bytes at the same place: the cards slice the buffer by position.
            FUZZ_CHECK(split[i].isEmpty() || scanned[i].data() == split[i].data());
        }
        ++count;
    });
    FUZZ_CHECK(!scanner.Next(scanned));
    FUZZ_CHECK(count == lines.Count());
    return 0;
}
