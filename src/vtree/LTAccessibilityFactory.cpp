#include "LTAccessibilityFactory.h"

#include <algorithm>

#include "LazyTrees.BaseTree.h"

namespace vtree {

namespace {
std::unique_ptr<TLTAccessibilityFactory> g_factory;
bool g_available = false;
} // namespace

void TLTAccessibilityFactory::RegisterAccessibleProvider(const PLTAccessibleProvider& Provider)
{
    if (!Provider) return;
    if (std::find(FAccessibleProviders.begin(), FAccessibleProviders.end(), Provider) == FAccessibleProviders.end())
        FAccessibleProviders.push_back(Provider);
}

void TLTAccessibilityFactory::UnRegisterAccessibleProvider(const PLTAccessibleProvider& Provider)
{
    auto it = std::find(FAccessibleProviders.begin(), FAccessibleProviders.end(), Provider);
    if (it != FAccessibleProviders.end()) FAccessibleProviders.erase(it);
}

plat::IAccessible TLTAccessibilityFactory::CreateIAccessible(TBaseLazyTree* Tree)
{
    if (!Tree) return nullptr;
    if (!Tree->Accessible() && !FAccessibleProviders.empty())
        return FAccessibleProviders.front()->CreateAccessible(Tree);
    if (Tree->AccessibleItem()) return Tree->AccessibleItem();
    if (FAccessibleProviders.empty()) return nullptr;
    for (std::size_t i = FAccessibleProviders.size() - 1; i >= 1; --i)
        if (plat::IAccessible a = FAccessibleProviders[i]->CreateAccessible(Tree)) return a;
    return FAccessibleProviders.front()->CreateAccessible(Tree);
}

TLTAccessibilityFactory& TLTAccessibilityFactory::GetAccessibilityFactory()
{
    g_available = true;
    if (!g_factory) g_factory = std::make_unique<TLTAccessibilityFactory>();
    return *g_factory;
}

bool TLTAccessibilityFactory::Available() { return g_available; }

} // namespace vtree
