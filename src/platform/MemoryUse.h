#pragma once

namespace vantelo {

// Pictures of tens of megabytes come and go with every slide. Asks the C library to give such blocks
// back to the system the moment they are freed, and to keep one heap for all threads, so that a show
// running for hours keeps to the memory of the pictures it holds. Call once, first thing.
void keepMemoryCompact();

} // namespace vantelo
