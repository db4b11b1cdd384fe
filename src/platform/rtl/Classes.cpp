#include "plat/Classes.h"

#include <algorithm>
#include <deque>

#include "plat/SysUtils.h"

namespace plat {

TObject::~TObject() = default;

void TObject::Free()
{
    BeforeDestruction();
    delete this;
}

// ---- TPersistent -----------------------------------------------------------------------

void TPersistent::Assign(const TPersistent* Source)
{
    if (Source)
        Source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const
{
    const String sourceName = Source ? Source->ClassName() : String(u"nil");
    throw EConvertError(u"Cannot assign a " + sourceName + u" to a " + ClassName());
}

// ---- TComponent ------------------------------------------------------------------------

namespace {

// Buffers for the notification walk's copy of a component list, one per nesting level (a
// handler may notify again). A deque keeps the outer levels' buffers in place while an inner
// level adds one.
thread_local std::deque<std::vector<TComponent*>> notifyBuffers;
thread_local std::size_t notifyDepth = 0;

struct TNotifySnapshot {
    const std::vector<TComponent*>& List;
    explicit TNotifySnapshot(const std::vector<TComponent*>& source) : List(Take(source)) {}
    ~TNotifySnapshot() { --notifyDepth; }
    TNotifySnapshot(const TNotifySnapshot&) = delete;
    TNotifySnapshot& operator=(const TNotifySnapshot&) = delete;

private:
    static std::vector<TComponent*>& Take(const std::vector<TComponent*>& source)
    {
        if (notifyDepth == notifyBuffers.size())
            notifyBuffers.emplace_back();
        std::vector<TComponent*>& buffer = notifyBuffers[notifyDepth];
        buffer.assign(source.begin(), source.end());
        ++notifyDepth;
        return buffer;
    }
};

} // namespace

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    // After Free() only the owned components are left to go.
    Destroying();
    ClearFreeNotifications();
    if (owner_)
        owner_->RemoveComponent(this);
    DestroyComponents();
}

void TComponent::BeforeDestruction()
{
    Destroying();
    ClearFreeNotifications();
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::SetName(const String& NewName)
{
    if (NewName == name_)
        return;
    if (owner_ && !NewName.empty()) {
        TComponent* other = owner_->FindComponent(NewName);
        if (other && other != this)
            throw EComponentError(u"A component named " + NewName + u" already exists");
    }
    name_ = NewName;
}

TComponent* TComponent::Components(int Index) const
{
    if (Index < 0 || Index >= ComponentCount())
        throw EListError(Format(u"List index out of bounds (%d)", {Index}));
    return components_[static_cast<std::size_t>(Index)];
}

int TComponent::ComponentIndex() const
{
    if (!owner_)
        return -1;
    const auto& list = owner_->components_;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(StringView AName) const
{
    if (AName.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, AName))
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->owner_ == this)
        return;
    if (!AComponent->name_.empty() && FindComponent(AComponent->name_))
        throw EComponentError(u"A component named " + AComponent->name_ + u" already exists");
    if (AComponent->owner_)
        AComponent->owner_->RemoveComponent(AComponent);
    components_.push_back(AComponent);
    AComponent->owner_ = this;
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->owner_ != this)
        return;
    Notification(AComponent, opRemove);
    const auto it = std::find(components_.begin(), components_.end(), AComponent);
    if (it != components_.end())
        components_.erase(it);
    AComponent->owner_ = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* c = components_.back();
        components_.pop_back();
        c->owner_ = nullptr;
        c->Free();
    }
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    // Components of the same owner hear of each other through the owner already.
    if (owner_ && AComponent->owner_ == owner_)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end())
        freeNotifies_.push_back(AComponent);
    auto& other = AComponent->freeNotifies_;
    if (std::find(other.begin(), other.end(), this) == other.end())
        other.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent)
        return;
    std::erase(freeNotifies_, AComponent);
    std::erase(AComponent->freeNotifies_, this);
}

void TComponent::ClearFreeNotifications()
{
    std::vector<TComponent*> others;
    others.swap(freeNotifies_);
    for (TComponent* o : others) {
        std::erase(o->freeNotifies_, this);
        o->Notification(this, opRemove);
    }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    if (components_.empty())
        return;
    // A copy: a handler may free or move components, and only those still owned are told.
    // An entry still at its place in the list is owned without a search, so telling every
    // component costs one call each while no handler changes the list. The copy goes into a
    // buffer kept per nesting level, so a walk allocates nothing once the buffers have grown.
    TNotifySnapshot snapshot(components_);
    const std::vector<TComponent*>& list = snapshot.List;
    for (std::size_t i = 0; i < list.size(); ++i) {
        TComponent* c = list[i];
        // Ownership first: a component an earlier handler freed must not be read.
        const bool owned = (i < components_.size() && components_[i] == c) ||
                           std::find(components_.begin(), components_.end(), c) != components_.end();
        if (!owned) continue;
        if (Operation == opInsert && c->components_.empty() && !c->HearsInsertions())
            continue;
        c->Notification(AComponent, Operation);
    }
}

