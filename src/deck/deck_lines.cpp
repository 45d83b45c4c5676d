#include "deck/deck_lines.h"

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
    QByteArray bytes;
    bytes.reserve(data.size() + data.size() / 16 + 2);
    qsizetype count = 0;
    const qsizetype size = data.size();
    qsizetype from = 0;
    qsizetype pos = 0;
    while (pos < size) {
        const char c = data[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        bytes.append(data.constData() + from, pos - from);
        bytes.append("\r\n", 2);
        ++count;
        pos += (c == '\r' && pos + 1 < size && data[pos + 1] == '\n') ? 2 : 1;
        from = pos;
    }
    if (from < size) {
        bytes.append(data.constData() + from, size - from);
        bytes.append("\r\n", 2);
        ++count;
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
