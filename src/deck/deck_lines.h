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
    // Lines known by their count, size and content hash alone, as after a save that wrote other
    // lines than those read: the file holds the bytes and the cards the texts, so the bytes are
    // not held a second time. Their Bytes() are empty.
    static DeckLines Written(qsizetype lineCount, qsizetype size, quint64 hash);

    qsizetype Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }
    const QByteArray &Bytes() const { return bytes_; }
    bool KnownByHash() const { return byHash_; }
    qsizetype Size() const { return byHash_ ? size_ : bytes_.size(); }
    // The content hash of the bytes (file_access::ContentHash).
    quint64 Hash() const;
    // The line at `index` (0-based), without its line end. Linear in `index`; use ForEach to
    // walk all lines. Lines known by hash have none to give.
    QByteArrayView Line(qsizetype index) const;
    // A line never holds a CR of its own, so the next CR is always its end.
    template <typename F> void ForEach(F &&visit) const {
        if (byHash_)
            return;
        const char *from = bytes_.constData();
        const char *const stop = from + bytes_.size();
        for (qsizetype i = 0; i < count_; ++i) {
            const auto *end =
                static_cast<const char *>(std::memchr(from, '\r', size_t(stop - from)));
            visit(QByteArrayView(from, end - from));
            from = end + 2;
        }
    }
    // Equal bytes; for lines known by hash, equal size and hash.
    friend bool operator==(const DeckLines &a, const DeckLines &b);

private:
    QByteArray bytes_;
    qsizetype count_ = 0;
    qsizetype size_ = 0; // of lines known by hash
    quint64 hash_ = 0;
    bool byHash_ = false;
};
