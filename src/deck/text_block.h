#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Copies short texts into shared blocks instead of one allocation each. Reading a deck of a
// million cards otherwise spends most of its time allocating some three million small texts.
// Each copy is an ordinary QByteArray (NUL-terminated, implicitly shared): it holds a reference
// on its block, detaches on the first change like any shared QByteArray, and the block is
// freed when the last text in it goes.
class TextBlock {
public:
    // `expectedBytes`: about how much text will be copied; it sizes the blocks.
    explicit TextBlock(qsizetype expectedBytes);
    TextBlock(const TextBlock &) = delete;
    TextBlock &operator=(const TextBlock &) = delete;
    ~TextBlock();

    QByteArray Copy(QByteArrayView text);

private:
    void Release();

    QTypedArrayData<char> *block_ = nullptr;
    char *next_ = nullptr;
    qsizetype free_ = 0;
    qsizetype blockSize_;
};
