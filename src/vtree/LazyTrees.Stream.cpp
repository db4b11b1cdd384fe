// The tree stream format: a 12-byte header, a node count (version 2), then node chunks whose
// base chunk holds the node's fields and its children's chunks. Little-endian throughout.
// The reader takes untrusted bytes: every read is checked, every chunk size is checked
// against its parent and the stream, a child count must fit the bytes left, nesting is
// limited, and a node cut short is completed so the tree's totals stay right.
#include <cstring>

#include "LazyTrees.Assert.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Streams.h"

namespace vtree {

namespace {

constexpr std::uint16_t Magic[6] = {0x2045, 0x0056, 0x0054, 2, 0x0020, 0x2046};
constexpr int StreamVersion = 2;
// Deeper nesting than this is taken as corrupt data, so reading never exhausts the stack.
constexpr unsigned MaxStreamDepth = 4096;
// The smallest node chunk: its header, the base chunk's header and the base body.
constexpr std::int64_t MinChildBytesV2 = 8 + 8 + 19;
constexpr std::int64_t MinChildBytesV1 = 8 + 8 + 12;
// States that describe a running operation or a process-local obligation; they are neither
// written nor restored.
constexpr TLazyNodeStates TransientStates =
    NodeBit(vsChecking) | NodeBit(vsCutOrCopy) | NodeBit(vsDeleting) | NodeBit(vsOnFreeNodeCallRequired) |
    NodeBit(vsHeightMeasured) | NodeBit(vsReleaseCallOnUserDataRequired) | NodeBit(vsToggling) |
    NodeBit(vsInitializing);
constexpr TLazyNodeStates KnownStates = (NodeBit(vsInitializing) << 1) - 1;

inline void Check(bool Condition, const char16_t* Text)
{
    if (!Condition) throw EAssertionFailed(Text);
}

[[noreturn]] void Corrupt() { RaiseTreeError(SCorruptStream2, hcTFCorruptStream2); }

template <class T>
T ReadLE(const std::uint8_t* P)
{
    T v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) v |= T(P[i]) << (8 * i);
    return v;
}

template <class T>
void PutLE(std::uint8_t* P, T V)
{
    for (std::size_t i = 0; i < sizeof(T); ++i) P[i] = std::uint8_t(std::uint64_t(V) >> (8 * i));
}

// Reads exactly Count bytes or raises error 2006.
void ReadChecked(plat::TStream& S, void* Buffer, std::size_t Count)
{
    if (S.Read(Buffer, Count) != Count) Corrupt();
}

void WriteChunkHeader(plat::TStream& S, std::int32_t Type, std::int32_t Size)
{
    std::uint8_t b[8];
    PutLE<std::int32_t>(b, Type);
    PutLE<std::int32_t>(b + 4, Size);
    S.WriteBuffer(b, 8);
}

void CompleteChunkSize(plat::TStream& S, std::int64_t Start, std::int64_t End)
{
    std::uint8_t b[4];
    PutLE<std::int32_t>(b, static_cast<std::int32_t>(End - Start - 8));
    S.Seek(Start + 4, plat::soBeginning);
    S.WriteBuffer(b, 4);
    S.Seek(End, plat::soBeginning);
}

} // namespace

// ---- writing -------------------------------------------------------------------------

void TBaseLazyTree::DoSaveNode(PLazyNode Node, plat::TStream& Stream)
{
    if (OnSaveNode) OnSaveNode(this, Node == FRoot ? nullptr : Node, Stream);
}

void TBaseLazyTree::StoreNode(plat::TStream& Stream, PLazyNode Node)
{
    if (In(FOptions->MiscOptions(), toInitOnSave)) {
        InitIfNeeded(Node);
        if (Node->Has(vsHasChildren) && Node->ChildCount == 0) InitializeChildren(Node);
    }
    const std::int64_t start = Stream.Position();
    WriteChunkHeader(Stream, 1, 0);
    StoreNodeChunks(Stream, Node);
    CompleteChunkSize(Stream, start, Stream.Position());
}

void TBaseLazyTree::StoreNodeChunks(plat::TStream& Stream, PLazyNode Node)
{
    const std::int64_t start = Stream.Position();
    // A node without child chunks says so with a count of 0 (keeping vsHasChildren), so a
    // reader never expects chunks that are not there.
    const bool withChildren = Node->Has(vsInitialized);
    std::uint8_t b[27];
    PutLE<std::int32_t>(b, 2);
    PutLE<std::int32_t>(b + 4, 0);
    PutLE<std::uint32_t>(b + 8, withChildren ? Node->ChildCount : 0);
    PutLE<std::uint32_t>(b + 12, Node->NodeHeight);
    PutLE<std::uint32_t>(b + 16, Node->States & ~TransientStates);
    b[20] = Node->Align;
    b[21] = Node->CheckState;
    b[22] = Node->CheckType;
    PutLE<std::uint32_t>(b + 23, 0);
    Stream.WriteBuffer(b, sizeof b);
    if (withChildren)
        for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling) StoreNode(Stream, c);
    CompleteChunkSize(Stream, start, Stream.Position());
    const std::int64_t user = Stream.Position();
    WriteChunkHeader(Stream, 4, 0);
    DoSaveNode(Node, Stream);
    const std::int64_t end = Stream.Position();
    if (end == user + 8) {
        Stream.Seek(user, plat::soBeginning);
        Stream.SetSize(user);
    } else {
        CompleteChunkSize(Stream, user, end);
    }
}

