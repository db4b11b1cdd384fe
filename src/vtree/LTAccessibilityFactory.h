#pragma once
// The registry of accessibility providers: objects that make accessible objects for trees.
// A tree asks it when the window system requests the tree's accessible object; without a
// registered provider a tree has none and the window system's default answers. Providers
// stay registered, in registration order, until they unregister; the factory exists from
// its first request to the end of the program.
#include <memory>
#include <vector>

#include "plat/Accessibility.h"

namespace vtree {

class TBaseLazyTree;

class ILTAccessibleProvider {
public:
    virtual ~ILTAccessibleProvider() = default;
    virtual plat::IAccessible CreateAccessible(TBaseLazyTree* Tree) = 0;
};
using PLTAccessibleProvider = std::shared_ptr<ILTAccessibleProvider>;

class TLTAccessibilityFactory {
public:
    // Adds the provider unless it is registered already.
    void RegisterAccessibleProvider(const PLTAccessibleProvider& Provider);
    void UnRegisterAccessibleProvider(const PLTAccessibleProvider& Provider);
    // Null for a null tree. A tree without Accessible gets it from the first provider; a tree
    // with an AccessibleItem gets that; otherwise the providers are asked from the last down
    // to the second, and without an answer the first provider's answer counts.
    plat::IAccessible CreateIAccessible(TBaseLazyTree* Tree);
    int ProviderCount() const { return static_cast<int>(FAccessibleProviders.size()); }

    // The single factory, made on first use; marks accessibility support as available.
    static TLTAccessibilityFactory& GetAccessibilityFactory();
    // Whether GetAccessibilityFactory was ever called.
    static bool Available();

private:
    std::vector<PLTAccessibleProvider> FAccessibleProviders;
};

} // namespace vtree
