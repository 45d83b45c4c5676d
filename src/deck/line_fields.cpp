#include "deck/line_fields.h"

#include <emmintrin.h>

#include <cstring>

namespace {

constexpr qsizetype kBlock = 16;

bool IsMark(char c) {
    return c == ',' || c == '"' || c == '\r';
}

const char *FindByte(const char *from, const char *end, char c) {
    return static_cast<const char *>(std::memchr(from, c, size_t(end - from)));
}

// The closing quote of a quoted field starting at `open`: the first quote after it that is
// followed by a comma, or nullptr. (Quotes and commas are never the second byte of a
// double-byte character, so a byte search is a character search.)
const char *ClosingQuote(const char *open, const char *end) {
    for (const char *p = open + 1; (p = FindByte(p, end, '"')); ++p) {
        if (p + 1 < end && p[1] == ',')
            return p;
    }
    return nullptr;
}

} // namespace

LineFields SplitFields(QByteArrayView line) {
    LineFields fields;
    const char *pos = line.data();
    const char *const end = pos + line.size();
    for (QByteArrayView &field : fields) {
        if (pos >= end)
            break;
        if (*pos == '"') {
            if (const char *close = ClosingQuote(pos, end)) {
                field = QByteArrayView(pos, close + 1 - pos);
                pos = close + 2;
                continue;
            }
            if (end[-1] == '"') {
                field = QByteArrayView(pos, end - pos);
                pos = end;
                continue;
            }
            // No end by the quoting rules: it ends like any other field.
        }
        const char *comma = FindByte(pos, end, ',');
        const char *stop = comma ? comma : end;
        field = QByteArrayView(pos, stop - pos);
        pos = comma ? comma + 1 : end;
    }
    return fields;
}

FieldScanner::FieldScanner(const DeckLines &lines)
    : FieldScanner(QByteArrayView(lines.Bytes()), lines.Count()) {}

FieldScanner::FieldScanner(QByteArrayView bytes, qsizetype lines)
    : block_(bytes.data()), end_(block_ + bytes.size()), lineStart_(block_), linesLeft_(lines) {
    if (block_ != end_)
        LoadBlock();
}

inline void FieldScanner::LoadBlock() {
    if (end_ - block_ >= kBlock) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block_));
        const __m128i found = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(',')),
                                                        _mm_cmpeq_epi8(bytes, _mm_set1_epi8('"'))),
                                           _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
        marks_ = quint32(_mm_movemask_epi8(found));
        return;
    }
    // The last few bytes, one at a time, so that nothing past the end is read.
    marks_ = 0;
    for (qsizetype i = 0; i < end_ - block_; ++i)
        marks_ |= IsMark(block_[i]) ? quint32(1) << i : 0;
}

inline bool FieldScanner::NextMark(const char *&mark) {
    while (marks_ == 0) {
        if (end_ - block_ <= kBlock)
            return false;
        block_ += kBlock;
        LoadBlock();
    }
    mark = block_ + __builtin_ctz(marks_);
    marks_ &= marks_ - 1;
    return true;
}

bool FieldScanner::Next(LineFields &fields) {
    if (linesLeft_ == 0)
        return false;
    --linesLeft_;
    fields = {};
    const char *const line = lineStart_;
    const char *start = line; // of the field being read
    size_t count = 0;         // fields found so far
    bool quoted = false;      // a field opens with a double quote
    const char *mark = end_;
    while (NextMark(mark) && *mark != '\r') {
        if (count == fields.size())
            continue;
        if (*mark == '"') {
            quoted = quoted || mark == start;
            continue;
        }
        fields[count++] = QByteArrayView(start, mark - start);
        start = mark + 1;
    }
    const char *const lineEnd = mark; // its CR; every line is followed by CR LF
    if (lineEnd == end_)
        linesLeft_ = 0; // lines without their ends: none follow
    if (quoted)
        fields = SplitFields(QByteArrayView(line, lineEnd - line));
    else if (count < fields.size())
        fields[count] = QByteArrayView(start, lineEnd - start);
    lineStart_ = lineEnd + 2;
    return true;
}