void TBaseLazyTree::SaveToStream(plat::TStream& Stream, PLazyNode Node)
{
    std::uint8_t header[16];
    for (int i = 0; i < 6; ++i) PutLE<std::uint16_t>(header + 2 * i, Magic[i]);
    if (Node && Node != FRoot) {
        PutLE<std::int32_t>(header + 12, 1);
        Stream.WriteBuffer(header, 16);
        StoreNode(Stream, Node);
    } else {
        PutLE<std::int32_t>(header + 12, static_cast<std::int32_t>(FRoot->ChildCount));
        Stream.WriteBuffer(header, 16);
        for (PLazyNode c = FRoot->FirstChild; c; c = c->NextSibling) StoreNode(Stream, c);
    }
    if (OnSaveTree) OnSaveTree(this, Stream);
}

void TBaseLazyTree::SaveToFile(const String& FileName)
{
    plat::TAtomicFileStream stream(FileName);
    SaveToStream(stream);
    stream.Commit();
}

// ---- reading -------------------------------------------------------------------------

void TBaseLazyTree::DoLoadUserData(PLazyNode Node, plat::TStream& Stream)
{
    if (OnLoadNode) OnLoadNode(this, Node == FRoot ? nullptr : Node, Stream);
}

void TBaseLazyTree::ReadNodeChunk(plat::TStream& Stream, int Version, PLazyNode Node, std::int64_t Limit, unsigned Depth)
{
    if (Depth > MaxStreamDepth) Corrupt();
    std::uint8_t h[8];
    if (Limit - Stream.Position() < 8) Corrupt();
    ReadChecked(Stream, h, 8);
    if (ReadLE<std::int32_t>(h) != 1) RaiseTreeError(SCorruptStream1, hcTFCorruptStream1);
    const std::int32_t size = ReadLE<std::int32_t>(h + 4);
    const std::int64_t end = Stream.Position() + size;
    if (size < 0 || end > Limit) Corrupt();
    while (Stream.Position() < end) {
        if (end - Stream.Position() < 8) Corrupt();
        ReadChecked(Stream, h, 8);
        const std::int32_t type = ReadLE<std::int32_t>(h);
        const std::int32_t subSize = ReadLE<std::int32_t>(h + 4);
        if (subSize < 0 || Stream.Position() + subSize > end) Corrupt();
        ReadNodeSubChunk(Stream, Version, Stream.Position() + subSize, subSize, type, Node, Depth);
    }
    if (Stream.Position() != end) Corrupt();
}

bool TBaseLazyTree::ReadNodeSubChunk(plat::TStream& Stream, int Version, std::int64_t ChunkEnd, std::int32_t ChunkSize,
                                     std::int32_t ChunkType, PLazyNode Node, unsigned Depth)
{
    switch (ChunkType) {
    case 2:
        ReadBaseChunk(Stream, Version, ChunkSize, Node, ChunkEnd, Depth);
        return true;
    case 4: {
        if (ChunkSize <= 0) return true;
        const std::int64_t start = Stream.Position();
        DoLoadUserData(Node, Stream);
        const bool read = Stream.Position() != start;
        if (Stream.Position() != ChunkEnd) Stream.Seek(ChunkEnd, plat::soBeginning);
        return read;
    }
    default:
        Stream.Seek(ChunkEnd, plat::soBeginning);
        return false;
    }
}

