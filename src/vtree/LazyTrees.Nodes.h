#pragma once
// The node record of the tree control and the pool its blocks come from.
// - A node is one zero-filled block: the packed TLazyNode record (66 bytes), the user data
//   (NodeDataSize bytes, starting right behind LastChild), then the internal data areas of
//   derived classes, the first at the record size rounded up to 4 (68) + NodeDataSize.
// - Blocks of one tree all have the same size and come from a per-tree pool of slabs (large
//   ones in huge pages), so a million nodes cost a million blocks and a dozen allocations. Blocks are 4-aligned,
//   so bit 0 of a node address is free for the selection array's removal marks.
// - The user-data slot that SetData fills holds a native pointer (8 bytes on 64-bit).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vtree {

enum TLazyNodeState : unsigned {
    vsInitialized, vsChecking, vsCutOrCopy, vsDisabled, vsDeleting, vsExpanded, vsHasChildren,
    vsVisible, vsSelected, vsOnFreeNodeCallRequired, vsAllChildrenHidden,
    vsReleaseCallOnUserDataRequired, vsMultiline, vsHeightMeasured, vsToggling, vsFiltered,
    vsInitializing
};
using TLazyNodeStates = std::uint32_t;
constexpr TLazyNodeStates NodeBit(TLazyNodeState S) { return TLazyNodeStates(1) << S; }

enum TLazyNodeInitState : unsigned {
    ivsDisabled, ivsExpanded, ivsHasChildren, ivsMultiline, ivsSelected, ivsFiltered, ivsReInit
};
using TLazyNodeInitStates = std::uint8_t;
constexpr TLazyNodeInitStates InitBit(TLazyNodeInitState S) { return TLazyNodeInitStates(1u << S); }

enum TCheckType : std::uint8_t { ctNone, ctTriStateCheckBox, ctCheckBox, ctRadioButton, ctButton };
enum TCheckState : std::uint8_t {
    csUncheckedNormal, csUncheckedPressed, csCheckedNormal, csCheckedPressed, csMixedNormal,
    csMixedPressed, csUncheckedDisabled, csCheckedDisabled, csMixedDisabled
};

#pragma pack(push, 1)
struct TLazyNode {
    std::uint32_t Index;
    std::uint32_t ChildCount;
    std::uint16_t NodeHeight;
    TLazyNodeStates States;
    std::uint8_t Align;
    std::uint8_t CheckState;
    std::uint8_t CheckType;
    std::uint8_t Dummy;
    std::uint32_t TotalCount;
    std::uint32_t TotalHeight;
    TLazyNode* Parent;
    TLazyNode* PrevSibling;
    TLazyNode* NextSibling;
    TLazyNode* FirstChild;
    TLazyNode* LastChild;

    bool Has(TLazyNodeState S) const { return (States & NodeBit(S)) != 0; }
    void Include(TLazyNodeState S) { States |= NodeBit(S); }
    void Exclude(TLazyNodeState S) { States &= ~NodeBit(S); }

    static bool IsAssigned(const TLazyNode* Node) { return Node != nullptr; }
    // Unchecked: the caller passes a real node with enough user data.
    std::uint8_t* GetData()
    {
        Include(vsOnFreeNodeCallRequired);
        return DataArea();
    }
    void SetData(const void* UserData)
    {
        std::memcpy(DataArea(), &UserData, sizeof UserData);
        Include(vsOnFreeNodeCallRequired);
    }
    std::uint8_t* DataArea() { return reinterpret_cast<std::uint8_t*>(this) + sizeof(TLazyNode); }
};
#pragma pack(pop)

static_assert(sizeof(TLazyNode) == 66, "the node record is packed");
using PLazyNode = TLazyNode*;
using TNodeArray = std::vector<PLazyNode>;

// The record size rounded up to a multiple of 4: where internal areas start, counted from
// the node address plus NodeDataSize.
constexpr std::uint32_t NodeRecordSize = (sizeof(TLazyNode) + 3) & ~std::uint32_t(3);

// Equal blocks in slabs. Freed blocks are reused before a slab grows; Reset gives back all.
class TNodePool {
public:
    TNodePool() = default;
    TNodePool(const TNodePool&) = delete;
    TNodePool& operator=(const TNodePool&) = delete;
    ~TNodePool() { Reset(0); }

    // Forgets every block and sets the block size for the next ones (rounded up to 4).
    void Reset(std::size_t BlockSize);
    std::size_t BlockSize() const { return blockSize_; }
    // A zero-filled block.
    void* Allocate();
    void Free(void* Block);
    std::size_t LiveBlocks() const { return live_; }
    // Bytes of all pools held in mapped huge-page slabs (outside the heap statistics).
    static std::size_t MappedBytes();

private:
    struct FreeBlock { FreeBlock* Next; };
    struct Slab {
        std::uint8_t* Memory;
        bool Mapped;
    };
    std::size_t blockSize_ = 0;
    std::vector<Slab> slabs_;
    std::size_t slabUsed_ = 0;      // blocks handed out of the last slab
    std::size_t slabBlocks_ = 0;    // blocks in the last slab
    FreeBlock* free_ = nullptr;
    std::size_t live_ = 0;
};

} // namespace vtree
