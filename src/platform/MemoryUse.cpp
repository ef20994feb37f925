#include "platform/MemoryUse.h"

#include <cstdlib> // defines __GLIBC__ where it applies

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace vantelo {

void keepMemoryCompact()
{
#ifdef __GLIBC__
    // glibc raises its threshold for mapping a block on its own each time such a block is freed, and
    // then serves pictures from heaps that keep freed pages: a fixed threshold keeps every large block
    // mapped on its own, returned as soon as it is freed. A heap of its own for the decoding thread
    // would keep a second set of the decoder's working memory for good; the threads that share one
    // rarely allocate at the same moment.
    // Called first thing, before any thread exists.
    mallopt(M_MMAP_THRESHOLD, 512 * 1024); // NOLINT(concurrency-mt-unsafe)
    mallopt(M_ARENA_MAX, 1);               // NOLINT(concurrency-mt-unsafe)
#endif
}

} // namespace vantelo