void TBaseLazyTree::ReadBaseChunk(plat::TStream& Stream, int Version, std::int32_t ChunkSize, PLazyNode Node,
                                  std::int64_t ChunkEnd, unsigned Depth)
{
    std::uint8_t b[19];
    std::uint32_t count, height;
    TLazyNodeStates states;
    std::uint8_t align, checkState, checkType;
    if (Version >= 2) {
        if (ChunkSize < 19) Corrupt();
        ReadChecked(Stream, b, 19);
        count = ReadLE<std::uint32_t>(b);
        height = ReadLE<std::uint32_t>(b + 4);
        states = ReadLE<std::uint32_t>(b + 8);
        align = b[12];
        checkState = b[13];
        checkType = b[14];
    } else {
        if (ChunkSize < 12) Corrupt();
        ReadChecked(Stream, b, 12);
        count = ReadLE<std::uint32_t>(b);
        height = ReadLE<std::uint32_t>(b + 4);
        const std::uint8_t old = b[8];
        states = (old & 0x7Fu) | NodeBit(vsVisible);
        if (old & 0x80u) states |= NodeBit(vsSelected);
        align = b[9];
        checkState = b[10];
        checkType = b[11];
    }
    if (checkState > csMixedDisabled || checkType > ctButton) Corrupt();
    // Children must fit the bytes left before anything is allocated for them.
    const std::int64_t perChild = Version >= 2 ? MinChildBytesV2 : MinChildBytesV1;
    if (std::int64_t(count) > (ChunkEnd - Stream.Position()) / perChild) Corrupt();
    // Children read earlier (a second base chunk) stay; the node's fields are replaced.
    Node->States = (states & KnownStates & ~TransientStates) | (Node->States & TransientStates & NodeBit(vsOnFreeNodeCallRequired));
    if (Node->Has(vsMultiline)) FHasMultilineNodes = true;
    Node->NodeHeight = static_cast<std::uint16_t>(height & 0xFFFF);
    Node->TotalHeight = GetEffectivelyFiltered(Node) ? 0 : Node->NodeHeight;
    Node->Align = align;
    Node->CheckState = checkState;
    Node->CheckType = checkType;
    for (std::uint32_t i = 0; i < count; ++i) {
        PLazyNode child = MakeNewNode();
        child->PrevSibling = Node->LastChild;
        child->Index = Node->LastChild ? Node->LastChild->Index + 1 : 0;
        child->Parent = Node;
        if (Node->LastChild) Node->LastChild->NextSibling = child;
        else Node->FirstChild = child;
        Node->LastChild = child;
        // Counted as soon as it is linked, so a stream cut inside it leaves a whole tree.
        ++Node->ChildCount;
        ReadNodeChunk(Stream, Version, child, ChunkEnd, Depth + 1);
    }
}

void TBaseLazyTree::SumSubtreeTotals(PLazyNode Node)
{
    // Reverse pre-order visits every child before its parent. A hidden child, or one under a
    // collapsed parent, adds no height.
    for (PLazyNode n = GetLastNoInit(Node); n && n != Node; n = GetPreviousNoInit(n)) {
        n->Parent->TotalCount += n->TotalCount;
        if (n->Has(vsVisible) && n->Parent->Has(vsExpanded)) n->Parent->TotalHeight += n->TotalHeight;
    }
}

void TBaseLazyTree::LoadNodeFromStream(plat::TStream& Stream, int Version, PLazyNode Node)
{
    Check(Node != FRoot, u"The root node cannot be loaded from stream.");
    const std::uint32_t oldHeight = Node->TotalHeight;
    const bool countedVisible = GetFullyVisible(Node) && !GetEffectivelyFiltered(Node);
    auto repair = [&] {
        // The children were linked without any totals; rebuild them bottom-up.
        SumSubtreeTotals(Node);
        AdjustTotalCount(Node->Parent, std::int64_t(Node->TotalCount) - 1);
        if (Node->Parent->Has(vsExpanded) && Node->Has(vsVisible))
            PropagateTotalHeight(Node->Parent, std::int64_t(Node->TotalHeight) - oldHeight, true);
        else if (Node->Parent->Has(vsExpanded) && !Node->Has(vsVisible))
            PropagateTotalHeight(Node->Parent, -std::int64_t(oldHeight), true);
        std::int64_t rows = GetFullyVisible(Node) ? VisibleDescendantCount(Node) + (GetEffectivelyVisible(Node) ? 1 : 0) : 0;
        FVisibleCount = static_cast<std::uint32_t>(FVisibleCount + rows - (countedVisible ? 1 : 0));
        // The stream's vsAllChildrenHidden is not trusted where it matters: a node with
        // children gets it recomputed, one announcing children loses it.
        PLazyNode stop = nullptr;
        for (PLazyNode n = Node; n != FRoot && !stop; n = n->Parent) stop = n->NextSibling;
        for (PLazyNode n = Node; n && n != stop; n = GetNextNoInit(n)) {
            if (n->ChildCount > 0) RefreshAllChildrenHidden(n);
            else if (n->Has(vsHasChildren)) n->Exclude(vsAllChildrenHidden);
        }
        if (Node->Parent != FRoot) RefreshAllChildrenHidden(Node->Parent);
        ResetTempNodes();
        // Selection flags: dropped without multi-selection, else merged in one call.
        const bool multi = In(FOptions->SelectionOptions(), toMultiSelect);
        for (PLazyNode n = Node; n && n != stop; n = GetNextNoInit(n)) {
            if (!n->Has(vsSelected)) continue;
            int index;
            if (!multi) n->Exclude(vsSelected);
            else if (!FindInSelection(n, index)) {
                n->Exclude(vsSelected);
                PushTempNode(n);
            }
        }
        if (FTempNodeCount > 0) {
            TNodeArray nodes(FTempNodeCache.begin(), FTempNodeCache.begin() + FTempNodeCount);
            // A reader of many nodes collects them and merges them into the selection once.
            if (FLoadedSelection) FLoadedSelection->insert(FLoadedSelection->end(), nodes.begin(), nodes.end());
            else AddNodesToSelection(nodes, int(nodes.size()), true);
        }
        ResetTempNodes();
    };
    try {
        ReadNodeChunk(Stream, Version, Node, Stream.Size(), 0);
    } catch (...) {
        repair();
        throw;
    }
    repair();
}

