#pragma once
// Trees whose nodes carry a number through the stream's user chunk, offering "Lazy Tree
// Data", with a shape printer and the exchange's invariants.
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.DataObject.h"
#include "LazyTrees.SharedResources.h"
#include "TreeInvariants.h"
#include "plat/Clipbrd.h"
#include "plat/Testing.h"

namespace vtree::testing {

inline TLTMiscOptions WithMiscOption(TLTMiscOptions O, TLTMiscOption Add) { return O | (TLTMiscOptions(1) << Add); }

// A node's user data starts right behind the packed record, at no alignment: copied, never
// referenced in place.
inline int Id(TBaseLazyTree& T, PLazyNode N)
{
    int v;
    std::memcpy(&v, T.GetNodeData(N), sizeof v);
    return v;
}
inline void SetId(TBaseLazyTree& T, PLazyNode N, int V) { std::memcpy(T.GetNodeData(N), &V, sizeof V); }

inline void MakeExchangeTree(TBaseLazyTree& T)
{
    T.SetNodeDataSize(sizeof(int));
    T.OnSaveNode = [](TBaseLazyTree* t, PLazyNode n, plat::TStream& s) { s.WriteBuffer(t->GetNodeData(n), sizeof(int)); };
    T.OnLoadNode = [](TBaseLazyTree* t, PLazyNode n, plat::TStream& s) { s.ReadBuffer(t->GetNodeData(n), sizeof(int)); };
    T.TreeOptions().SetSelectionOptions(T.TreeOptions().SelectionOptions() | (TLTSelectionOptions(1) << toMultiSelect));
    plat::TStringList formats;
    formats.Add(u"Lazy Tree Data");
    T.SetClipboardFormats(&formats);
}

inline PLazyNode AddNumbered(TBaseLazyTree& T, PLazyNode Parent, int Number)
{
    PLazyNode n = T.AddChild(Parent);
    SetId(T, n, Number);
    return n;
}

// "1(2 3) 4": numbers in tree order, children in brackets; * after a marked node.
inline std::string Shape(TBaseLazyTree& T, PLazyNode Parent = nullptr)
{
    std::string s;
    for (PLazyNode n = T.GetFirstChildNoInit(Parent); n; n = n->NextSibling) {
        if (!s.empty()) s += ' ';
        s += std::to_string(Id(T, n));
        if (n->Has(vsCutOrCopy)) s += '*';
        if (n->FirstChild) s += '(' + Shape(T, n) + ')';
    }
    return s;
}

// The exchange's rules: marks only while a copy or cut is pending, every stored medium's
// format offered by its object, and the core's bookkeeping.
inline std::string CheckExchangeInvariants(TBaseLazyTree& T)
{
    const bool pending = T.HasState(tsCopyPending) || T.HasState(tsCutPending);
    for (PLazyNode n = T.GetFirstNoInit(); n; n = T.GetNextNoInit(n))
        if (n->Has(vsCutOrCopy) && !pending) return "a node is marked while nothing is pending";
    if (T.HasState(tsCopyPending) && T.HasState(tsCutPending)) return "copy and cut pending at once";
    return CheckTreeInvariants(T);
}

inline std::string CheckDataObject(const TLTDataObject& D)
{
    for (const auto& m : D.InternalStgMediumArray()) {
        bool offered = false;
        for (const auto& f : D.FormatEtcArray()) offered = offered || f.Format == m.Format;
        if (!offered) return "a stored medium's format is not offered";
    }
    return {};
}

#define EXPECT_EXCHANGE_OK(T) EXPECT_EQ(::vtree::testing::CheckExchangeInvariants(T), "")

} // namespace vtree::testing
