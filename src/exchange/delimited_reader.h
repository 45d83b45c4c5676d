#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <vector>

namespace exchange {

// Reads separated values as RFC 4180 describes them, over Shift-JIS bytes: records end at
// CR LF, LF or CR; a field that starts with a double quote runs to the next lone double quote,
// holding separators and line breaks, and a doubled quote inside stands for one; anything after
// its closing quote up to the next separator is kept as it is. A quote inside an unquoted field
// is an ordinary character. Empty lines are skipped.
class DelimitedReader {
public:
    // Records longer than `maxRecordBytes` (an unclosed quote swallowing the rest of a file,
    // or a file that is no text at all) stop the reading with TooLong().
    DelimitedReader(QByteArrayView text, char separator, qsizetype maxRecordBytes);

    // Moves to the next record; false at the end of the text or when a record is too long.
    bool Next();
    // The fields of the current record, valid until the next call of Next().
    const std::vector<QByteArrayView> &Fields() const { return fields_; }
    // The line (1-based) the current record, or the record that was too long, starts on.
    qsizetype LineNumber() const { return recordLine_; }
    bool TooLong() const { return tooLong_; }
    // Whether a field of the current record was written in quotes, as an empty text that is
    // meant as one is ("").
    bool AnyQuoted() const { return anyQuoted_; }
    // Where the reader stands in the text: the byte after the last record read.
    qsizetype Position() const { return pos_; }

private:
    bool AtRecordEnd() const;
    void SkipRecordEnd();
    QByteArrayView QuotedField(qsizetype recordStart);
    QByteArrayView PlainField();

    QByteArrayView text_;
    char separator_;
    std::array<bool, 256> ends_{}; // the bytes that end a plain field: separator, CR, LF
    qsizetype maxRecordBytes_;
    qsizetype pos_ = 0;
    qsizetype line_ = 1;
    qsizetype recordLine_ = 0;
    bool tooLong_ = false;
    bool anyQuoted_ = false;
    std::vector<QByteArrayView> fields_;
    // Unescaped quoted fields of the current record; one buffer per field, kept between records.
    std::vector<QByteArray> unescaped_;
};

// The maximum length of one record, as the readers of the import use it.
constexpr qsizetype kMaxRecordBytes = qsizetype(1) << 20;

} // namespace exchange
