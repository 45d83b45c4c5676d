#include "deck/large_memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace large_memory {

namespace {

constexpr std::uintptr_t kPage = 4096;
constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
constexpr qsizetype kWorthIt = qsizetype(4) << 20;

// Gives `advice` for the whole pages of `page` bytes inside [data, data + size).
void AdviseWholePages(void *data, std::size_t size, std::uintptr_t page, int advice) {
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + page - 1) & ~(page - 1);
    const std::uintptr_t last = (begin + size) & ~(page - 1);
    if (first < last)
        madvise(reinterpret_cast<void *>(first), last - first, advice);
}

} // namespace

void AdviseHugePages(void *data, std::size_t size) {
    AdviseWholePages(data, size, kHugePage, MADV_HUGEPAGE);
}

void ReturnPages(void *data, std::size_t size) {
    AdviseWholePages(data, size, kPage, MADV_DONTNEED);
}

QByteArray UninitializedBytes(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    if (size >= kWorthIt)
        AdviseHugePages(bytes.data(), std::size_t(size));
    return bytes;
}

} // namespace large_memory
