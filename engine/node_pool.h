// Storage for the nodes of the lists that change every frame (particles, placed
// effects, carrot sprites): a node given back is kept and handed out again, so
// once the lists have been as long as play makes them a frame asks nothing of
// the heap.
#pragma once

#include <cstddef>
#include <list>
#include <new>

// Slots of one size, taken from chunks of about kChunkBytes. The pool grows a
// chunk at a time and only when every slot is in use, so it holds no more than
// the most the lists have held at once, plus one chunk; the lists' own limits
// bound that. Chunks are never returned: lists that live until the process ends
// give their nodes back after any destructor of the pool would have run, so the
// pool has none and its chunks go with the process.
class NodePool {
public:
    static constexpr size_t kChunkBytes = 16 * 1024;

    // The slot size is set by the first node asked for: a pool serves the nodes
    // of one kind of list, and a list asks for nothing but its nodes.
    bool Fits(size_t bytes, size_t align)
    {
        if (slot_ == 0) {
            slot_ = Round(bytes < sizeof(Free) ? sizeof(Free) : bytes, align);
            per_chunk_ = kChunkBytes / slot_ < 1 ? 1 : kChunkBytes / slot_;
        }
        return bytes <= slot_ && slot_ % align == 0;
    }

    void* Take()
    {
        if (!free_)
            Grow();
        Free* slot = free_;
        free_ = slot->next;
        ++in_use_;
        return slot;
    }

    void Give(void* p)
    {
        Free* slot = static_cast<Free*>(p);
        slot->next = free_;
        free_ = slot;
        --in_use_;
    }

    size_t Capacity() const { return capacity_; }
    size_t InUse() const { return in_use_; }

private:
    struct Free {
        Free* next;
    };
    // Each chunk starts with the link to the one before, padded so the slots
    // after it keep the strictest alignment operator new gives.
    static constexpr size_t kHeader = alignof(std::max_align_t);

    static constexpr size_t Round(size_t n, size_t align) { return (n + align - 1) / align * align; }

    void Grow()
    {
        char* chunk = static_cast<char*>(::operator new(kHeader + per_chunk_ * slot_));
        *reinterpret_cast<char**>(chunk) = chunks_;
        chunks_ = chunk;
        // Threaded back to front, so the slots go out in address order.
        for (size_t i = per_chunk_; i-- > 0;) {
            Free* slot = reinterpret_cast<Free*>(chunk + kHeader + i * slot_);
            slot->next = free_;
            free_ = slot;
        }
        capacity_ += per_chunk_;
    }

    size_t slot_ = 0;
    size_t per_chunk_ = 0;
    Free* free_ = nullptr;
    char* chunks_ = nullptr;
    size_t capacity_ = 0;
    size_t in_use_ = 0;
};

// One pool for the nodes of every list of T, alive before any list that uses it
// and never destroyed: the game's global lists are torn down at exit in any order.
template <class T>
inline NodePool list_pool;

// A standard allocator over those pools: each node of a list of `Of` is one
// slot of the pool of `Of`. Anything that does not fit a slot goes to the heap
// as usual. All allocators of one list type are alike, so lists splice, swap and
// copy as with the standard one.
template <class T, class Of = T>
struct PooledAllocator {
    using value_type = T;
    template <class U>
    struct rebind {
        using other = PooledAllocator<U, Of>;
    };
    static_assert(alignof(T) <= alignof(std::max_align_t), "pooled nodes keep operator new's alignment");

    PooledAllocator() = default;
    template <class U>
    constexpr PooledAllocator(const PooledAllocator<U, Of>&) noexcept
    {
    }

    static bool Pooled(size_t n) { return n == 1 && list_pool<Of>.Fits(sizeof(T), alignof(T)); }

    T* allocate(size_t n)
    {
        if (Pooled(n))
            return static_cast<T*>(list_pool<Of>.Take());
        return static_cast<T*>(::operator new(n * sizeof(T)));
    }
    void deallocate(T* p, size_t n) noexcept
    {
        if (Pooled(n))
            list_pool<Of>.Give(p);
        else
            ::operator delete(p);
    }

    template <class U>
    bool operator==(const PooledAllocator<U, Of>&) const noexcept
    {
        return true;
    }
    template <class U>
    bool operator!=(const PooledAllocator<U, Of>&) const noexcept
    {
        return false;
    }
};

// A list whose nodes come from the pool of its element type.
template <class T>
using PooledList = std::list<T, PooledAllocator<T>>;
