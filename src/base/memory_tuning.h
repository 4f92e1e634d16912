#pragma once
// Allocator settings for a program that opens large test files one after the
// other. A 100,000-reading file makes arrays of tens of megabytes; by default
// the C library hands such blocks back to the system when they are freed, and
// every open then pays a page fault per 4 KiB of fresh memory (on virtual
// machines more than the whole read costs). Kept, the next open reuses them.

namespace kvd {

// Call once at start, before the first file is read.
void keep_freed_memory_for_reuse();

}  // namespace kvd
