#include "exchange/delimited_reader.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace exchange {

DelimitedReader::DelimitedReader(QByteArrayView text, char separator, qsizetype maxRecordBytes)
    : text_(text), separator_(separator), maxRecordBytes_(maxRecordBytes) {
    for (const char c : {separator, '\r', '\n'})
        ends_[uchar(c)] = true;
}

bool DelimitedReader::AtRecordEnd() const {
    return pos_ >= text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n';
}

void DelimitedReader::SkipRecordEnd() {
    if (pos_ >= text_.size())
        return;
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')
        ++pos_;
    ++pos_;
    ++line_;
}

bool DelimitedReader::Next() {
    fields_.clear();
    anyQuoted_ = false;
    if (tooLong_)
        return false;
    // Empty lines hold no record.
    while (pos_ < text_.size() && (text_[pos_] == '\r' || text_[pos_] == '\n'))
        SkipRecordEnd();
    if (pos_ >= text_.size())
        return false;
    const qsizetype recordStart = pos_;
    recordLine_ = line_;
    for (;;) {
        const bool quoted = pos_ < text_.size() && text_[pos_] == '"';
        anyQuoted_ = anyQuoted_ || quoted;
        fields_.push_back(quoted ? QuotedField(recordStart) : PlainField());
        if (tooLong_ || pos_ - recordStart > maxRecordBytes_) {
            tooLong_ = true;
            fields_.clear();
            return false;
        }
        if (AtRecordEnd())
            break;
        ++pos_; // the separator
    }
    SkipRecordEnd();
    return true;
}

QByteArrayView DelimitedReader::PlainField() {
    const qsizetype start = pos_;
    const char *const data = text_.data();
    const qsizetype size = text_.size();
    qsizetype pos = pos_;
#if defined(__SSE2__)
    // Sixteen bytes at a time while sixteen are left.
    const __m128i separator = _mm_set1_epi8(separator_);
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (size - pos >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + pos));
        const __m128i ends =
            _mm_or_si128(_mm_cmpeq_epi8(chunk, separator),
                         _mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf)));
        const int mask = _mm_movemask_epi8(ends);
        if (mask != 0) {
            pos += __builtin_ctz(unsigned(mask));
            pos_ = pos;
            return text_.sliced(start, pos - start);
        }
        pos += 16;
    }
#endif
    while (pos < size && !ends_[uchar(data[pos])])
        ++pos;
    pos_ = pos;
    return text_.sliced(start, pos - start);
}

QByteArrayView DelimitedReader::QuotedField(qsizetype recordStart) {
    const size_t index = fields_.size();
    if (unescaped_.size() <= index)
        unescaped_.resize(index + 1);
    QByteArray &out = unescaped_[index];
    out.resize(0);
    ++pos_; // the opening quote
    qsizetype runStart = pos_;
    bool doubled = false;
    for (;;) {
        if (pos_ - recordStart > maxRecordBytes_) {
            tooLong_ = true;
            return {};
        }
        if (pos_ >= text_.size())
            break; // an unclosed quote runs to the end of the text
        const char c = text_[pos_];
        if (c == '\n' || (c == '\r' && !(pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')))
            ++line_;
        if (c != '"') {
            ++pos_;
            continue;
        }
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
            out.append(text_.sliced(runStart, pos_ + 1 - runStart)); // one quote of the pair
            pos_ += 2;
            runStart = pos_;
            doubled = true;
            continue;
        }
        break;
    }
    const qsizetype runEnd = pos_;
    if (pos_ < text_.size())
        ++pos_; // the closing quote
    const QByteArrayView after = PlainField();
    if (!doubled && after.isEmpty())
        return text_.sliced(runStart, runEnd - runStart);
    out.append(text_.sliced(runStart, runEnd - runStart));
    out.append(after);
    return out;
}

} // namespace exchange
