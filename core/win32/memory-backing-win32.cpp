#include "core/memory-backing.h"

// The Windows heap gives large blocks back when they are freed already.
void giveLargeBlocksBack() {}
