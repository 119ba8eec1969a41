// How the system backs a large model's memory. A program that reads large files gives freed
// large blocks back at once, so that its peak stays the file, the model and little more.
// Large pages are not asked for: on a virtual machine that hands idle memory back to its host
// a fresh large page is faulted in from the host, ten times slower a byte than small pages
// (docs/platform.md).
#pragma once

// From now on, blocks past the allocator's usual threshold for a block of its own are given
// back to the system when freed, however large the blocks freed before: otherwise the
// allocator raises that threshold to the largest it gave back, and keeps the next few blocks
// (a model's arrays) in its heap, where the memory freed around them stays held (a peak a few
// megabytes higher for a 100,000-patch import).
void giveLargeBlocksBack();
