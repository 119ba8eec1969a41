// How the system backs a large model's memory. Fresh memory filled once (a model's arrays,
// the point merge's table) is faulted in a page at a time, some microseconds each on a
// virtual machine: where the system offers large pages on request, such a block asks for
// them (one fault then brings 512 pages). And a program that reads large files gives freed
// large blocks back at once, so that its peak stays the file, the model and little more.
#pragma once

#include <cstddef>
#include <vector>

// Asks that [data, data + bytes) be backed by large pages where the system can; nothing
// changes otherwise. Blocks smaller than a large page are left alone.
void preferLargePages(const void* data, size_t bytes);

// The same for a list's room (after it is reserved, before it is filled).
template <typename T> void preferLargePages(const std::vector<T>& list) {
    preferLargePages(list.data(), list.capacity() * sizeof(T));
}

// From now on, blocks past the allocator's usual threshold for a block of its own are given
// back to the system when freed, however large the blocks freed before: otherwise the
// allocator raises that threshold to the largest it gave back, and keeps the next few blocks
// (a model's arrays) in its heap, where the memory freed around them stays held (a peak a few
// megabytes higher for a 100,000-patch import).
void giveLargeBlocksBack();
