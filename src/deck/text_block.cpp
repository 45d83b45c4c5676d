#include "deck/text_block.h"

#include "deck/large_memory.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype kSmallestBlock = 4 * 1024;
constexpr qsizetype kLargestBlock = 8 * 1024 * 1024;
// Longer texts get an allocation of their own, so that a block never holds much unused space.
constexpr qsizetype kLongText = 1024;

} // namespace

TextBlock::TextBlock(qsizetype expectedBytes)
    : blockSize_(std::clamp(expectedBytes, kSmallestBlock, kLargestBlock)) {}

TextBlock::~TextBlock() {
    Release();
}

void TextBlock::Release() {
    if (block_ && !block_->deref())
        QTypedArrayData<char>::deallocate(block_);
    block_ = nullptr;
    next_ = nullptr;
    free_ = 0;
}

QByteArray TextBlock::Copy(QByteArrayView text) {
    if (text.isEmpty())
        return {};
    const qsizetype needed = text.size() + 1; // with its terminating NUL
    if (needed > kLongText)
        return text.toByteArray();
    if (needed > free_) {
        Release();
        auto [header, data] = QTypedArrayData<char>::allocate(blockSize_);
        if (!header)
            return text.toByteArray();
        large_memory::AdviseHugePages(data, size_t(blockSize_));
        block_ = header;
        next_ = data;
        free_ = blockSize_;
    }
    std::memcpy(next_, text.data(), size_t(text.size()));
    next_[text.size()] = '\0';
    block_->ref();
    QByteArray copy(QByteArray::DataPointer(block_, next_, text.size()));
    next_ += needed;
    free_ -= needed;
    return copy;
}
