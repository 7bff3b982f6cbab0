// Large blocks of memory, in huge pages on Linux.
#include "base/LargeMemory.h"

#include <cstdint>
#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {
constexpr std::size_t HugePage = std::size_t(2) << 20;
}  // namespace

std::size_t largeAllocationSize(std::size_t bytes)
{
#ifdef __linux__
    if (bytes >= HugePage)
        return (bytes + HugePage - 1) / HugePage * HugePage;
#endif
    return bytes;
}

void *allocateLarge(std::size_t bytes)
{
#ifdef __linux__
    if (bytes >= HugePage) {
        const std::size_t rounded = largeAllocationSize(bytes);
        if (void *memory = std::aligned_alloc(HugePage, rounded)) {
            madvise(memory, rounded, MADV_HUGEPAGE);
            return memory;
        }
    }
#endif
    return std::malloc(bytes == 0 ? 1 : bytes);
}

void releasePages(void *memory, std::size_t bytes)
{
#ifdef __linux__
    const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t first = (start + page - 1) / page * page;
    const std::uintptr_t end = (start + bytes) / page * page;
    if (end > first)
        madvise(reinterpret_cast<void *>(first), end - first, MADV_DONTNEED);
#else
    (void)memory;
    (void)bytes;
#endif
}

void *allocateLargeZeroed(std::size_t bytes)
{
    void *memory = std::calloc(bytes == 0 ? 1 : bytes, 1);
#ifdef __linux__
    // Asked before any page is touched, so the first touch brings a huge page.
    if (memory != nullptr && bytes >= 2 * HugePage) {
        const auto start = reinterpret_cast<std::uintptr_t>(memory);
        const std::uintptr_t first = (start + HugePage - 1) / HugePage * HugePage;
        const std::uintptr_t end = (start + bytes) / HugePage * HugePage;
        if (end > first)
            madvise(reinterpret_cast<void *>(first), end - first, MADV_HUGEPAGE);
    }
#endif
    return memory;
}
