#pragma once

#include "deck/card.h"
#include "deck/card_slots.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <memory>

// A buffer whose bytes cards keep their texts in: a deck file's bytes as read, or a text
// converted for an import. A card refers to its buffer by a small number and to each text by
// offset and length, 48 bytes a card in all; the buffer stays as long as a card refers to it.
// Cards are made, changed and dropped on one thread at a time. The buffers themselves are kept
// in text_buffers.h.
class CardSource {
public:
    explicit CardSource(const QByteArray &bytes);
    CardSource(const CardSource &) = delete;
    CardSource &operator=(const CardSource &) = delete;
    ~CardSource();

    // Texts in card order: question, answer, reference note, history.
    using Texts = std::array<QByteArrayView, 4>;

    // A card whose texts lie in the buffer; a text outside it gets bytes of its own. The card
    // goes into the next of `slots` when given and not used up.
    std::unique_ptr<TMondaiSet> NewCard(const Texts &texts, qint32 jikan, qint32 seikai,
                                        qint32 fuseikai, CardSlots *slots = nullptr) const;

private:
    bool Holds(QByteArrayView text) const;
    quint64 SliceOf(QByteArrayView text) const;

    quint32 id_;
    qint64 *users_; // of the buffer: cards made from it, and this while it lives
    const char *begin_;
    qsizetype size_;
};
