#pragma once

#include <QByteArray>

#include <cstddef>

// Memory for large decks. Every fresh 4 KiB page costs a page fault, and on this kind of
// machine faults dominate reading or rendering a deck of a million cards; asking the kernel
// for huge pages on large buffers removes nearly all of them.
namespace large_memory {

// Asks for huge pages on the whole 2 MiB pages inside [data, data + size). A hint only.
void AdviseHugePages(void *data, std::size_t size);

// Gives the whole pages inside [data, data + size) back to the system; they read as zeros
// when next touched. For the unused capacity of a list sized generously in advance.
void ReturnPages(void *data, std::size_t size);

// A QByteArray of `size` bytes with undefined content; large ones are backed by huge pages.
QByteArray UninitializedBytes(qsizetype size);

} // namespace large_memory
