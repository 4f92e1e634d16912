#include "base/memory_tuning.h"

#include <malloc.h>

namespace kvd {

void keep_freed_memory_for_reuse() {
    // Blocks up to 256 MiB come from the heap, and up to 512 MiB of free heap
    // stays mapped for the next file.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
}

}  // namespace kvd
