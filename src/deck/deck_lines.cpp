#include "deck/deck_lines.h"

#include "deck/large_memory.h"

#include <cstring>
#include <utility>

namespace {

// True when every CR is followed by LF and every LF follows a CR, so the bytes already are
// lines each ending in CR LF (apart from possibly the last one). Counts the LFs on the way.
bool OnlyCrLfBreaks(const QByteArray &data, qsizetype *lineFeeds) {
    const char *begin = data.constData();
    const char *end = begin + data.size();
    for (const char *p = begin;
         (p = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)))); ++p) {
        if (p + 1 == end || p[1] != '\n')
            return false;
    }
    qsizetype count = 0;
    for (const char *p = begin;
         (p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)))); ++p) {
        if (p == begin || p[-1] != '\r')
            return false;
        ++count;
    }
    *lineFeeds = count;
    return true;
}

} // namespace

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

QByteArrayView DeckLines::Line(qsizetype index) const {
    if (index < 0 || index >= count_)
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
