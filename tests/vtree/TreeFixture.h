#pragma once
// A headless tree with its events counted, for the tree tests.
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "LazyTrees.Assert.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.SharedResources.h"
#include "TreeInvariants.h"
#include "../platform/rtl/TestUtil.h"

namespace vtree::testing {

using plat::test::ThrowsWith;

// A field of the packed node record, copied out. The assertion macros take their arguments
// by reference, and a reference to a misaligned field is undefined behaviour.
template <class T>
constexpr T ByValue(T Field)
{
    return Field;
}

struct EventLog {
    int InitNode = 0;
    int InitChildren = 0;
    int FreeNode = 0;
    int Expanded = 0;
    int Collapsed = 0;
    int Checked = 0;
    std::vector<TChangeReason> Structure;
    std::vector<TLTUpdateState> Updating;
};

// Builds shapes by count; every node stays uninitialised until something needs it.
class TreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Tree = std::make_unique<TBaseLazyTree>(nullptr);
        Hook(*Tree, Log);
    }

    static void Hook(TBaseLazyTree& T, EventLog& L)
    {
        T.OnInitNode = [&L](TBaseLazyTree*, PLazyNode, PLazyNode, TLazyNodeInitStates&) { ++L.InitNode; };
        T.OnFreeNode = [&L](TBaseLazyTree*, PLazyNode) { ++L.FreeNode; };
        T.OnExpanded = [&L](TBaseLazyTree*, PLazyNode) { ++L.Expanded; };
        T.OnCollapsed = [&L](TBaseLazyTree*, PLazyNode) { ++L.Collapsed; };
        T.OnChecked = [&L](TBaseLazyTree*, PLazyNode) { ++L.Checked; };
        T.OnStructureChange = [&L](TBaseLazyTree*, PLazyNode, TChangeReason R) { L.Structure.push_back(R); };
        T.OnUpdating = [&L](TBaseLazyTree*, TLTUpdateState S) { L.Updating.push_back(S); };
    }

    // Children declared through OnInitChildren: every node on a level above Depth has
    // Fanout children.
    void LazyShape(unsigned Fanout, unsigned Depth)
    {
        Tree->OnInitNode = [this, Depth](TBaseLazyTree* T, PLazyNode, PLazyNode N, TLazyNodeInitStates& S) {
            ++Log.InitNode;
            if (T->GetNodeLevel(N) + 1 < Depth) S |= InitBit(ivsHasChildren);
        };
        Tree->OnInitChildren = [this, Fanout](TBaseLazyTree*, PLazyNode, std::uint32_t& C) {
            ++Log.InitChildren;
            C = Fanout;
        };
    }

    PLazyNode Child(PLazyNode Parent, unsigned Index)
    {
        PLazyNode n = Tree->GetFirstChildNoInit(Parent);
        while (n && Index-- > 0) n = n->NextSibling;
        return n;
    }

    void Ok() { EXPECT_TREE_OK(*Tree); }

    std::unique_ptr<TBaseLazyTree> Tree;
    EventLog Log;
};

inline TLTMiscOptions WithMisc(TLTMiscOptions O, TLTMiscOption Add) { return O | (TLTMiscOptions(1) << Add); }
inline TLTAutoOptions WithoutAuto(TLTAutoOptions O, TLTAutoOption Drop) { return TLTAutoOptions(O & ~(1u << Drop)); }

} // namespace vtree::testing
