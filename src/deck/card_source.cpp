#include "deck/card_source.h"

#include "deck/text_buffers.h"

#include <limits>
#include <new>

namespace {

// A slice's offset takes 31 bits and its length 32.
constexpr quint64 kLargestOffset = (quint64(1) << 31) - 1;
constexpr quint64 kLargestLength = std::numeric_limits<quint32>::max();

} // namespace

CardSource::CardSource(const QByteArray &bytes)
    : id_(text_buffers::Add(bytes)), users_(&text_buffers::Users(id_)), begin_(bytes.constData()),
      size_(bytes.size()) {}

CardSource::~CardSource() {
    text_buffers::Release(id_);
}

bool CardSource::Holds(QByteArrayView text) const {
    return text.data() >= begin_ && text.data() + text.size() <= begin_ + size_;
}

quint64 CardSource::SliceOf(QByteArrayView text) const {
    const quint64 offset = quint64(text.data() - begin_);
    const quint64 length = quint64(text.size());
    if (offset > kLargestOffset || length > kLargestLength)
        return 0;
    return (length << 32) | (offset << 1) | 1;
}

std::unique_ptr<TMondaiSet> CardSource::NewCard(const Texts &texts, qint32 jikan, qint32 seikai,
                                                qint32 fuseikai, CardSlots *slots) const {
    void *slot = slots ? slots->Take() : nullptr;
    auto card = slot ? std::unique_ptr<TMondaiSet>(::new (slot) TMondaiSet)
                     : std::make_unique<TMondaiSet>();
    card->Jikan = jikan;
    card->Seikai = seikai;
    card->Fuseikai = fuseikai;
    bool sliced = false;
    for (int i = 0; i < 4; ++i) {
        const QByteArrayView text = texts[size_t(i)];
        if (text.isEmpty())
            continue;
        const quint64 slice = Holds(text) ? SliceOf(text) : 0;
        if (slice) {
            card->texts_[i] = slice;
            sliced = true;
        } else {
            card->SetText(TMondaiSet::Text(i), text.toByteArray());
        }
    }
    if (sliced) {
        card->source_ = id_;
        ++*users_;
    }
    return card;
}
