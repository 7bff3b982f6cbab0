// Memory for large buffers that are written through right after they are made.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

// Uninitialised memory of the size, to be freed with std::free; null when it
// cannot be had. Touching fresh memory one small page at a time costs more
// than writing it, so on Linux a block of a huge page or more comes in huge
// pages where the system allows.
void *allocateLarge(std::size_t bytes);

// Zeroed memory of the size, to be freed with std::free; null when it cannot
// be had. The system's fresh pages are taken as they are (zero, and not
// touched until used), in huge pages where the system allows.
void *allocateLargeZeroed(std::size_t bytes);

// The bytes allocateLarge takes for a block of the size: more than asked
// where it rounds up to whole huge pages, so a caller can use them all.
std::size_t largeAllocationSize(std::size_t bytes);

// Gives the whole pages inside [memory, memory + bytes) back to the system
// while the block they belong to stays allocated; their bytes are gone (read
// as zero on Linux). Nothing happens where the system offers no such call.
void releasePages(void *memory, std::size_t bytes);

struct FreeLarge {
    void operator()(void *memory) const { std::free(memory); }
};

// An array of count elements of a plain type in such memory, not initialised;
// throws std::bad_alloc when the memory cannot be had.
template <typename T>
using LargeArray = std::unique_ptr<T[], FreeLarge>;

template <typename T>
LargeArray<T> allocateLargeArray(std::size_t count)
{
    void *memory = allocateLarge(count * sizeof(T));
    if (!memory)
        throw std::bad_alloc();
    return LargeArray<T>(static_cast<T *>(memory));
}
