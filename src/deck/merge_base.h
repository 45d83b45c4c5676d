#pragma once

#include "deck/card.h"

#include <QByteArray>
#include <QByteArrayView>

#include <memory>
#include <optional>
#include <vector>

// What a merge needs to know of a deck as it was last read or saved: per card, a hash of its
// texts and its learning record. No text itself is kept, so this costs a fraction of the deck.
struct MergeBaseCard {
    quint64 texts = 0;   // question, answer and reference (CardTextHash)
    quint64 history = 0; // the answer history
    qint32 jikan = 0;
    qint32 seikai = 0;
    qint32 fuseikai = 0;
};

struct MergeBase {
    std::vector<MergeBaseCard> cards;

    static MergeBase Of(const std::vector<std::unique_ptr<TMondaiSet>> &cards);
    // A small binary form, kept beside the review log; nullopt for bytes that are not one.
    QByteArray ToBytes() const;
    static std::optional<MergeBase> FromBytes(QByteArrayView bytes);
};
