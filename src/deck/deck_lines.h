#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstring>

// The count of line feeds in `bytes`.
qsizetype CountLineFeeds(QByteArrayView bytes);

// A deck's lines, held as the exact bytes a save writes: every line followed by CR LF.
// Two line lists are equal exactly when these bytes are equal.
class DeckLines {
public:
    DeckLines() = default;
    // Splits file bytes at CR LF, lone LF and lone CR; a break after the last line starts no
    // further line.
    static DeckLines FromFileBytes(const QByteArray &data);
    static DeckLines FromBytesWithCrLf(QByteArray bytes, qsizetype lineCount);

    qsizetype Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }
    const QByteArray &Bytes() const { return bytes_; }
    // The line at `index` (0-based), without its line end. Linear in `index`; use ForEach to
    // walk all lines.
    QByteArrayView Line(qsizetype index) const;
    // A line never holds a CR of its own, so the next CR is always its end.
    template <typename F> void ForEach(F &&visit) const {
        const char *from = bytes_.constData();
        const char *const stop = from + bytes_.size();
        for (qsizetype i = 0; i < count_; ++i) {
            const auto *end =
                static_cast<const char *>(std::memchr(from, '\r', size_t(stop - from)));
            visit(QByteArrayView(from, end - from));
            from = end + 2;
        }
    }
    friend bool operator==(const DeckLines &a, const DeckLines &b) {
        return a.count_ == b.count_ && a.bytes_ == b.bytes_;
    }

private:
    QByteArray bytes_;
    qsizetype count_ = 0;
};
