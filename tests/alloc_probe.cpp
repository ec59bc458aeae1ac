// Replaces operator new in one test binary to watch the sizes asked for.
#include "reader_support.h"

#include <atomic>
#include <new>

namespace {
std::atomic<size_t> largest{0};
constexpr size_t kRefused = size_t{1} << 30;

void* Allocate(size_t n) noexcept
{
    for (size_t seen = largest.load(); n > seen && !largest.compare_exchange_weak(seen, n);) {
    }
    return n >= kRefused ? nullptr : std::malloc(n ? n : 1);
}
} // namespace

size_t bm::LargestAllocation() { return largest.exchange(0); }

void* operator new(size_t n)
{
    if (void* p = Allocate(n))
        return p;
    throw std::bad_alloc();
}
void* operator new[](size_t n) { return operator new(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
