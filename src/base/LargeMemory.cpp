// Large blocks of memory, in huge pages on Linux.
#include "base/LargeMemory.h"

#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

void *allocateLarge(std::size_t bytes)
{
#ifdef __linux__
    constexpr std::size_t HugePage = std::size_t(2) << 20;
    if (bytes >= HugePage) {
        const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
        if (void *memory = std::aligned_alloc(HugePage, rounded)) {
            madvise(memory, rounded, MADV_HUGEPAGE);
            return memory;
        }
    }
#endif
    return std::malloc(bytes == 0 ? 1 : bytes);
}
