// The tree's data object, its format enumerator, the read-only transfer stream, tree
// references with the process's live trees, and the tree's side of rendering and reading
// transferred data.
#include "LazyTrees.DataObject.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.ClipBoard.h"
#include "LazyTrees.SharedResources.h"

namespace vtree {

using plat::HRESULT;
using plat::TStgMedium;

namespace {

std::mutex& LiveLock()
{
    static std::mutex m;
    return m;
}

std::unordered_map<std::uint64_t, TBaseLazyTree*>& LiveTrees()
{
    static std::unordered_map<std::uint64_t, TBaseLazyTree*> t;
    return t;
}

std::atomic<std::uint64_t> g_nextExchangeId{1};

bool SameDescriptor(const plat::TFormatEtc& A, const plat::TFormatEtc& B)
{
    return A.Format == B.Format && A.Ptd == B.Ptd && A.Aspect == B.Aspect && A.Index == B.Index &&
           (A.Tymed & B.Tymed) != 0;
}

plat::TFormatEtc TreeFormat(std::uint16_t Format)
{
    plat::TFormatEtc f;
    f.Format = Format;
    f.Aspect = plat::DVASPECT_CONTENT;
    f.Index = -1;
    f.Tymed = plat::TYMED_HGLOBAL | plat::TYMED_ISTREAM;
    return f;
}

} // namespace

// ---- live trees and tree references ---------------------------------------------------------

void RegisterLiveTree(TBaseLazyTree* Tree)
{
    std::lock_guard<std::mutex> lock(LiveLock());
    LiveTrees()[Tree->ExchangeId()] = Tree;
}

void UnregisterLiveTree(TBaseLazyTree* Tree)
{
    std::lock_guard<std::mutex> lock(LiveLock());
    LiveTrees().erase(Tree->ExchangeId());
}

TBaseLazyTree* FindLiveTree(std::uint64_t ExchangeId)
{
    std::lock_guard<std::mutex> lock(LiveLock());
    const auto it = LiveTrees().find(ExchangeId);
    return it == LiveTrees().end() ? nullptr : it->second;
}

std::vector<std::uint8_t> MakeTreeReference(const TBaseLazyTree& Tree)
{
    std::vector<std::uint8_t> b(TreeReferenceSize, 0);
    const std::uint32_t pid = plat::GetCurrentProcessId();
    const std::uint64_t id = Tree.ExchangeId();
    for (int i = 0; i < 4; ++i) b[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(pid >> (8 * i));
    for (int i = 0; i < 8; ++i) b[static_cast<std::size_t>(4 + i)] = static_cast<std::uint8_t>(id >> (8 * i));
    return b;
}

TBaseLazyTree* TreeOfReference(const std::uint8_t* Block, std::size_t Size)
{
    if (!Block || Size < TreeReferenceSize) return nullptr;
    std::uint32_t pid = 0;
    std::uint64_t id = 0;
    for (int i = 0; i < 4; ++i) pid |= std::uint32_t(Block[i]) << (8 * i);
    for (int i = 0; i < 8; ++i) id |= std::uint64_t(Block[4 + i]) << (8 * i);
    if (pid != plat::GetCurrentProcessId()) return nullptr;
    return FindLiveTree(id);
}

bool TreeDataChunks(const std::uint8_t* Block, std::size_t BlockSize, const std::uint8_t*& Chunks,
                    std::size_t& ChunkSize)
{
    Chunks = nullptr;
    ChunkSize = 0;
    if (!Block || BlockSize < 4) return false;
    const std::int32_t size = static_cast<std::int32_t>(std::uint32_t(Block[0]) | std::uint32_t(Block[1]) << 8 |
                                                        std::uint32_t(Block[2]) << 16 | std::uint32_t(Block[3]) << 24);
    if (size < 0 || static_cast<std::size_t>(size) > BlockSize - 4) return false;
    Chunks = Block + 4;
    ChunkSize = static_cast<std::size_t>(size);
    return true;
}

// ---- TOLEMemoryStream ------------------------------------------------------------------------

std::size_t TOLEMemoryStream::Write(const void*, std::size_t)
{
    throw plat::EStreamError(u"Can't write to a read-only resource stream");
}

// ---- TEnumFormatEtc --------------------------------------------------------------------------

TEnumFormatEtc::TEnumFormatEtc(TBaseLazyTree* Tree, std::vector<plat::TFormatEtc> Formats)
    : FTree(Tree), FFormatEtcArray(std::move(Formats))
{
}

HRESULT TEnumFormatEtc::Next(std::uint32_t Count, plat::TFormatEtc* Out, std::uint32_t* Fetched)
{
    const std::size_t left = FFormatEtcArray.size() - static_cast<std::size_t>(FCurrentIndex);
    const std::size_t n = std::min<std::size_t>(Count, left);
    for (std::size_t i = 0; i < n; ++i) Out[i] = FFormatEtcArray[static_cast<std::size_t>(FCurrentIndex) + i];
    FCurrentIndex += static_cast<int>(n);
    if (Fetched) *Fetched = static_cast<std::uint32_t>(n);
    return n == Count ? plat::S_OK : plat::S_FALSE;
}

HRESULT TEnumFormatEtc::Skip(std::uint32_t Count)
{
    if (static_cast<std::size_t>(FCurrentIndex) + Count > FFormatEtcArray.size()) return plat::S_FALSE;
    FCurrentIndex += static_cast<int>(Count);
    return plat::S_OK;
}

HRESULT TEnumFormatEtc::Reset()
{
    FCurrentIndex = 0;
    return plat::S_OK;
}

HRESULT TEnumFormatEtc::Clone(std::shared_ptr<plat::IEnumFormatEtc>& Out)
{
    try {
        auto e = std::make_shared<TEnumFormatEtc>(nullptr, FFormatEtcArray);
        e->FCurrentIndex = FCurrentIndex;
        Out = std::move(e);
        return plat::S_OK;
    } catch (...) {
        Out.reset();
        return plat::E_FAIL;
    }
}

// ---- TLTDataObject ---------------------------------------------------------------------------

TLTDataObject::TLTDataObject(TBaseLazyTree* AOwner, bool ForClipboard) : FOwner(AOwner), FForClipboard(ForClipboard)
{
    if (FOwner) {
        FOwner->CollectClipboardFormats(FFormatEtcArray);
        FOwner->FDataObjects.push_back(this);
    }
}

TLTDataObject::~TLTDataObject()
{
    if (FOwner) {
        auto& list = FOwner->FDataObjects;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        if (FForClipboard && !FOwner->HasState(tsClipboardFlushing)) {
            // The marks belong to this object unless another clipboard object of the tree is
            // on the clipboard now (it was set while this one was still held elsewhere).
            bool replaced = false;
            for (TLTDataObject* other : list)
                replaced = replaced || (other->FForClipboard && plat::OleIsCurrentClipboard(other) == plat::S_OK);
            if (!replaced) FOwner->ReleaseCutCopyMarks();
        }
    }
    for (TInternalStgMedium& m : FInternalStgMediumArray) plat::ReleaseStgMedium(m.Medium);
}

int TLTDataObject::FindFormatEtc(const plat::TFormatEtc& Format) const
{
    for (std::size_t i = 0; i < FFormatEtcArray.size(); ++i)
        if (SameDescriptor(FFormatEtcArray[i], Format)) return static_cast<int>(i);
    return -1;
}

TLTDataObject::TInternalStgMedium* TLTDataObject::FindInternalStgMedium(std::uint16_t Format)
{
    for (TInternalStgMedium& m : FInternalStgMediumArray)
        if (m.Format == Format) return &m;
    return nullptr;
}

HRESULT TLTDataObject::CopyMediumReference(const TStgMedium& Source, TStgMedium& Dest, bool CopyMedium)
{
    Dest.Tymed = Source.Tymed;
    Dest.Global = Source.Global;
    Dest.Stream = Source.Stream;
    Dest.FileName = Source.FileName;
    Dest.ReleaseObject = Source.ReleaseObject;
    switch (Source.Tymed) {
    case plat::TYMED_HGLOBAL:
        if (CopyMedium) {
            plat::TGlobalHandle copy = plat::TGlobalHandle::Alloc(Source.Global.size());
            if (!copy) return plat::E_OUTOFMEMORY;
            if (!Source.Global.empty()) std::memcpy(copy.data(), Source.Global.data(), Source.Global.size());
            Dest.Global = copy;
        } else {
            Dest.ReleaseObject = weak_from_this().lock();
        }
        break;
    case plat::TYMED_FILE:
    case plat::TYMED_ISTREAM:
    case plat::TYMED_ISTORAGE:
        // The name is copied with the medium; streams gain a holder by being shared.
        break;
    case plat::TYMED_GDI:
    case plat::TYMED_MFPICT:
    case plat::TYMED_ENHMF:
        if (CopyMedium) return plat::DV_E_TYMED;
        Dest.ReleaseObject = weak_from_this().lock();
        break;
    default:
        return plat::DV_E_TYMED;
    }
    return plat::S_OK;
}

HRESULT TLTDataObject::DAdvise(const plat::TFormatEtc& Format, std::uint32_t Advf, std::shared_ptr<plat::IAdviseSink> Sink,
                               std::uint32_t& Connection)
{
    Connection = 0;
    if (!FAdviseHolder) {
        const HRESULT r = plat::CreateDataAdviseHolder(FAdviseHolder);
        if (r != plat::S_OK) return r;
    }
    return FAdviseHolder->Advise(this, Format, Advf, std::move(Sink), Connection);
}

HRESULT TLTDataObject::DUnadvise(std::uint32_t Connection)
{
    return FAdviseHolder ? FAdviseHolder->Unadvise(Connection) : plat::E_NOTIMPL;
}

HRESULT TLTDataObject::EnumDAdvise()
{
    return FAdviseHolder ? FAdviseHolder->EnumAdvise() : plat::OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TLTDataObject::EnumFormatEtc(int Direction, std::shared_ptr<plat::IEnumFormatEtc>& Out)
{
    Out.reset();
    if (Direction != plat::DATADIR_GET) return plat::OLE_S_USEREG;
    Out = std::make_shared<TEnumFormatEtc>(FOwner, FFormatEtcArray);
    return plat::S_OK;
}

HRESULT TLTDataObject::GetCanonicalFormatEtc(const plat::TFormatEtc&, plat::TFormatEtc&)
{
    return plat::DATA_S_SAMEFORMATETC;
}

HRESULT TLTDataObject::GetData(const plat::TFormatEtc& Format, TStgMedium& Medium)
{
    try {
        Medium = TStgMedium{};
        if (Format.Format == TreeReferenceFormat && TreeReferenceFormat != 0) {
            if (!FOwner || FOwner->HasState(tsClipboardFlushing)) return plat::E_FAIL;
            Medium.Tymed = plat::TYMED_HGLOBAL;
            Medium.Global = MakeTreeReference(*FOwner);
            return plat::S_OK;
        }
        const HRESULT q = QueryGetData(Format);
        if (q != plat::S_OK) return q;
        // Offered descriptors carry no target device, so a request naming one matches none.
        const int index = FindFormatEtc(Format);
        if (index < 0) return plat::DV_E_FORMATETC;
        if (TInternalStgMedium* stored = FindInternalStgMedium(static_cast<std::uint16_t>(Format.Format));
            stored && stored->Medium.Tymed != plat::TYMED_NULL)
            return CopyMediumReference(stored->Medium, Medium, false);
        if (!FOwner) return plat::E_FAIL;
        return FOwner->RenderFormat(Format, Medium, FForClipboard);
    } catch (...) {
        Medium = TStgMedium{};
        return plat::E_FAIL;
    }
}

HRESULT TLTDataObject::GetDataHere(const plat::TFormatEtc&, TStgMedium&)
{
    return plat::E_NOTIMPL;
}

HRESULT TLTDataObject::QueryGetData(const plat::TFormatEtc& Format)
{
    HRESULT result = plat::DV_E_FORMATETC;
    for (const plat::TFormatEtc& f : FFormatEtcArray) {
        if (f.Format != Format.Format) continue;
        if ((f.Tymed & Format.Tymed) == 0) result = plat::DV_E_TYMED;
        else if (f.Aspect != Format.Aspect) result = plat::DV_E_DVASPECT;
        else if (f.Index != Format.Index) result = plat::DV_E_LINDEX;
        else return plat::S_OK;
    }
    return result;
}

HRESULT TLTDataObject::SetData(const plat::TFormatEtc& Format, const TStgMedium& Medium, bool Release)
{
    const auto id = static_cast<std::uint16_t>(Format.Format);
    TInternalStgMedium* stored = nullptr;
    if (FindFormatEtc(Format) < 0) {
        FFormatEtcArray.push_back(Format);
        FInternalStgMediumArray.push_back(TInternalStgMedium{id, TStgMedium{}});
        stored = &FInternalStgMediumArray.back();
    } else {
        stored = FindInternalStgMedium(id);
        if (stored) {
            plat::ReleaseStgMedium(stored->Medium);
        } else {
            // A format the owner renders: the medium set is handed out from now on.
            FInternalStgMediumArray.push_back(TInternalStgMedium{id, TStgMedium{}});
            stored = &FInternalStgMediumArray.back();
        }
    }
    if (Release) {
        stored->Medium = Medium;
        return plat::S_OK;
    }
    const HRESULT r = CopyMediumReference(Medium, stored->Medium, true);
    if (r != plat::S_OK) {
        stored->Medium = TStgMedium{};
        return r;
    }
    // Holding itself as release object would keep this object alive for ever.
    const std::weak_ptr<TLTDataObject> self = weak_from_this();
    const std::shared_ptr<void>& holder = stored->Medium.ReleaseObject;
    if (holder && !self.expired() && !holder.owner_before(self) && !self.owner_before(holder))
        stored->Medium.ReleaseObject.reset();
    if (FAdviseHolder) FAdviseHolder->SendOnDataChange(this, 0, 0);
    return plat::S_OK;
}

// ---- the tree's side -------------------------------------------------------------------------

void TBaseLazyTree::ExchangeCreated()
{
    FExchangeId = g_nextExchangeId.fetch_add(1);
    RegisterLiveTree(this);
}

void TBaseLazyTree::ExchangeDestroying()
{
    UnregisterLiveTree(this);
    // Objects still held by the clipboard or a drag outlive the tree: they answer E_FAIL for
    // what the tree would render.
    for (TLTDataObject* d : FDataObjects) d->DetachOwner();
    FDataObjects.clear();
}

TClipboardFormats* TBaseLazyTree::ClipboardFormats() const
{
    // Made on first use: the list checks names against the tree's most derived class.
    if (!FClipboardFormats) FClipboardFormats = std::make_unique<TClipboardFormats>(const_cast<TBaseLazyTree*>(this), ClassType());
    return FClipboardFormats.get();
}

void TBaseLazyTree::SetClipboardFormats(const plat::TStrings* Value)
{
    ClipboardFormats()->AssignFormats(Value);
}

void TBaseLazyTree::CollectClipboardFormats(std::vector<plat::TFormatEtc>& Formats)
{
    std::vector<vtree::TFormatEtc> registered;
    TClipboardFormatList::EnumerateFormats(ClassType(), registered, ClipboardFormats());
    Formats.clear();
    for (const vtree::TFormatEtc& r : registered) {
        plat::TFormatEtc f;
        f.Format = r.cfFormat;
        f.Ptd = r.ptd;
        f.Aspect = static_cast<int>(r.dwAspect);
        f.Index = r.lindex;
        f.Tymed = static_cast<int>(r.tymed);
        Formats.push_back(f);
    }
    DoGetUserClipboardFormats(Formats);
}

void TBaseLazyTree::DoGetUserClipboardFormats(std::vector<plat::TFormatEtc>& Formats)
{
    if (OnGetUserClipboardFormats) OnGetUserClipboardFormats(this, Formats);
}

HRESULT TBaseLazyTree::DoRenderOLEData(const plat::TFormatEtc& Format, TStgMedium& Medium, bool ForClipboard)
{
    HRESULT result = plat::E_FAIL;
    if (OnRenderOLEData) OnRenderOLEData(this, Format, Medium, ForClipboard, result);
    return result;
}

std::shared_ptr<plat::IDataObject> TBaseLazyTree::DoCreateDataObject()
{
    std::shared_ptr<plat::IDataObject> result;
    if (OnCreateDataObject) OnCreateDataObject(this, result);
    return result;
}

HRESULT TBaseLazyTree::RenderFormat(const plat::TFormatEtc& Format, TStgMedium& Medium, bool ForClipboard)
{
    Medium = TStgMedium{};
    if (Format.Format == TreeDataFormat && TreeDataFormat != 0 &&
        (Format.Tymed & (plat::TYMED_HGLOBAL | plat::TYMED_ISTREAM))) {
        const TNodeArray nodes = ForClipboard ? GetSortedCutCopySet(true) : GetSortedSelection(true);
        if (Format.Tymed & plat::TYMED_ISTREAM) {
            std::shared_ptr<plat::TStream> stream = plat::CreateStreamOnHGlobal(plat::TGlobalHandle(), true);
            for (PLazyNode n : nodes) StoreNode(*stream, n);
            stream->SetPosition(0);
            Medium.Tymed = plat::TYMED_ISTREAM;
            Medium.Stream = std::move(stream);
            return plat::S_OK;
        }
        // Written straight into the block after room for the size prefix.
        plat::TGlobalHandle block = plat::TGlobalHandle::Alloc(4);
        if (!block) return plat::E_OUTOFMEMORY;
        block.Reserve(4 + nodes.size() * 40);
        std::shared_ptr<plat::TStream> data = plat::CreateStreamOnHGlobal(block, false);
        data->SetPosition(4);
        for (PLazyNode n : nodes) StoreNode(*data, n);
        const std::size_t written = block.size() - 4;
        if (written == 0) return plat::E_FAIL;
        if (written > 0x7FFFFFFF) return plat::E_OUTOFMEMORY;
        const auto size = static_cast<std::uint32_t>(written);
        std::uint8_t* p = block.Lock();
        for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(size >> (8 * i));
        block.Unlock();
        Medium.Tymed = plat::TYMED_HGLOBAL;
        Medium.Global = block;
        return plat::S_OK;
    }
    return DoRenderOLEData(Format, Medium, ForClipboard);
}

HRESULT TCustomLazyStringTree::RenderFormat(const plat::TFormatEtc& Format, TStgMedium& Medium, bool ForClipboard)
{
    const HRESULT base = TBaseLazyTree::RenderFormat(Format, Medium, ForClipboard);
    if (plat::Succeeded(base)) return base;
    try {
        std::vector<std::uint8_t> bytes =
            ContentToClipboard(Format.Format, ForClipboard ? tstCutCopySet : tstSelected);
        if (bytes.empty()) return base;
        Medium = TStgMedium{};
        Medium.Tymed = plat::TYMED_HGLOBAL;
        Medium.Global = std::move(bytes);
        return plat::S_OK;
    } catch (...) {
        Medium = TStgMedium{};
        return plat::E_FAIL;
    }
}

TBaseLazyTree* TBaseLazyTree::TreeFromDataObject(plat::IDataObject* DataObject)
{
    if (!DataObject || TreeReferenceFormat == 0) return nullptr;
    TStgMedium m;
    if (DataObject->GetData(TreeFormat(TreeReferenceFormat), m) != plat::S_OK) return nullptr;
    TBaseLazyTree* result = nullptr;
    if (m.Tymed == plat::TYMED_HGLOBAL) {
        if (const std::uint8_t* p = plat::GlobalLock(m.Global)) {
            result = TreeOfReference(p, plat::GlobalSize(m.Global));
            plat::GlobalUnlock(m.Global);
        }
    }
    plat::ReleaseStgMedium(m);
    return result;
}

TNodeArray TBaseLazyTree::NodesForOptimizedMove()
{
    // The nodes of a running drag of this tree, else the cut/copy set.
    if (HasState(tsOLEDragging)) return FDragSelection;
    return GetSortedCutCopySet(true);
}

bool TBaseLazyTree::ProcessOLEData(TBaseLazyTree* Source, const std::shared_ptr<plat::IDataObject>& DataObject,
                                   PLazyNode TargetNode, TLTNodeAttachMode Mode, bool Optimized)
{
    if (!DataObject || TreeDataFormat == 0) return false;
    const plat::TFormatEtc format = TreeFormat(TreeDataFormat);
    if (DataObject->QueryGetData(format) != plat::S_OK) return false;
    // Read-only: nothing is inserted, so nothing is reported as done.
    if (In(FOptions->MiscOptions(), toReadOnly)) return false;
    BeginUpdate();
    struct Finally {
        TBaseLazyTree* T;
        ~Finally() { T->EndUpdate(); }
    } finally{this};
    bool result = false;
    if (!TargetNode) TargetNode = FRoot;
    if (TargetNode == FRoot) {
        if (Mode == amInsertBefore) Mode = amAddChildFirst;
        else if (Mode == amInsertAfter) Mode = amAddChildLast;
    }
    if (Optimized && Source) {
        const TNodeArray nodes = Source->NodesForOptimizedMove();
        Source->MoveTo(nodes, TargetNode, Mode);
        // Moved nodes leave the source's cut set: marks belong to a pending cut or copy. Nodes
        // moved to another tree were freed there and arrived without marks.
        for (PLazyNode n : Source == this ? nodes : TNodeArray()) {
            PLazyNode stop = nullptr;
            for (PLazyNode up = n; up && up != FRoot && !stop; up = up->Parent) stop = up->NextSibling;
            for (PLazyNode m = n; m && m != stop; m = GetNextNoInit(m)) m->Exclude(vsCutOrCopy);
        }
        return true;
    }
    TStgMedium medium;
    if (DataObject->GetData(format, medium) != plat::S_OK) return false;
    struct ReleaseMedium {
        TStgMedium& M;
        ~ReleaseMedium() { plat::ReleaseStgMedium(M); }
    } releaseMedium{medium};

    auto readAll = [&](plat::TStream& stream) {
        const std::int64_t size = stream.Size();
        PLazyNode target = TargetNode;
        // The nodes that were selected where they came from join the selection in one merge
        // when reading ends, however it ends.
        TNodeArray selected;
        struct MergeSelected {
            TBaseLazyTree* T;
            TNodeArray& Nodes;
            ~MergeSelected()
            {
                T->FLoadedSelection = nullptr;
                if (!Nodes.empty()) T->AddNodesToSelection(Nodes, int(Nodes.size()), true);
            }
        } mergeSelected{this, selected};
        FLoadedSelection = &selected;
        while (stream.Position() < size) {
            PLazyNode node = MakeNewNode();
            LinkNode(node, target, Mode, this);
            const std::size_t before = selected.size();
            try {
                LoadNodeFromStream(stream, 2, node);
            } catch (...) {
                // A node read only in part is not kept.
                selected.resize(before);
                DeleteNode(node);
                throw;
            }
            if (!DoNodeCopying(node, target == FRoot ? nullptr : target)) {
                selected.resize(before);
                DeleteNode(node);
                continue;
            }
            DoNodeCopied(node);
            NotifyStructureChange(node, Source == this ? crNodeCopied : crNodeAdded);
            if (Mode == amInsertAfter) target = node;
        }
    };
    if (medium.Tymed == plat::TYMED_ISTREAM && medium.Stream) {
        medium.Stream->SetPosition(0);
        readAll(*medium.Stream);
        result = true;
    } else if (medium.Tymed == plat::TYMED_HGLOBAL) {
        const std::uint8_t* block = plat::GlobalLock(medium.Global);
        if (!block) return false;
        struct Unlock {
            const plat::TGlobalHandle& H;
            ~Unlock() { plat::GlobalUnlock(H); }
        } unlock{medium.Global};
        const std::uint8_t* chunks = nullptr;
        std::size_t chunkSize = 0;
        if (!TreeDataChunks(block, plat::GlobalSize(medium.Global), chunks, chunkSize)) return false;
        TOLEMemoryStream stream(chunks, chunkSize);
        readAll(stream);
        result = true;
    }
    return result;
}

} // namespace vtree
