// Large blocks of memory, in huge pages on Linux.
#include "base/LargeMemory.h"

#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
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
