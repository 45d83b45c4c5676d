#include "exchange/card_export.h"

#include "deck/card.h"
#include "deck/large_memory.h"
#include "deck/sjis_codec.h"
#include "exchange/html_text.h"
#include "exchange/sjis_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace exchange {

namespace {

// The column names in Shift-JIS: 問題 解答 参考 and 期日 正解 不正解.
const QByteArray kTextNames[] = {"\x96\xe2\x91\xe8", "\x89\xf0\x93\x9a", "\x8e\x51\x8d\x6c"};
const QByteArray kRecordNames[] = {"\x8a\xfa\x93\xfa", "\x90\xb3\x89\xf0",
                                   "\x95\x73\x90\xb3\x89\xf0"};

// Whether `text` holds the two bytes "\\n", looked for by their rarer first byte.
bool HoldsLineBreak(QByteArrayView text) {
    if (text.isEmpty())
        return false;
    const char *const end = text.data() + text.size();
    for (const char *at = text.data();; ++at) {
        at = static_cast<const char *>(std::memchr(at, '\\', size_t(end - at)));
        if (!at || at + 1 == end)
            return false;
        if (at[1] == 'n')
            return true;
    }
}

// Texts go out in UTF-8, converted by table as they are written, each field once. Separators,
// quotes and line ends are never the second byte of a Shift-JIS character, so they are written
// and looked for as bytes. A deck with bytes the table cannot decode on their own is written in
// Shift-JIS instead, for the codec to convert as a whole.
class Writer {
public:
    enum class Output { Utf8, ShiftJis };

    Writer(const ExportOptions &options, qsizetype expectedBytes, Output output)
        : separator_(options.format == ExportFormat::Csv ? ',' : '\t'),
          html_(options.format == ExportFormat::Notes),
          lineEnd_(options.format == ExportFormat::Notes ? "\n" : "\r\n"),
          utf8_(output == Output::Utf8) {
        out_ = large_memory::UninitializedBytes(std::max<qsizetype>(expectedBytes, 64));
        for (const char c : {separator_, '"', '\r', '\n'})
            kinds_[uchar(c)] |= kNeedsQuotes;
        for (const char c : {'&', '<', '>', '\r', '\n'})
            kinds_[uchar(c)] |= kHtmlSpecial;
        kinds_[uchar('\\')] |= kBackslash;
        for (int b = 0x80; b < 0x100; ++b)
            kinds_[size_t(b)] |= kNonAscii;
    }

    void Raw(QByteArrayView bytes) {
        Reserve(3 * bytes.size());
        Put(bytes);
    }
    // A card's text as the user sees it: the enclosing quotes of the stored form left out, and
    // "\\n" as a line break.
    void Text(QByteArrayView text) {
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
            text = text.sliced(1, text.size() - 2);
        const uchar kinds = KindsOf(text);
        if ((kinds & kBackslash) && HoldsLineBreak(text)) {
            const QByteArray shown = DecodeLineBreaks(text.toByteArray());
            Field(shown, KindsOf(shown));
            return;
        }
        Field(text, kinds);
    }
    void Field(QByteArrayView text) { Field(text, KindsOf(text)); }
    // An empty field in quotes: a card whose texts are all empty still reads back as a card.
    void EmptyQuoted() {
        Reserve(3);
        if (!atRecordStart_)
            out_.data()[size_++] = separator_;
        atRecordStart_ = false;
        out_.data()[size_++] = '"';
        out_.data()[size_++] = '"';
    }
    void EndRecord() {
        Raw(lineEnd_);
        atRecordStart_ = true;
    }
    // A text held bytes the table cannot decode: what was written is of no use.
    bool Failed() const { return failed_; }
    qsizetype Size() const { return size_; }
    QByteArrayView Written() const { return QByteArrayView(out_.constData(), size_); }
    // Starts again at the start of the buffer, between records.
    void Clear() { size_ = 0; }
    QByteArray Take() {
        out_.truncate(size_);
        return std::move(out_);
    }

private:
    static constexpr uchar kNeedsQuotes = 1;
    static constexpr uchar kHtmlSpecial = 2;
    static constexpr uchar kBackslash = 4;
    static constexpr uchar kNonAscii = 8;

