#include "LazyTrees.Nodes.h"

#include <cstdlib>
#include <new>

namespace vtree {

void TNodePool::Reset(std::size_t BlockSize)
{
    for (std::uint8_t* slab : slabs_) std::free(slab);
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
    } else {
        if (slabUsed_ == slabBlocks_) {
            // Slabs double from 256 blocks up to 64 Ki blocks, so small trees stay small and
            // large ones need few allocations.
            const std::size_t blocks = slabs_.empty() ? 256 : std::min<std::size_t>(slabBlocks_ * 2, 65536);
            auto* slab = static_cast<std::uint8_t*>(std::malloc(blocks * blockSize_));
            if (!slab) throw std::bad_alloc();
            slabs_.push_back(slab);
            slabBlocks_ = blocks;
            slabUsed_ = 0;
        }
        block = slabs_.back() + slabUsed_++ * blockSize_;
    }
    std::memset(block, 0, blockSize_);
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