void TBaseLazyTree::StreamToTree(plat::TStream& Stream, PLazyNode Target, TLTNodeAttachMode Mode,
                                 TBaseLazyTree* Source, bool Copy, PLazyNode& Last)
{
    BeginUpdate();
    struct Finally {
        TBaseLazyTree* T;
        ~Finally() { T->EndUpdate(); }
    } finally{this};
    const std::int64_t size = Stream.Size();
    while (Stream.Position() < size) {
        PLazyNode node = MakeNewNode();
        LinkNode(node, Target, Mode, this);
        LoadNodeFromStream(Stream, StreamVersion, node);
        if (Copy) {
            if (!Source->DoNodeCopying(node, Target == FRoot ? nullptr : Target)) {
                DeleteNode(node);
                Last = nullptr;
            } else {
                Source->DoNodeCopied(node);
                Last = node;
            }
        } else {
            Source->DoNodeMoved(node);
            Last = node;
        }
    }
}

namespace {

// Reads and checks the header; answers the version.
int ReadHeader(plat::TStream& Stream, bool Adding)
{
    std::uint8_t h[12];
    if (Adding) Stream.ReadBuffer(h, 12);
    else if (Stream.Read(h, 12) != 12) RaiseTreeError(SStreamTooSmall, hcTFStreamTooSmall);
    const bool same = ReadLE<std::uint16_t>(h) == Magic[0] && ReadLE<std::uint16_t>(h + 2) == Magic[1] &&
                      ReadLE<std::uint16_t>(h + 4) == Magic[2] && ReadLE<std::uint16_t>(h + 10) == Magic[5];
    if (!same) {
        if (Adding) RaiseTreeError(SWrongStreamVersion, hcTFWrongStreamVersion);
        RaiseTreeError(SWrongStreamFormat, hcTFWrongStreamFormat);
    }
    const int version = ReadLE<std::uint16_t>(h + 6);
    if (version > StreamVersion) RaiseTreeError(SWrongStreamVersion, hcTFWrongStreamVersion);
    return version;
}

} // namespace

void TBaseLazyTree::ReadNodesInto(plat::TStream& Stream, PLazyNode Parent, bool Adding)
{
    const int version = ReadHeader(Stream, Adding);
    BeginUpdate();
    struct Finally {
        TBaseLazyTree* T;
        ~Finally() { T->EndUpdate(); }
    } finally{this};
    // Version 2 says how many top nodes follow; older streams run to their end.
    std::int64_t count = 0x7FFFFFFF;
    if (version >= 2) {
        std::uint8_t c[4];
        Stream.ReadBuffer(c, 4);
        count = ReadLE<std::int32_t>(c);
    }
    const std::int64_t size = Stream.Size();
    while (Stream.Position() < size && count != 0) {
        --count;
        PLazyNode node = MakeNewNode();
        LinkNode(node, Parent, amAddChildLast, this);
        LoadNodeFromStream(Stream, version, node);
    }
    DoNodeCopied(Parent == FRoot ? nullptr : Parent);
    if (!Adding && OnLoadTree) OnLoadTree(this, Stream);
}

void TBaseLazyTree::LoadFromStream(plat::TStream& Stream)
{
    WorkerPause pause(this);
    if (In(FOptions->MiscOptions(), toReadOnly)) return;
    Clear();
    ReadNodesInto(Stream, FRoot, false);
}

void TBaseLazyTree::AddFromStream(plat::TStream& Stream, PLazyNode TargetNode)
{
    WorkerPause pause(this);
    if (In(FOptions->MiscOptions(), toReadOnly)) return;
    if (!TargetNode) TargetNode = FRoot;
    Check(TargetNode == FRoot || OwnerTreeOfNode(TargetNode) == this, u"The target node must belong to this tree.");
    ReadNodesInto(Stream, TargetNode, true);
}

void TBaseLazyTree::LoadFromFile(const String& FileName)
{
    plat::TFileStream stream(FileName, plat::fmOpenRead | plat::fmShareDenyWrite);
    LoadFromStream(stream);
}

} // namespace vtree