void TComponent::BeginLoading()
{
    state_ |= csLoading;
    for (TComponent* c : components_)
        c->BeginLoading();
}

void TComponent::EndLoading()
{
    if (!(state_ & csLoading))
        return;
    state_ &= ~static_cast<unsigned>(csLoading);
    Loaded();
    const std::vector<TComponent*> list = components_;
    for (TComponent* c : list)
        c->EndLoading();
}

void TComponent::Loaded() {}

void TComponent::Destroying()
{
    if (state_ & csDestroying)
        return;
    state_ |= csDestroying;
    for (TComponent* c : components_)
        c->Destroying();
}

// ---- collections -----------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem()
{
    if (collection_)
        collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value)
{
    if (Value == collection_)
        return;
    if (collection_)
        collection_->RemoveItem(this);
    if (Value)
        Value->InsertItem(this);
}

int TCollectionItem::Index() const
{
    if (!collection_)
        return -1;
    const auto& items = collection_->items_;
    const auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int Value)
{
    const int cur = Index();
    if (cur < 0 || Value == cur)
        return;
    auto& items = collection_->items_;
    if (Value < 0 || Value >= static_cast<int>(items.size()))
        throw EListError(Format(u"List index out of bounds (%d)", {Value}));
    items.erase(items.begin() + cur);
    items.insert(items.begin() + Value, this);
    Changed(true);
}

void TCollectionItem::Changed(bool AllItems)
{
    if (collection_ && collection_->updateCount_ == 0)
        collection_->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(ItemFactory Factory) : factory_(std::move(Factory)) {}

TCollection::~TCollection()
{
    // No update notifications while the collection goes away.
    updateCount_ = 1;
    while (!items_.empty()) {
        TCollectionItem* item = items_.back();
        items_.pop_back();
        item->collection_ = nullptr;
        delete item;
    }
}

TCollectionItem* TCollection::Add()
{
    TCollectionItem* item = factory_(this);
    if (item->collection_ != this)
        item->SetCollection(this);
    return item;
}

TCollectionItem* TCollection::Insert(int Index)
{
    if (Index < 0 || Index > Count())
        throw EListError(Format(u"List index out of bounds (%d)", {Index}));
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index)
{
    TCollectionItem* item = Items(Index);
    Notify(item, cnDeleting);
    delete item;  // its destructor takes it out of the list
}

void TCollection::Clear()
{
    if (items_.empty())
        return;
    BeginUpdate();
    while (!items_.empty())
        delete items_.back();
    EndUpdate();
}

TCollectionItem* TCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(Format(u"List index out of bounds (%d)", {Index}));
    return items_[static_cast<std::size_t>(Index)];
}

TCollectionItem* TCollection::FindItemID(int ID) const
{
    for (TCollectionItem* i : items_)
        if (i->id_ == ID)
            return i;
    return nullptr;
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed();
}

void TCollection::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TCollection*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* i : src->items_)
            Add()->Assign(i);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::Update(TCollectionItem*) {}
void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed()
{
    if (updateCount_ == 0)
        Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item)
{
    items_.push_back(Item);
    Item->collection_ = this;
    Item->id_ = nextId_++;
    Notify(Item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item)
{
    Notify(Item, cnExtracting);
    const auto it = std::find(items_.begin(), items_.end(), Item);
    if (it != items_.end())
        items_.erase(it);
    Item->collection_ = nullptr;
    Changed();
}

// ---- TList -----------------------------------------------------------------------------

void TList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(Format(u"List index out of bounds (%d)", {Index}));
}

int TList::Add(void* Item)
{
    items_.push_back(Item);
    return Count() - 1;
}

void TList::Insert(int Index, void* Item)
{
    if (Index < 0 || Index > Count())
        throw EListError(Format(u"List index out of bounds (%d)", {Index}));
    items_.insert(items_.begin() + Index, Item);
}

void TList::Delete(int Index)
{
    CheckIndex(Index);
    items_.erase(items_.begin() + Index);
}

int TList::Remove(void* Item)
{
    const int i = IndexOf(Item);
    if (i >= 0)
        items_.erase(items_.begin() + i);
    return i;
}

void* TList::Extract(void* Item)
{
    return Remove(Item) >= 0 ? Item : nullptr;
}

int TList::IndexOf(const void* Item) const
{
    const auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void* TList::Items(int Index) const
{
    CheckIndex(Index);
    return items_[static_cast<std::size_t>(Index)];
}

void TList::SetItems(int Index, void* Item)
{
    CheckIndex(Index);
    items_[static_cast<std::size_t>(Index)] = Item;
}

void TList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(items_[static_cast<std::size_t>(Index1)], items_[static_cast<std::size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    void* item = items_[static_cast<std::size_t>(CurIndex)];
    items_.erase(items_.begin() + CurIndex);
    items_.insert(items_.begin() + NewIndex, item);
}

void TList::Pack() { std::erase(items_, nullptr); }

void TList::Sort(const std::function<int(void*, void*)>& Compare)
{
    std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

} // namespace plat
