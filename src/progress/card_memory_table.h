#pragma once

#include <QtGlobal>

#include <cstdlib>
#include <memory>

// The memory of one card in the running program: where it stands and where it stood before
// its last できた (a take-back returns there).
struct CardMemory {
    float stability = 0;
    float difficulty = 0;
    qint32 lastDay = 0;
    float previousStability = 0;
    float previousDifficulty = 0;
    qint32 previousDay = 0;
    bool hasPrevious = false;
};

// Card memories by the card's 64-bit key, in one flat array (open addressing, linear probing):
// one cache miss a look-up and no allocation per card, so that a log of a million answers
// replays in a blink. When the table grows, the entries move to the new array a few at a time
// with each later insertion, so no single answer pays for moving them all.
// A pointer or reference into the table holds only until the next insertion or erasure.
class CardMemoryTable {
public:
    CardMemory *Find(quint64 key);
    const CardMemory *Find(quint64 key) const;
    // The card's memory, inserted as CardMemory{} when absent (*inserted tells which).
    CardMemory &FindOrInsert(quint64 key, bool *inserted);
    bool Erase(quint64 key);
    // Asks the processor to fetch the key's slot ahead of a look-up soon after.
    void Prefetch(quint64 key) const;
    // While on, a growth writes its whole new array at once: cheaper in all for a rebuild that
    // fills the table, but too long a pause for a single answer.
    void SetFillingInBulk(bool bulk) { bulk_ = bulk; }
    std::size_t Size() const { return size_; }
    void Clear();
    // Bytes held by the arrays.
    std::size_t Bytes() const;

private:
    enum State : quint8 { kEmpty = 0, kFull = 1, kMoved = 2 };
    struct Slot {
        quint64 key;
        CardMemory memory;
        State state;
    };
    struct FreeSlots {
        std::size_t bytes; // mapped; 0: from calloc
        void operator()(Slot *slots) const;
    };
    struct Array {
        std::unique_ptr<Slot[], FreeSlots> slots;
        std::size_t mask = 0; // capacity - 1; capacity is a power of two
        int shift = 64;       // 64 - log2(capacity)
        std::size_t Capacity() const { return slots ? mask + 1 : 0; }
        std::size_t Home(quint64 key) const;
        static Array Allocate(std::size_t capacity, bool populate);
    };

    // Index of the key's slot in `array`, or npos; moved slots are stepped over.
    static std::size_t Locate(const Array &array, quint64 key);
    // Puts a key known to be absent into current_; returns its slot.
    Slot &Place(quint64 key, const CardMemory &memory);
    void EraseFromCurrent(std::size_t at);
    void Grow();
    void MoveSome(std::size_t count);

    Array current_;
    Array old_;             // being emptied into current_ after a growth
    std::size_t moved_ = 0; // slots of old_ already handled
    std::size_t size_ = 0;  // entries in both arrays
    std::size_t currentCount_ = 0;
    bool bulk_ = false;
};
