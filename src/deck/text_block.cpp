#include "deck/text_block.h"

#include <algorithm>

TextSlicer::TextSlicer(const QByteArray &buffer, qsizetype most)
    : header_(const_cast<QByteArray &>(buffer).data_ptr().d_ptr()) {
    // One atomic addition instead of one per text: four million of them cost more than the
    // rest of opening a deck of a million cards.
    // Every slice takes at least one byte, which bounds the count.
    most = std::min(most, buffer.size());
    if (header_ && most > 0) {
        header_->ref_.fetchAndAddRelaxed(int(most));
        unused_ = most;
    }
}

TextSlicer::~TextSlicer() {
    // The buffer's owner still holds its own reference, so this never frees it.
    if (header_ && unused_ > 0)
        header_->ref_.fetchAndSubRelaxed(int(unused_));
}

QByteArray TextSlicer::Slice(QByteArrayView text) {
    if (text.isEmpty())
        return {};
    if (!header_ || unused_ == 0)
        return text.toByteArray();
    --unused_;
    using Header = QTypedArrayData<char>;
    return QByteArray(QByteArray::DataPointer(static_cast<Header *>(header_),
                                              const_cast<char *>(text.data()), text.size()));
}
