#include "core/memory-backing.h"

// Windows gives large pages only to accounts holding the lock-pages privilege, and only to
// memory allocated for them at once: ordinary pages are kept.
void preferLargePages(const void*, size_t) {}

// The Windows heap gives large blocks back when they are freed already.
void giveLargeBlocksBack() {}
