#include "exchange/card_export.h"

#include "deck/card.h"
#include "deck/sjis_codec.h"
#include "exchange/html_text.h"
#include "exchange/sjis_table.h"

namespace exchange {

namespace {

// The column names in Shift-JIS: 問題 解答 参考 and 期日 正解 不正解.
const QByteArray kTextNames[] = {"\x96\xe2\x91\xe8", "\x89\xf0\x93\x9a", "\x8e\x51\x8d\x6c"};
const QByteArray kRecordNames[] = {"\x8a\xfa\x93\xfa", "\x90\xb3\x89\xf0",
                                   "\x95\x73\x90\xb3\x89\xf0"};

// The record is built in Shift-JIS and converted once at the end: separators, quotes and line
// ends are never the second byte of a Shift-JIS character, so they can be written as bytes.
class Writer {
public:
    Writer(const ExportOptions &options, qsizetype expectedBytes)
        : separator_(options.format == ExportFormat::Csv ? ',' : '\t'),
          html_(options.format == ExportFormat::Notes),
          lineEnd_(options.format == ExportFormat::Notes ? "\n" : "\r\n") {
        out_.reserve(expectedBytes);
    }

    void Raw(QByteArrayView bytes) { out_.append(bytes); }
    void Field(QByteArrayView text) {
        if (!atRecordStart_)
            out_.append(separator_);
        atRecordStart_ = false;
        const bool plain = std::none_of(text.begin(), text.end(), [](char c) {
            return c == '&' || c == '<' || c == '>' || c == '\r' || c == '\n';
        });
        if (html_ && !plain) {
            Quoted(TextToHtml(text));
            return;
        }
        Quoted(text);
    }
    void EndRecord() {
        out_.append(lineEnd_);
        atRecordStart_ = true;
    }
    QByteArray Take() { return std::move(out_); }

private:
    // Quotes a field holding a separator, a quote or a line break; doubles the quotes inside.
    void Quoted(QByteArrayView text) {
        const bool needsQuotes = std::any_of(text.begin(), text.end(), [this](char c) {
            return c == separator_ || c == '"' || c == '\r' || c == '\n';
        });
        if (!needsQuotes) {
            out_.append(text);
            return;
        }
        out_.append('"');
        for (const char c : text) {
            if (c == '"')
                out_.append('"');
            out_.append(c);
        }
        out_.append('"');
    }

    QByteArray out_;
    char separator_;
    bool html_;
    QByteArrayView lineEnd_;
    bool atRecordStart_ = true;
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

// The display form without copying when the text has no line break.
class Shown {
public:
    explicit Shown(const QByteArray &stored) {
        view_ = stored;
        if (view_.size() >= 2 && view_.front() == '"' && view_.back() == '"')
            view_ = view_.sliced(1, view_.size() - 2);
        if (view_.contains(QByteArrayView("\\n"))) {
            decoded_ = DecodeLineBreaks(view_.toByteArray());
            view_ = decoded_;
        }
    }
    QByteArrayView View() const { return view_; }

private:
    QByteArrayView view_;
    QByteArray decoded_;
};

// "yyyy-MM-dd", or empty for a day no calendar holds.
QByteArray DateText(qint32 day) {
    const QDate date = DateOfDay(day);
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    if (!date.isValid() || y < 0 || y > 9999)
        return date.toString(Qt::ISODate).toLatin1();
    const char text[] = {char('0' + y / 1000),
                         char('0' + y / 100 % 10),
                         char('0' + y / 10 % 10),
                         char('0' + y % 10),
                         '-',
                         char('0' + m / 10),
                         char('0' + m % 10),
                         '-',
                         char('0' + d / 10),
                         char('0' + d % 10)};
    return QByteArray(text, sizeof text);
}

} // namespace

QDate DateOfDay(qint32 day) {
    return QDate(1899, 12, 30).addDays(day);
}

QByteArray ExportCards(const CardOwnerList &cards, const ExportOptions &options) {
    qsizetype expected = 0;
    for (const auto &card : cards)
        expected += card->Mondai().size() + card->Kaitou().size() + card->Sankou().size() + 8;
    Writer writer(options, expected + expected / 8 + 256);
    if (options.format == ExportFormat::Notes)
        WriteNoteHeader(writer, options);
    else if (options.headerRow)
        WriteNameRow(writer, options);
    for (const auto &card : cards) {
        writer.Field(Shown(card->Mondai()).View());
        writer.Field(Shown(card->Kaitou()).View());
        writer.Field(Shown(card->Sankou()).View());
        if (options.withRecord) {
            writer.Field(DateText(card->Jikan));
            writer.Field(QByteArray::number(card->Seikai));
            writer.Field(QByteArray::number(card->Fuseikai));
        }
        writer.EndRecord();
    }
    return ShiftJisToUtf8(writer.Take());
}

} // namespace exchange
