#include "exchange/card_import.h"

#include "deck/card.h"
#include "deck/card_source.h"
#include "deck/sjis_codec.h"
#include "exchange/delimited_reader.h"
#include "exchange/html_text.h"
#include "exchange/note_header.h"

#include <algorithm>
#include <cstring>

namespace exchange {

namespace {

// Detection looks at the start of a file only.
constexpr qsizetype kProbeBytes = 64 * 1024;
constexpr int kProbeRecords = 20;

QByteArrayView Probe(QByteArrayView bytes) {
    return bytes.first(std::min(bytes.size(), kProbeBytes));
}

// Names that a first row of column names is made of.
bool IsColumnName(QByteArrayView field) {
    static const QByteArray kNames[] = {
        "question", "answer", "front", "back", "term", "definition", "reference", "notes", "note",
        "word", "meaning", "reading", "example", "tags", "deck", "extra",
        // 問題 解答 参考 表 裏 意味 単語 in Shift-JIS
        "\x96\xe2\x91\xe8", "\x89\xf0\x93\x9a", "\x8e\x51\x8d\x6c", "\x95\x5c", "\x97\xa0",
        "\x88\xd3\x96\xa1", "\x92\x50\x8c\xea"};
    const QByteArray lower = field.trimmed().toByteArray().toLower();
    return std::find(std::begin(kNames), std::end(kNames), lower) != std::end(kNames);
}

bool IsHeaderRecord(const std::vector<QByteArrayView> &fields) {
    return fields.size() >= 2 && IsColumnName(fields[0]) && IsColumnName(fields[1]);
}

// Fields hold HTML when a line break or a block is written as a tag.
bool LooksLikeHtml(QByteArrayView text) {
    const QByteArray lower = text.toByteArray().toLower();
    return lower.contains("<br") || lower.contains("<div") || lower.contains("&nbsp;");
}

std::array<int, 3> DefaultColumns(const NoteHeader &header, int columnCount) {
    std::array<int, 3> columns = {kNoColumn, kNoColumn, kNoColumn};
    size_t next = 0;
    for (int column = 0; column < columnCount && next < columns.size(); ++column)
        if (!header.IsMetaColumn(column))
            columns[next++] = column;
    if (columns[Question] == kNoColumn)
        columns[Question] = 0;
    return columns;
}

int WidestRecord(QByteArrayView body, char separator, int records) {
    DelimitedReader reader(body, separator, kMaxRecordBytes);
    int widest = 0;
    for (int i = 0; i < records && reader.Next(); ++i)
        widest = std::max(widest, int(reader.Fields().size()));
    return widest;
}

QString ShownName(QByteArrayView name) {
    return sjis::ToDisplay(name.trimmed().toByteArray()).text;
}

QStringList ColumnNames(const QList<QByteArray> &named, int count) {
    QStringList names;
    for (int column = 0; column < count; ++column) {
        const QString name = column < named.size() ? ShownName(named[column]) : QString();
        names << (name.isEmpty() ? QStringLiteral("列 %1").arg(column + 1) : name);
    }
    return names;
}

// The bytes that keep a field from being stored as it is: quotes, commas and line breaks.
constexpr std::array<bool, 256> kNotPlain = [] {
    std::array<bool, 256> notPlain{};
    for (const char c : {'"', ',', '\r', '\n'})
        notPlain[uchar(c)] = true;
    return notPlain;
}();

// About how many records a body holds, from the line ends of its start, for reserving room.
size_t EstimatedRecords(QByteArrayView body) {
    const QByteArrayView probe = Probe(body);
    if (probe.isEmpty())
        return 0;
    const qsizetype lines = std::count(probe.begin(), probe.end(), '\n') + 1;
    // A tenth more: the room runs out only where lines grow shorter than at the start.
    return size_t(lines * body.size() / probe.size() * 11 / 10);
}

bool IsQuoted(QByteArrayView text) {
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// Builds cards from records: the chosen columns, reduced from HTML when asked, in stored form.
class CardMaker {
public:
    // Plain fields lying in `text`, the whole file in Shift-JIS, become slices of it.
    CardMaker(const ImportOptions &options, ImportResult &result, const QByteArray &text)
        : options_(options), result_(result), source_(text) {}

    // A record whose texts are all empty is a card only when it says so with quotes (""), as
    // an export writes it: the empty rows a spreadsheet leaves are no cards.
    void Take(const std::vector<QByteArrayView> &fields, bool quoted) {
        std::array<QByteArray, 3> made; // texts that had to change on the way
        CardSource::Texts texts{};
        bool any = false;
        for (size_t i = 0; i < made.size(); ++i) {
            const int column = options_.columns[i];
            if (column < 0 || size_t(column) >= fields.size() || fields[column].isEmpty())
                continue;
            texts[i] = Stored(fields[column], made[i]);
            any = any || !texts[i].isEmpty();
        }
        if (any || quoted)
            result_.cards.push_back(source_.NewCard(texts, 0, 0, 0));
    }

private:
    // The stored form of a field: the field itself when it needs no change, else `made`. A field
    // outside the text (a quoted field comes unescaped in the reader's own storage, which it
    // reuses) is copied by the card.
    QByteArrayView Stored(QByteArrayView field, QByteArray &made) {
        if (options_.html) {
            const QByteArray text = HtmlToText(field, &result_.unencodable);
            made = StoredFormOf(text, &result_.quoteCommaSeparated);
            return made;
        }
        const bool plain =
            std::none_of(field.begin(), field.end(), [](char c) { return kNotPlain[uchar(c)]; });
        if (plain)
            return field;
        made = StoredFormOf(field, &result_.quoteCommaSeparated);
        return made;
    }

    const ImportOptions &options_;
    ImportResult &result_;
    CardSource source_;
};

} // namespace

char DetectSeparator(QByteArrayView text) {
    // Consistent records first, then more fields per record (a deck line with a tab in a text
    // still has seven comma-separated fields), then the order below.
    char best = ',';
    std::pair<int, qsizetype> bestScore = {0, 0};
    for (const char separator : {'\t', ',', ';'}) {
        DelimitedReader reader(text, separator, kMaxRecordBytes);
        int consistent = 0;
        qsizetype firstCount = 0;
        for (int i = 0; i < kProbeRecords && reader.Next(); ++i) {
            const qsizetype count = qsizetype(reader.Fields().size());
            if (i == 0)
                firstCount = count;
            consistent += count > 1 && count == firstCount;
        }
        const std::pair<int, qsizetype> score = {consistent, consistent > 0 ? firstCount : 0};
        if (score > bestScore) {
            best = separator;
            bestScore = score;
        }
    }
    return best;
}

ImportOptions DetectImportOptions(QByteArrayView fileBytes) {
    ImportOptions options;
    const QByteArrayView probe = Probe(fileBytes);
    options.encoding = DetectEncoding(probe);
    const QByteArray text = ToShiftJis(probe, options.encoding).bytes;
    const NoteHeader header = ReadNoteHeader(text);
    const QByteArrayView body = QByteArrayView(text).sliced(header.bodyOffset);
    options.separator = header.separator.value_or(DetectSeparator(body));
    options.html = header.html.value_or(LooksLikeHtml(body));
    DelimitedReader reader(body, options.separator, kMaxRecordBytes);
    options.headerRow =
        header.columns.isEmpty() && reader.Next() && IsHeaderRecord(reader.Fields());
    options.columns = DefaultColumns(header, WidestRecord(body, options.separator, kProbeRecords));
    return options;
}

bool LooksLikeOtherProgramsText(QByteArrayView fileBytes) {
    const ImportOptions options = DetectImportOptions(fileBytes);
    if (options.separator == '\t' || options.encoding == SourceEncoding::Utf16LE ||
        options.encoding == SourceEncoding::Utf16BE)
        return true;
    return ReadNoteHeader(ToShiftJis(Probe(fileBytes), options.encoding).bytes).lineCount > 0;
}

bool HoldsCardColumns(QByteArrayView fileBytes) {
    const ImportResult result = ImportCards(fileBytes, DetectImportOptions(fileBytes));
    return result.ok() && result.columnNames.size() >= 2;
}

QString ImportResult::ErrorMessage() const {
    switch (error) {
    case ImportError::None:
        break;
    case ImportError::NoCards:
        return QStringLiteral("取り込めるカードがありません。\n"
                              "文字コード、区切り文字、列の割り当てを確かめてください。");
    case ImportError::RecordTooLong:
        return QStringLiteral("%1 行目から始まる行が長すぎるため、取り込めません。\n"
                              "（1 行は %2 KB まで。閉じていない「\"」があるかもしれません）")
            .arg(errorLine)
            .arg(kMaxRecordBytes / 1024);
    }
    return {};
}

ImportResult ImportCards(QByteArrayView fileBytes, const ImportOptions &options) {
    ImportResult result;
    ShiftJisText text = ToShiftJis(fileBytes, options.encoding);
    result.unencodable = std::move(text.unencodable);
    const NoteHeader header = ReadNoteHeader(text.bytes);
    const QByteArrayView body = QByteArrayView(text.bytes).sliced(header.bodyOffset);

    DelimitedReader reader(body, options.separator, kMaxRecordBytes);
    QList<QByteArray> named = header.ColumnNames(options.separator);
    int widest = 0;
    bool first = true;
    CardMaker maker(options, result, text.bytes);
    result.cards.reserve(EstimatedRecords(body));
    while (reader.Next()) {
        const std::vector<QByteArrayView> &fields = reader.Fields();
        widest = std::max(widest, int(fields.size()));
        if (first && options.headerRow) {
            named.clear();
            for (const QByteArrayView field : fields)
                named << field.toByteArray();
        } else {
            maker.Take(fields, reader.AnyQuoted());
        }
        first = false;
    }
    result.columnNames = ColumnNames(named, std::max<int>(widest, int(named.size())));
    if (reader.TooLong()) {
        result.error = ImportError::RecordTooLong;
        result.errorLine = reader.LineNumber() + header.lineCount;
        result.cards.clear();
    } else if (result.cards.empty()) {
        result.error = ImportError::NoCards;
    }
    return result;
}

QByteArray StoredFormOf(QByteArrayView text, bool *quoteCommaSeparated) {
    // Without quotes and line breaks nothing below applies but the quotes a comma needs.
    const bool simple = std::none_of(text.begin(), text.end(),
                                     [](char c) { return c == '"' || c == '\r' || c == '\n'; });
    if (simple) {
        if (!text.contains(','))
            return text.toByteArray();
        QByteArray quoted(text.size() + 2, Qt::Uninitialized);
        quoted[0] = '"';
        std::memcpy(quoted.data() + 1, text.data(), size_t(text.size()));
        quoted[quoted.size() - 1] = '"';
        return quoted;
    }
    QByteArray value = EncodeLineBreaks(text.toByteArray());
    // The deck's own rule drops a break at the very end (an edit box shows one more line
    // after it); a text from a file keeps it.
    if (text.endsWith('\r') || text.endsWith('\n'))
        value += "\\n";
    const QByteArray separated = SeparateQuoteCommas(value);
    if (separated.size() != value.size() && quoteCommaSeparated)
        *quoteCommaSeparated = true;
    // The display form drops one pair of enclosing quotes: a text in quotes needs one more.
    if (IsQuoted(separated))
        value = '"' + separated + '"';
    TMondaiSet card;
    card.SetField(1, value);
    return card.Mondai();
}

void TakeAsNewDeck(Deck &deck, CardRefList &askQueue, CardOwnerList cards) {
    askQueue.clear();
    deck.StartUnsaved(std::move(cards));
    askQueue.reserve(deck.Cards().size());
    for (const auto &card : deck.Cards())
        askQueue.push_back(card.get());
}

void AppendCards(Deck &deck, CardRefList &askQueue, CardOwnerList cards) {
    for (const auto &card : cards)
        askQueue.push_back(card.get());
    deck.AppendCards(std::move(cards));
}

} // namespace exchange
