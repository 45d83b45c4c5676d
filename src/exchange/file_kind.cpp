#include "exchange/file_kind.h"

#include "deck/deck.h"
#include "deck/line_fields.h"
#include "exchange/card_import.h"
#include "exchange/text_source.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <type_traits>

namespace exchange {

namespace {

// The start of a file tells its kind; only the search for a learning record goes further.
constexpr qsizetype kProbeBytes = 64 * 1024;

bool IsControl(char32_t c) {
    return c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f';
}

// A share of control characters no text has; with `nulIsBinary`, any NUL at all.
template <typename Units> bool ControlHeavy(const Units &units, bool nulIsBinary) {
    qsizetype controls = 0;
    for (const auto unit : units) {
        const auto c = char32_t(std::make_unsigned_t<typename Units::value_type>(unit));
        if (c == 0 && nulIsBinary)
            return true;
        controls += IsControl(c);
    }
    return controls * 20 > qsizetype(units.size());
}

bool IsNumber(QByteArrayView field) {
    if (field.startsWith('-') || field.startsWith('+'))
        field = field.sliced(1);
    return !field.isEmpty() &&
           std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Line ends and separators that may stand before a field.
bool EndsField(char c) {
    return c == ',' || c == '\t' || c == ';' || c == '\n' || c == '\r';
}

// Whether any of the lines (each ended by a line feed, the last perhaps not) carries a
// learning record. Stops at the first: a deck's first line has one.
bool AnyLearningRecord(QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        qsizetype end = bytes.indexOf('\n');
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.first(end);
        if (line.endsWith('\r'))
            line.chop(1);
        if (HasLearningRecord(line))
            return true;
        bytes = bytes.sliced(std::min(end + 1, bytes.size()));
    }
    return false;
}

// A spreadsheet's file: a row of column names or a text with line breaks, and no learning
// record in any line.
bool LooksLikeSpreadsheet(QByteArrayView bytes, QByteArrayView probe) {
    if (AnyLearningRecord(probe))
        return false;
    return (DetectImportOptions(probe).headerRow || HasQuotedLineBreak(probe)) &&
           !AnyLearningRecord(bytes);
}

} // namespace

bool LooksBinary(QByteArrayView bytes) {
    const QByteArrayView probe = bytes.first(std::min(bytes.size(), kProbeBytes));
    const SourceEncoding encoding = DetectEncoding(probe);
    if (encoding != SourceEncoding::Utf16LE && encoding != SourceEncoding::Utf16BE)
        return ControlHeavy(std::string_view(probe.data(), size_t(probe.size())), true);
    std::u16string units(size_t(probe.size() / 2), u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        const auto first = char16_t(uchar(probe[qsizetype(2 * i)]));
        const auto second = char16_t(uchar(probe[qsizetype(2 * i + 1)]));
        units[i] = encoding == SourceEncoding::Utf16LE ? char16_t(first | second << 8)
                                                       : char16_t(second | first << 8);
    }
    // Deck lines put CR LF where the file had a lone line end, which can shift the byte pairs
    // after it: a NUL unit alone proves nothing there, only the share counts.
    return ControlHeavy(units, false);
}

bool HasQuotedLineBreak(QByteArrayView text) {
    bool quoted = false;
    bool broken = false;
    bool fieldStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!quoted) {
            quoted = c == '"' && fieldStart;
            broken = false;
            fieldStart = EndsField(c);
            continue;
        }
        if (c == '\n' || c == '\r') {
            broken = true;
        } else if (c == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
                ++i; // a quote inside the text
                continue;
            }
            // Only a quote that ends the field closes it.
            if (i + 1 == text.size() || EndsField(text[i + 1])) {
                if (broken)
                    return true;
                quoted = false;
            }
        }
    }
    return false;
}

bool HasLearningRecord(QByteArrayView line) {
    const LineFields fields = SplitFields(line);
    return IsNumber(fields[3]) && IsNumber(fields[4]) && IsNumber(fields[5]);
}

FileKind KindOfFile(const DeckLines &lines) {
    const QByteArrayView bytes(lines.Bytes());
    if (LooksBinary(bytes))
        return FileKind::Binary;
    if (IsUnsuitable(lines))
        return FileKind::NotDeck;
    const QByteArrayView probe = bytes.first(std::min(bytes.size(), kProbeBytes));
    if (LooksLikeOtherProgramsText(probe) || LooksLikeSpreadsheet(bytes, probe))
        return FileKind::OtherText;
    return FileKind::Deck;
}

QString NotTextMessage() {
    return QStringLiteral("このファイルはテキストファイルではありません"
                          "（NUL 文字や制御文字を含んでいます）。\n"
                          "開くことも取り込むこともできません。ファイルはそのままです。");
}

} // namespace exchange
