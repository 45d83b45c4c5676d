#include "deck/deck_lines.h"

#include "deck/file_access.h"
#include "deck/large_memory.h"

#include <emmintrin.h>

#include <cstring>
#include <utility>

namespace {

// Counts the matching bytes of sixteen-byte comparisons, in bytes of a register that are
// summed before they can overflow.
class MatchCounter {
public:
    void Add(__m128i matches) {
        counts_ = _mm_sub_epi8(counts_, matches); // a match is -1
        if (++pending_ == 255)
            Flush();
    }
    qsizetype Total() {
        Flush();
        return total_;
    }

private:
    void Flush() {
        const __m128i sums = _mm_sad_epu8(counts_, _mm_setzero_si128());
        total_ += qsizetype(_mm_cvtsi128_si32(sums)) + _mm_extract_epi16(sums, 4);
        counts_ = _mm_setzero_si128();
        pending_ = 0;
    }

    __m128i counts_ = _mm_setzero_si128();
    int pending_ = 0;
    qsizetype total_ = 0;
};

// True when every CR is followed by LF and every LF follows a CR, so the bytes already are
// lines each ending in CR LF (apart from possibly the last one). Counts the LFs on the way.
// One pass, sixteen bytes at a time: the LFs of a block must sit exactly one place after its
// CRs, a CR in the block's last byte carrying over to the next.
bool OnlyCrLfBreaks(const QByteArray &data, qsizetype *lineFeeds) {
    const char *p = data.constData();
    const char *const end = p + data.size();
    quint32 carry = 0; // 1 when the byte before p is a CR
    MatchCounter counter;
    qsizetype count = 0;
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i isLf = _mm_cmpeq_epi8(bytes, lf);
        const auto crs = quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr)));
        const auto lfs = quint32(_mm_movemask_epi8(isLf));
        if ((((crs << 1) | carry) & 0xFFFF) != lfs)
            return false;
        carry = crs >> 15;
        counter.Add(isLf);
    }
    for (; p < end; ++p) {
        const quint32 isCr = *p == '\r' ? 1 : 0;
        if (carry != (*p == '\n' ? 1u : 0u))
            return false;
        count += carry;
        carry = isCr;
    }
    if (carry) // a CR at the very end
        return false;
    *lineFeeds = count + counter.Total();
    return true;
}

} // namespace

qsizetype CountLineFeeds(QByteArrayView bytes) {
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    const __m128i lf = _mm_set1_epi8('\n');
    MatchCounter counter;
    for (; end - p >= 16; p += 16)
        counter.Add(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)), lf));
    qsizetype count = counter.Total();
    for (; p < end; ++p)
        count += *p == '\n' ? 1 : 0;
    return count;
}

DeckLines DeckLines::FromFileBytes(const QByteArray &data) {
    if (data.isEmpty())
        return {};
    qsizetype lineFeeds = 0;
    if (OnlyCrLfBreaks(data, &lineFeeds)) {
        // The usual case: the file already is what a save writes, shared without a copy.
        if (data.endsWith('\n'))
            return FromBytesWithCrLf(data, lineFeeds);
        return FromBytesWithCrLf(data + "\r\n", lineFeeds + 1);
    }
    // Every break becomes CR LF, and a last line without one gets it.
    qsizetype breaks = 0;
    qsizetype breakBytes = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] != '\r' && data[i] != '\n')
            continue;
        ++breakBytes;
        if (data[i] == '\n' || i + 1 == data.size() || data[i + 1] != '\n')
            ++breaks;
    }
    const bool openEnd = data.back() != '\r' && data.back() != '\n';
    const qsizetype count = breaks + (openEnd ? 1 : 0);
    QByteArray bytes = large_memory::UninitializedBytes(data.size() - breakBytes + 2 * count);
    char *out = bytes.data();
    const char *in = data.constData();
    const char *const end = in + data.size();
    while (in < end) {
        const char c = *in++;
        if (c != '\r' && c != '\n') {
            *out++ = c;
            continue;
        }
        if (c == '\r' && in < end && *in == '\n')
            ++in;
        *out++ = '\r';
        *out++ = '\n';
    }
    if (openEnd) {
        *out++ = '\r';
        *out++ = '\n';
    }
    return FromBytesWithCrLf(std::move(bytes), count);
}

DeckLines DeckLines::FromBytesWithCrLf(QByteArray bytes, qsizetype lineCount) {
    DeckLines lines;
    lines.bytes_ = std::move(bytes);
    lines.count_ = lineCount;
    return lines;
}

DeckLines DeckLines::Written(qsizetype lineCount, qsizetype size, quint64 hash) {
    DeckLines lines;
    lines.count_ = lineCount;
    lines.size_ = size;
    lines.hash_ = hash;
    lines.byHash_ = true;
    return lines;
}

quint64 DeckLines::Hash() const {
    return byHash_ ? hash_ : file_access::ContentHash(bytes_);
}

bool operator==(const DeckLines &a, const DeckLines &b) {
    if (a.count_ != b.count_)
        return false;
    if (!a.byHash_ && !b.byHash_)
        return a.bytes_ == b.bytes_;
    return a.Size() == b.Size() && a.Hash() == b.Hash();
}

QByteArrayView DeckLines::Line(qsizetype index) const {
    if (index < 0 || index >= count_ || byHash_)
        return {};
    const char *from = bytes_.constData();
    const char *const stop = from + bytes_.size();
    for (qsizetype i = 0;; ++i) {
        const auto *end = static_cast<const char *>(std::memchr(from, '\r', size_t(stop - from)));
        if (i == index)
            return QByteArrayView(from, end - from);
        from = end + 2;
    }
}
