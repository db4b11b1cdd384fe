#pragma once
// Class references of the tree classes: what the clipboard registry binds a format to and
// what "this class or one of its ancestors" asks about. Each tree class defines one static
// record naming its parent.
namespace vtree {

struct TLazyTreeClassInfo {
    const char16_t* Name;
    const TLazyTreeClassInfo* Parent;
};

using TLazyTreeClass = const TLazyTreeClassInfo*;

// True when Class is Ancestor or derives from it.
inline bool InheritsFrom(TLazyTreeClass Class, TLazyTreeClass Ancestor)
{
    for (; Class; Class = Class->Parent)
        if (Class == Ancestor)
            return true;
    return false;
}

} // namespace vtree
