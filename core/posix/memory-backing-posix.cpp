#include "core/memory-backing.h"

#include <cstdlib> // defines __GLIBC__ where the C library is glibc

#ifdef __GLIBC__
#include <malloc.h>
#endif

void giveLargeBlocksBack() {
#ifdef __GLIBC__
    constexpr int kOwnBlockBytes = 128 * 1024; // glibc's own starting threshold
    mallopt(M_MMAP_THRESHOLD, kOwnBlockBytes); // set once, it is no longer raised
#endif
}
