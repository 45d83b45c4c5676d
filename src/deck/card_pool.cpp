#include "deck/card.h"
#include "deck/card_slots.h"
#include "deck/large_memory.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define KARDEON_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define KARDEON_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define KARDEON_POISON(p, n) ((void)(p), (void)(n))
#define KARDEON_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

// Fixed-size slots carved from blocks that double in size up to 16 MiB, the large ones backed
// by huge pages. Freed slots are reused; when the last card is gone (a deck is replaced), the
// blocks but the first are freed. Freed slots are poisoned for AddressSanitizer, so a card used
// after deletion is still caught.
class CardPool {
public:
    void *Allocate() {
        std::lock_guard lock(mutex_);
        void *slot = free_;
        if (slot) {
            KARDEON_UNPOISON(slot, kSlot);
            free_ = *static_cast<void **>(slot);
        } else {
            slot = Carve();
        }
        ++live_;
        return slot;
    }

    // `count` slots in one piece, in a block of their own; none while freed slots wait to be
    // used again (cards of a deck replaced while some of its cards lived on), so that those
    // are filled first.
    char *AllocateRun(std::size_t count) {
        std::lock_guard lock(mutex_);
        if (free_)
            return nullptr;
        if (blocks_.empty()) { // the first block is the one kept while no card lives
            next_ = static_cast<char *>(NewBlock(kFirstBlock));
            left_ = kFirstBlock;
        }
        void *memory = NewBlock(count * kSlot);
        KARDEON_UNPOISON(memory, count * kSlot);
        live_ += count;
        return static_cast<char *>(memory);
    }

    void Release(void *slot) {
        std::lock_guard lock(mutex_);
        *static_cast<void **>(slot) = free_;
        free_ = slot;
        KARDEON_POISON(slot, kSlot);
        if (--live_ == 0)
            ReturnBlocks();
    }

    static constexpr std::size_t kSlot =
        (sizeof(TMondaiSet) + alignof(std::max_align_t) - 1) & ~(alignof(std::max_align_t) - 1);
    static constexpr std::size_t kFirstBlock = 64 * 1024;
    static constexpr std::size_t kLargestBlock = 16 * 1024 * 1024;
    static constexpr std::size_t kHugeBlock = 2 * 1024 * 1024;

private:
    struct Block {
        void *memory;
        std::size_t size;
    };

    void *NewBlock(std::size_t size) {
        // Heap memory rather than a mapping of our own, so that the leak checker still sees
        // the texts the cards point to.
        const std::size_t align = size >= kHugeBlock ? kHugeBlock : 4096;
        void *memory = std::aligned_alloc(align, (size + align - 1) / align * align);
        if (!memory)
            throw std::bad_alloc();
        large_memory::AdviseHugePages(memory, size);
        KARDEON_POISON(memory, size);
        blocks_.push_back({memory, size});
        return memory;
    }

    void *Carve() {
        if (left_ < kSlot) {
            const std::size_t size =
                blocks_.empty() ? kFirstBlock : std::min(blocks_.back().size * 2, kLargestBlock);
            next_ = static_cast<char *>(NewBlock(size));
            left_ = size;
        }
        void *slot = next_;
        KARDEON_UNPOISON(slot, kSlot);
        next_ += kSlot;
        left_ -= kSlot;
        return slot;
    }

    // Keeps the first block, so that creating and deleting a single card does not allocate
    // and free a block every time.
    void ReturnBlocks() {
        for (std::size_t i = 1; i < blocks_.size(); ++i) {
            KARDEON_UNPOISON(blocks_[i].memory, blocks_[i].size);
            std::free(blocks_[i].memory);
        }
        blocks_.resize(1);
        free_ = nullptr;
        next_ = static_cast<char *>(blocks_[0].memory);
        left_ = blocks_[0].size;
        KARDEON_POISON(next_, left_);
    }

    std::mutex mutex_;
    std::vector<Block> blocks_;
    void *free_ = nullptr; // freed slots, linked through their first word
    char *next_ = nullptr; // the unused rest of the newest block
    std::size_t left_ = 0;
    std::size_t live_ = 0;
};

CardPool &Pool() {
    // Never destroyed: cards may still be released while static objects are torn down.
    static CardPool *pool = new CardPool;
    return *pool;
}

} // namespace

const std::size_t CardSlots::kSlot = CardPool::kSlot;

CardSlots::CardSlots(std::size_t count) {
    if (count == 0)
        return;
    next_ = Pool().AllocateRun(count);
    left_ = next_ ? count : 0;
}

CardSlots::~CardSlots() {
    while (void *slot = Take())
        Pool().Release(slot);
}

void *TMondaiSet::operator new(std::size_t size) {
    if (size != sizeof(TMondaiSet)) // a derived class
        return ::operator new(size);
    return Pool().Allocate();
}

void TMondaiSet::operator delete(void *card, std::size_t size) noexcept {
    if (!card)
        return;
    if (size != sizeof(TMondaiSet)) {
        ::operator delete(card);
        return;
    }
    Pool().Release(card);
}
