#pragma once

#include <cstddef>

// A run of card-sized slots from the card pool, taken under one lock, so that a thread making
// many cards while another thread makes its own does not contend for the pool on every card.
// A card placed in a slot is deleted like any other card. Slots not taken go back to the pool
// when the run goes. While the pool holds freed slots, a run is empty and cards are made one by
// one from those.
class CardSlots {
public:
    explicit CardSlots(std::size_t count);
    CardSlots(const CardSlots &) = delete;
    CardSlots &operator=(const CardSlots &) = delete;
    ~CardSlots();

    // Memory for one card, or nullptr once the run is used up.
    void *Take() {
        if (left_ == 0)
            return nullptr;
        void *slot = next_;
        next_ += kSlot;
        --left_;
        return slot;
    }

    // The size of a slot: a card, rounded up to the strictest alignment.
    static const std::size_t kSlot;

private:
    char *next_ = nullptr;
    std::size_t left_ = 0;
};
