#include "LazyTrees.Nodes.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace vtree {

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;
constexpr std::size_t MappedSlab = 4 * HugePage;
std::atomic<std::size_t> Mapped{0};

// A slab in huge pages: mapped with room to spare, then trimmed to a 2 MB boundary.
std::uint8_t* MapSlab()
{
    const std::size_t span = MappedSlab + HugePage;
    void* p = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    auto* raw = static_cast<std::uint8_t*>(p);
    auto* aligned = reinterpret_cast<std::uint8_t*>((reinterpret_cast<std::uintptr_t>(raw) + HugePage - 1) & ~(HugePage - 1));
    if (aligned > raw) ::munmap(raw, std::size_t(aligned - raw));
    const std::size_t tail = std::size_t(raw + span - (aligned + MappedSlab));
    if (tail) ::munmap(aligned + MappedSlab, tail);
    ::madvise(aligned, MappedSlab, MADV_HUGEPAGE);
    Mapped += MappedSlab;
    return aligned;
}

} // namespace

std::size_t TNodePool::MappedBytes() { return Mapped.load(); }

void TNodePool::Reset(std::size_t BlockSize)
{
    for (const Slab& slab : slabs_) {
        if (slab.Mapped) {
            ::munmap(slab.Memory, MappedSlab);
            Mapped -= MappedSlab;
        } else {
            std::free(slab.Memory);
        }
    }
    slabs_.clear();
    slabUsed_ = slabBlocks_ = 0;
    free_ = nullptr;
    live_ = 0;
    blockSize_ = (BlockSize + 3) & ~std::size_t(3);
}

void* TNodePool::Allocate()
{
    void* block;
    if (free_) {
        block = free_;
        FreeBlock* next;
        std::memcpy(&next, block, sizeof next);
        free_ = next;
        std::memset(block, 0, blockSize_);
    } else {
        if (slabUsed_ == slabBlocks_) {
            // Small trees take small heap slabs that double; past 2 MB a slab is 8 MB of huge
            // pages, so a million nodes cost a handful of page faults. Fresh mapped memory is
            // zero already.
            const std::size_t next = slabs_.empty() ? 256 : slabBlocks_ * 2;
            Slab slab;
            if (next * blockSize_ >= HugePage) {
                slab = {MapSlab(), true};
                slabBlocks_ = MappedSlab / blockSize_;
            } else {
                slab = {static_cast<std::uint8_t*>(std::calloc(next, blockSize_)), false};
                if (!slab.Memory) throw std::bad_alloc();
                slabBlocks_ = next;
            }
            slabs_.push_back(slab);
            slabUsed_ = 0;
        }
        block = slabs_.back().Memory + slabUsed_++ * blockSize_;
    }
    ++live_;
    return block;
}

void TNodePool::Free(void* Block)
{
    std::memcpy(Block, &free_, sizeof free_);
    free_ = static_cast<FreeBlock*>(Block);
    --live_;
}

} // namespace vtree
