#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Hands out the texts of one buffer (a deck file's bytes as read) as ordinary QByteArrays
// without copying them. Copying every field of a million cards would cost an allocation or
// a copy per text and more memory than the file itself. Each slice holds a reference on the
// buffer, so it and its copies stay valid whatever happens to the buffer's other owners, and a
// change to a slice detaches it like any shared QByteArray: the buffer itself never changes.
// Unlike most QByteArrays a slice is not NUL-terminated; it is used with its size.
class TextSlicer {
public:
    // `most`: at most how many slices will be taken; references for them are taken at once.
    TextSlicer(const QByteArray &buffer, qsizetype most);
    TextSlicer(const TextSlicer &) = delete;
    TextSlicer &operator=(const TextSlicer &) = delete;
    ~TextSlicer();

    // `text` lies within the buffer. An empty text gives an empty QByteArray.
    QByteArray Slice(QByteArrayView text);

private:
    QArrayData *header_;
    qsizetype unused_ = 0; // references taken but not yet handed to a slice
};