    uchar KindsOf(QByteArrayView text) const {
        uchar kinds = 0;
        for (const char c : text)
            kinds |= kinds_[uchar(c)];
        return kinds;
    }

    void Field(QByteArrayView text, uchar kinds) {
        if (html_ && (kinds & kHtmlSpecial)) {
            const QByteArray html = TextToHtml(text);
            Quoted(html, KindsOf(html));
            return;
        }
        Quoted(text, kinds);
    }

    // Quotes a field holding a separator, a quote or a line break; doubles the quotes inside.
    void Quoted(QByteArrayView text, uchar kinds) {
        // Each byte takes at most three bytes in UTF-8, a doubled quote two.
        Reserve(3 * text.size() + 3);
        if (!atRecordStart_)
            out_.data()[size_++] = separator_;
        atRecordStart_ = false;
        if (!(kinds & kNeedsQuotes)) {
            if (kinds & kNonAscii)
                Put(text);
            else
                PutAscii(text);
            return;
        }
        out_.data()[size_++] = '"';
        for (qsizetype quote; (quote = text.indexOf('"')) >= 0; text = text.sliced(quote + 1)) {
            Put(text.first(quote + 1));
            out_.data()[size_++] = '"';
        }
        Put(text);
        out_.data()[size_++] = '"';
    }

    // Room for `more` bytes after what is written.
    void Reserve(qsizetype more) {
        if (out_.size() - size_ < more)
            out_.resize(std::max(out_.size() * 2, size_ + more));
    }

    // ASCII is the same in both encodings.
    void PutAscii(QByteArrayView bytes) {
        if (bytes.isEmpty())
            return;
        std::memcpy(out_.data() + size_, bytes.data(), size_t(bytes.size()));
        size_ += bytes.size();
    }

    void Put(QByteArrayView bytes) {
        if (!utf8_) {
            PutAscii(bytes);
            return;
        }
        char *const data = out_.data();
        char *const end = failed_ ? nullptr : WriteAsUtf8(bytes, data + size_);
        if (end)
            size_ = end - data;
        else
            failed_ = true;
    }

