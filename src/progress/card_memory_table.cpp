#include "progress/card_memory_table.h"

#include <algorithm>
#include <new>
#include <utility>

#include <sys/mman.h>

namespace {

constexpr std::size_t kNotFound = std::size_t(-1);
constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kFirstCapacity = 1024;
#ifdef MADV_POPULATE_WRITE
constexpr int kPopulateWrite = MADV_POPULATE_WRITE;
#else
constexpr int kPopulateWrite = 23; // Linux 5.14; older kernels refuse it and fault page by page
#endif
// Slots of the old array handled with each insertion while the table grows: more than enough to
// empty it before the new array fills to its own limit.
constexpr std::size_t kMovesPerInsertion = 4;

bool TooFull(std::size_t count, std::size_t capacity) {
    return count * 4 >= capacity * 3; // at most three quarters full
}

} // namespace

std::size_t CardMemoryTable::Array::Home(quint64 key) const {
    // The keys' low halves are FNV hashes whose low bits cluster; the product's top bits mix all.
    return std::size_t((key * 0x9e3779b97f4a7c15ull) >> shift);
}

void CardMemoryTable::FreeSlots::operator()(Slot *slots) const {
    if (bytes > 0)
        ::munmap(slots, bytes);
    else
        std::free(slots);
}

CardMemoryTable::Array CardMemoryTable::Array::Allocate(std::size_t capacity, bool populate) {
    Array array;
    const std::size_t bytes = capacity * sizeof(Slot);
    if (bytes >= kHugePage) {
        // Fresh zeroed pages, in huge pages where the system allows: the first touch of every
        // small page of a large table costs more than the whole replay of the log.
        void *mapped =
            ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
        ::madvise(mapped, bytes, MADV_HUGEPAGE);
        // Written now in one go rather than page by page: a look-up that reads a page before
        // anything is written maps the shared zero page, and the first write then has to copy
        // it and flush the page from every processor's cache of addresses.
        if (populate)
            ::madvise(mapped, bytes, kPopulateWrite);
        array.slots =
            std::unique_ptr<Slot[], FreeSlots>(static_cast<Slot *>(mapped), FreeSlots{bytes});
    } else {
        array.slots.reset(static_cast<Slot *>(std::calloc(capacity, sizeof(Slot))));
        if (!array.slots)
            throw std::bad_alloc();
    }
    array.mask = capacity - 1;
    int bits = 0;
    while ((std::size_t(1) << bits) < capacity)
        ++bits;
    array.shift = 64 - bits;
    return array;
}

std::size_t CardMemoryTable::Locate(const Array &array, quint64 key) {
    if (!array.slots)
        return kNotFound;
    for (std::size_t i = array.Home(key);; i = (i + 1) & array.mask) {
        const Slot &slot = array.slots[i];
        if (slot.state == kEmpty)
            return kNotFound;
        if (slot.state == kFull && slot.key == key)
            return i;
    }
}

void CardMemoryTable::Prefetch(quint64 key) const {
    if (current_.slots)
        __builtin_prefetch(&current_.slots[current_.Home(key)]);
}

const CardMemory *CardMemoryTable::Find(quint64 key) const {
    std::size_t at = Locate(current_, key);
    if (at != kNotFound)
        return &current_.slots[at].memory;
    at = Locate(old_, key);
    return at != kNotFound ? &old_.slots[at].memory : nullptr;
}

CardMemory *CardMemoryTable::Find(quint64 key) {
    return const_cast<CardMemory *>(std::as_const(*this).Find(key));
}

CardMemoryTable::Slot &CardMemoryTable::Place(quint64 key, const CardMemory &memory) {
    std::size_t i = current_.Home(key);
    while (current_.slots[i].state != kEmpty)
        i = (i + 1) & current_.mask;
    Slot &slot = current_.slots[i];
    slot.key = key;
    slot.memory = memory;
    slot.state = kFull;
    ++currentCount_;
    return slot;
}

CardMemory &CardMemoryTable::FindOrInsert(quint64 key, bool *inserted) {
    *inserted = false;
    if (const std::size_t at = Locate(current_, key); at != kNotFound)
        return current_.slots[at].memory;
    CardMemory memory;
    if (const std::size_t at = Locate(old_, key); at != kNotFound) {
        memory = old_.slots[at].memory;
        old_.slots[at].state = kMoved;
    } else {
        *inserted = true;
        ++size_;
    }
    if (!current_.slots || TooFull(currentCount_ + 1, current_.Capacity()))
        Grow();
    MoveSome(kMovesPerInsertion);
    return Place(key, memory).memory;
}

void CardMemoryTable::Grow() {
    // A growth still under way ends first (it cannot be, given the moves per insertion, but a
    // second old array would lose entries).
    MoveSome(old_.Capacity());
    const std::size_t capacity = current_.slots ? current_.Capacity() * 2 : kFirstCapacity;
    old_ = std::move(current_);
    moved_ = 0;
    current_ = Array::Allocate(capacity, bulk_);
    currentCount_ = 0;
}

void CardMemoryTable::MoveSome(std::size_t count) {
    if (!old_.slots)
        return;
    const std::size_t end = std::min(moved_ + count, old_.Capacity());
    for (; moved_ < end; ++moved_) {
        Slot &slot = old_.slots[moved_];
        if (slot.state != kFull)
            continue;
        Place(slot.key, slot.memory);
        // Marked, not emptied: later look-ups in the old array still step over it.
        slot.state = kMoved;
    }
    if (moved_ == old_.Capacity())
        old_ = Array();
}

void CardMemoryTable::EraseFromCurrent(std::size_t at) {
    // Backward shift: the entries after the hole that may move into it do, so no marker is left.
    std::size_t hole = at;
    for (std::size_t j = (hole + 1) & current_.mask; current_.slots[j].state != kEmpty;
         j = (j + 1) & current_.mask) {
        const std::size_t home = current_.Home(current_.slots[j].key);
        // The entry stays when its home lies cyclically in (hole, j].
        const bool stays = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (stays)
            continue;
        current_.slots[hole] = current_.slots[j];
        hole = j;
    }
    current_.slots[hole].state = kEmpty;
    --currentCount_;
}

bool CardMemoryTable::Erase(quint64 key) {
    if (const std::size_t at = Locate(current_, key); at != kNotFound) {
        EraseFromCurrent(at);
        --size_;
        return true;
    }
    if (const std::size_t at = Locate(old_, key); at != kNotFound) {
        old_.slots[at].state = kMoved;
        --size_;
        return true;
    }
    return false;
}

void CardMemoryTable::Clear() {
    current_ = Array();
    old_ = Array();
    moved_ = 0;
    size_ = 0;
    currentCount_ = 0;
}

std::size_t CardMemoryTable::Bytes() const {
    return (current_.Capacity() + old_.Capacity()) * sizeof(Slot);
}
