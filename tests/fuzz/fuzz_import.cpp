// The import readers on arbitrary file bytes: encoding and separator detection, the header
// lines, the RFC 4180 reader, the HTML reduction, and the export of what came in.
#include "deck/card.h"
#include "deck/deck.h"
#include "exchange/card_export.h"
#include "exchange/card_import.h"
#include "exchange/delimited_reader.h"
#include "fuzz_check.h"

#include <QStringDecoder>

namespace {

using namespace exchange;

// Cards must be fields a deck line carries unchanged.
void CheckCard(const TMondaiSet &card) {
    const QByteArray line = RenderCardLine(card);
    FUZZ_CHECK(!line.contains('\r') && !line.contains('\n'));
    FUZZ_CHECK(ExtractField(line, 1) == card.Mondai());
    FUZZ_CHECK(ExtractField(line, 2) == card.Kaitou());
    FUZZ_CHECK(ExtractField(line, 3) == card.Sankou());
    FUZZ_CHECK(card.Jikan == 0 && card.Seikai == 0 && card.Fuseikai == 0);
    FUZZ_CHECK(!card.Mondai().isEmpty() || !card.Kaitou().isEmpty() || !card.Sankou().isEmpty());
}

// A small record limit reaches the too-long path with small inputs.
void CheckReader(QByteArrayView bytes, char separator) {
    DelimitedReader reader(bytes, separator, 64);
    qsizetype line = 0;
    while (reader.Next()) {
        FUZZ_CHECK(!reader.Fields().empty());
        FUZZ_CHECK(reader.LineNumber() > line);
        line = reader.LineNumber();
    }
    FUZZ_CHECK(reader.Position() <= bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const char separator : {',', '\t', ';'})
        CheckReader(bytes, separator);

    ImportOptions options = DetectImportOptions(bytes);
    // The first byte also picks other choices the preview offers.
    if (!bytes.isEmpty() && (uchar(bytes[0]) & 1)) {
        options.encoding = SourceEncoding(uchar(bytes[0]) >> 1 & 3);
        options.html = !options.html;
        options.headerRow = !options.headerRow;
        options.columns = {2, kNoColumn, 0};
    }
    const ImportResult result = ImportCards(bytes, options);
    FUZZ_CHECK(result.ok() == !result.cards.empty());
    FUZZ_CHECK(result.ok() || !result.ErrorMessage().isEmpty());
    for (const auto &card : result.cards)
        CheckCard(*card);

    // What is exported is UTF-8 and reads back as as many cards.
    for (const ExportFormat format : {ExportFormat::Csv, ExportFormat::Notes}) {
        const QByteArray out = ExportCards(result.cards, {format, true, true});
        QStringDecoder utf8(QStringConverter::Utf8);
        (void)utf8.decode(out);
        FUZZ_CHECK(!utf8.hasError());
        if (!result.cards.empty()) {
            const ImportResult back = ImportCards(out, DetectImportOptions(out));
            for (const auto &card : back.cards)
                CheckCard(*card);
        }
    }
    return 0;
}