    QByteArray out_; // written up to size_, the rest room to write in
    qsizetype size_ = 0;
    char separator_;
    bool html_;
    QByteArrayView lineEnd_;
    bool utf8_;
    bool failed_ = false;
    bool atRecordStart_ = true;
    std::array<uchar, 256> kinds_{};
};

void WriteNoteHeader(Writer &writer, const ExportOptions &options) {
    writer.Raw("#separator:tab\n#html:true\n#columns:");
    QByteArrayList names(std::begin(kTextNames), std::end(kTextNames));
    if (options.withRecord)
        names.append(QByteArrayList(std::begin(kRecordNames), std::end(kRecordNames)));
    writer.Raw(names.join('\t'));
    writer.Raw("\n");
}

void WriteNameRow(Writer &writer, const ExportOptions &options) {
    for (const QByteArray &name : kTextNames)
        writer.Field(name);
    if (options.withRecord)
        for (const QByteArray &name : kRecordNames)
            writer.Field(name);
    writer.EndRecord();
}

// "yyyy-MM-dd", or empty for a day no calendar holds.
class DateText {
public:
    explicit DateText(qint32 day) {
        const QDate date = DateOfDay(day);
        int y = 0, m = 0, d = 0;
        date.getDate(&y, &m, &d);
        if (!date.isValid() || y < 0 || y > 9999) {
            other_ = date.toString(Qt::ISODate).toLatin1();
            view_ = other_;
            return;
        }
        const char digits[] = {char('0' + y / 1000),
                               char('0' + y / 100 % 10),
                               char('0' + y / 10 % 10),
                               char('0' + y % 10),
                               '-',
                               char('0' + m / 10),
                               char('0' + m % 10),
                               '-',
                               char('0' + d / 10),
                               char('0' + d % 10)};
        std::memcpy(text_, digits, sizeof digits);
        view_ = QByteArrayView(text_, sizeof digits);
    }
    QByteArrayView View() const { return view_; }

private:
    char text_[10];
    QByteArray other_;
    QByteArrayView view_;
};

class NumberText {
public:
    explicit NumberText(qint32 number)
        : view_(text_, std::to_chars(text_, text_ + sizeof text_, number).ptr - text_) {}
    QByteArrayView View() const { return view_; }

private:
    char text_[12];
    QByteArrayView view_;
};

void WriteHeader(Writer &writer, const ExportOptions &options) {
    if (options.format == ExportFormat::Notes)
        WriteNoteHeader(writer, options);
    else if (options.headerRow)
        WriteNameRow(writer, options);
}

void WriteCard(Writer &writer, const TMondaiSet &card, const ExportOptions &options) {
    const auto texts = card.Views();
    const auto shownEmpty = [&](TMondaiSet::Text which) {
        return texts[which].isEmpty() || texts[which] == "\"\"";
    };
    if (shownEmpty(TMondaiSet::kMondai) && shownEmpty(TMondaiSet::kKaitou) &&
        shownEmpty(TMondaiSet::kSankou))
        writer.EmptyQuoted();
    else
        writer.Text(texts[TMondaiSet::kMondai]);
    writer.Text(texts[TMondaiSet::kKaitou]);
    writer.Text(texts[TMondaiSet::kSankou]);
    if (options.withRecord) {
        writer.Field(DateText(card.Jikan).View());
        writer.Field(NumberText(card.Seikai).View());
        writer.Field(NumberText(card.Fuseikai).View());
    }
    writer.EndRecord();
}

// The whole export in Shift-JIS, converted by the codec at once.
QByteArray ExportThroughCodec(const CardOwnerList &cards, const ExportOptions &options,
                              qsizetype textBytes) {
    Writer writer(options, textBytes + textBytes / 8 + 256, Writer::Output::ShiftJis);
    WriteHeader(writer, options);
    for (const auto &card : cards)
        WriteCard(writer, *card, options);
    return ShiftJisToUtf8(writer.Take());
}

qsizetype TextBytes(const CardOwnerList &cards) {
    qsizetype bytes = 0;
    for (const auto &card : cards) {
        const auto texts = card->Views();
        bytes += texts[TMondaiSet::kMondai].size() + texts[TMondaiSet::kKaitou].size() +
                 texts[TMondaiSet::kSankou].size() + 8;
    }
    return bytes;
}

} // namespace

QDate DateOfDay(qint32 day) {
    return QDate(1899, 12, 30).addDays(day);
}

QByteArray ExportCards(const CardOwnerList &cards, const ExportOptions &options) {
    const qsizetype textBytes = TextBytes(cards);
    // Japanese takes half as many bytes again in UTF-8; the record adds about twenty.
    const qsizetype perCard = options.withRecord ? 24 : 0;
    Writer writer(options, textBytes + textBytes / 2 + perCard * qsizetype(cards.size()) + 256,
                  Writer::Output::Utf8);
    WriteHeader(writer, options);
    for (const auto &card : cards) {
        WriteCard(writer, *card, options);
        if (writer.Failed())
            return ExportThroughCodec(cards, options, textBytes);
    }
    return writer.Take();
}

FileResult ExportCardsToFile(const QString &path, const CardOwnerList &cards,
                             const ExportOptions &options) {
    // Blocks small enough to stay in the cache, reused: fresh memory for the whole export
    // would cost a page fault every few kilobytes.
    constexpr qsizetype kBlockBytes = qsizetype(1) << 20;
    Writer writer(options, kBlockBytes + kBlockBytes / 4, Writer::Output::Utf8);
    WriteHeader(writer, options);
    size_t next = 0;
    bool first = true;
    bool failed = false;
    const FileResult written = WriteTextFileInBlocks(path, [&]() -> std::optional<QByteArrayView> {
        if (!first)
            writer.Clear();
        first = false;
        while (next < cards.size() && writer.Size() < kBlockBytes)
            WriteCard(writer, *cards[next++], options);
        if (writer.Failed()) {
            failed = true;
            return std::nullopt; // the file stays as it was
        }
        return writer.Written();
    });
    if (failed)
        return WriteTextFile(path, ExportThroughCodec(cards, options, TextBytes(cards)));
    return written;
}

} // namespace exchange
