// The largest single allocation made through operator new, so a test can show
// that a reader sized nothing from a file before checking it against the file.
#pragma once

#include <cstddef>

namespace bm {
// The largest request since the previous call (requests over 1 GiB are refused).
size_t LargestAllocation();
} // namespace bm
