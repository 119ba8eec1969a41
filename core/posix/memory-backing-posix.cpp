#include "core/memory-backing.h"

#include <sys/mman.h>

#include <cstdint>

#ifdef __GLIBC__
#include <malloc.h>
#endif

void preferLargePages(const void* data, size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr uintptr_t kLargePage = uintptr_t{1} << 21; // 2 MiB on x86-64 and most ARM
    // Only whole large pages inside the block: the memory around it may be another's.
    const uintptr_t begin = reinterpret_cast<uintptr_t>(data);
    const uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t last = (begin + bytes) & ~(kLargePage - 1);
    if (first < last) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)data, (void)bytes;
#endif
}

void giveLargeBlocksBack() {
#ifdef __GLIBC__
    constexpr int kOwnBlockBytes = 128 * 1024; // glibc's own starting threshold
    mallopt(M_MMAP_THRESHOLD, kOwnBlockBytes); // set once, it is no longer raised
#endif
}
