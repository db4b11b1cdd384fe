#pragma once
// The framework's base classes: TObject, TPersistent, TComponent (ownership and free
// notification), TCollection, TStrings/TStringList and TList.
//
// Ownership: a component frees the components it owns in reverse order of insertion when it
// is destroyed. Free() is the framework's way to destroy: the component is marked
// csDestroying and leaves its owner and free-notification partners while it is still whole
// (they may look at it); then the destructors run and the owned components are freed.
// A plain `delete` does the same from the base destructor, when only the TComponent part is left.
// Index errors raise EListError "List index out of bounds (<index>)".
#include <cstdint>
#include <functional>
#include <vector>

#include "plat/Exception.h"
#include "plat/String.h"

namespace plat {

class TObject;
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject();
    virtual String ClassName() const { return u"TObject"; }
    // Calls BeforeDestruction while the object is whole, then deletes it. Null-safe through
    // FreeAndNil.
    void Free();
    virtual void BeforeDestruction() {}
};

template <class T>
void FreeAndNil(T*& Object)
{
    T* o = Object;
    Object = nullptr;
    if (o)
        o->Free();
}

class TPersistent : public TObject {
public:
    String ClassName() const override { return u"TPersistent"; }
    // Copies Source into this object; falls back on Source->AssignTo(this). Without a way to
    // copy: EConvertError "Cannot assign a <Source class> to a <this class>" ("nil" for null).
    virtual void Assign(const TPersistent* Source);

protected:
    virtual void AssignTo(TPersistent* Dest) const;
    void AssignError(const TPersistent* Source) const;
};

// "A component named <Name> already exists"
class EComponentError : public Exception { using Exception::Exception; };

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
    csUpdating = 1u << 5,
};
using TComponentState = unsigned;

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner = nullptr);
    ~TComponent() override;
    String ClassName() const override { return u"TComponent"; }

    TComponent* Owner() const { return owner_; }
    const String& Name() const { return name_; }
    // Names are unique among the components of one owner (case-insensitive), else EComponentError.
    virtual void SetName(const String& NewName);
    std::intptr_t Tag() const { return tag_; }
    void SetTag(std::intptr_t Value) { tag_ = Value; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int Index) const;  // EListError when out of range
    int ComponentIndex() const;               // position in the owner's list, -1 without owner
    TComponent* FindComponent(StringView AName) const;  // case-insensitive, owned components only

    void InsertComponent(TComponent* AComponent);  // takes ownership; opInsert reaches this owner
    void RemoveComponent(TComponent* AComponent);  // gives it up; opRemove reaches this owner
    void DestroyComponents();                      // frees owned components, last first

    TComponentState ComponentState() const { return state_; }
    bool HasState(TComponentStateFlag Flag) const { return (state_ & Flag) != 0; }

    // Both components are told (Notification with opRemove) when the other one is freed.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Called when AComponent is inserted into or removed from this component's owner chain,
    // and with opRemove when a component this one asked to be notified about is freed.
    // The base forwards to every owned component; overrides call it.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // False for a class whose Notification acts on removals only: an owner then leaves it out
    // of the opInsert walk while it owns nothing, so inserting n components into one owner
    // does not cost n * n calls. Controls clear it; a class that acts on opInsert sets it
    // again in its constructor.
    bool HearsInsertions() const { return hearsInsertions_; }

    void BeforeDestruction() override;

    // Loading: BeginLoading sets csLoading on this component and the ones it owns;
    // EndLoading clears it and calls Loaded on this component, then on the owned ones.
    void BeginLoading();
    void EndLoading();

protected:
    virtual void Loaded();
    void Destroying();  // sets csDestroying here and in owned components
    void SetComponentState(TComponentState State) { state_ = State; }
    void SetHearsInsertions(bool Value) { hearsInsertions_ = Value; }

private:
    void ClearFreeNotifications();

    TComponent* owner_ = nullptr;
    String name_;
    std::intptr_t tag_ = 0;
    TComponentState state_ = 0;
    bool hearsInsertions_ = true;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

// ---- collections ---------------------------------------------------------------------

class TCollection;

class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* Collection);
    ~TCollectionItem() override;
    String ClassName() const override { return u"TCollectionItem"; }

    TCollection* Collection() const { return collection_; }
    void SetCollection(TCollection* Value);
    int Index() const;
    void SetIndex(int Value);
    int ID() const { return id_; }
    virtual String DisplayName() const { return ClassName(); }

protected:
    // Tells the collection that this item (or, with AllItems, every item) changed.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
public:
    using ItemFactory = std::function<TCollectionItem*(TCollection*)>;
    template <class T>
    static ItemFactory ItemClass()
    {
        return [](TCollection* c) -> TCollectionItem* { return new T(c); };
    }

    explicit TCollection(ItemFactory Factory);
    ~TCollection() override;
    String ClassName() const override { return u"TCollection"; }

    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int Index) const;
    TCollectionItem* FindItemID(int ID) const;

    void BeginUpdate();
    void EndUpdate();  // the last one calls Update(nullptr)
    int UpdateCount() const { return updateCount_; }

    // Copies the items of another collection: each new item Assign()s the source item.
    void Assign(const TPersistent* Source) override;

protected:
    // Item is the changed item, or null when the whole collection changed.
    virtual void Update(TCollectionItem* Item);
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);

    ItemFactory factory_;
    std::vector<TCollectionItem*> items_;
    int nextId_ = 0;
    int updateCount_ = 0;
};

// ---- string lists --------------------------------------------------------------------

enum TDuplicates { dupIgnore, dupAccept, dupError };
enum class TTextEncoding;  // plat/Files.h

class TStrings : public TPersistent {
public:
    String ClassName() const override { return u"TStrings"; }

    virtual int Count() const = 0;
    virtual String Strings(int Index) const = 0;
    virtual void SetStrings(int Index, const String& S);
    virtual TObject* Objects(int Index) const;
    virtual void SetObjects(int Index, TObject* AObject);
    String operator[](int Index) const { return Strings(Index); }

    virtual int Add(const String& S);
    virtual int AddObject(const String& S, TObject* AObject);
    virtual void Insert(int Index, const String& S) = 0;
    virtual void InsertObject(int Index, const String& S, TObject* AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    void Append(const String& S) { Add(S); }
    void AddStrings(const TStrings& Strings);
    void Move(int CurIndex, int NewIndex);
    virtual void Exchange(int Index1, int Index2);

    virtual int IndexOf(StringView S) const;  // case-insensitive unless CaseSensitive
    int IndexOfObject(const TObject* AObject) const;
    int IndexOfName(StringView Name) const;

    // Lines joined with CR LF, each line terminated; setting splits at CR LF, LF or CR.
    String Text() const;
    void SetText(StringView Value);
    // Delimiter/QuoteChar form: items with blanks, quotes or the delimiter are quoted.
    String DelimitedText() const;
    void SetDelimitedText(StringView Value);
    String CommaText() const;
    void SetCommaText(StringView Value);
    char16_t Delimiter() const { return delimiter_; }
    void SetDelimiter(char16_t C) { delimiter_ = C; }
    char16_t QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(char16_t C) { quoteChar_ = C; }
    bool StrictDelimiter() const { return strictDelimiter_; }
    void SetStrictDelimiter(bool B) { strictDelimiter_ = B; }

    // Name=Value pairs.
    char16_t NameValueSeparator() const { return nameValueSeparator_; }
    void SetNameValueSeparator(char16_t C) { nameValueSeparator_ = C; }
    String Names(int Index) const;
    String ValueFromIndex(int Index) const;
    String Values(StringView Name) const;
    void SetValues(StringView Name, const String& Value);  // empty Value deletes the pair

    bool CaseSensitive() const { return caseSensitive_; }
    virtual void SetCaseSensitive(bool Value) { caseSensitive_ = Value; }

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Reading detects the encoding (plat/Files.h ReadTextFile); writing replaces the file
    // atomically, in Windows-1252 unless told otherwise. Failures raise EFileError.
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName);
    void SaveToFile(const String& FileName, TTextEncoding Encoding);

    void Assign(const TPersistent* Source) override;
    std::vector<String> ToVector() const;

protected:
    virtual void SetUpdateState(bool Updating);
    virtual int CompareStrings(StringView S1, StringView S2) const;
    [[noreturn]] static void Error(const char16_t* Msg, int Data);
    [[noreturn]] static void IndexError(int Index);

private:
    char16_t delimiter_ = u',';
    char16_t quoteChar_ = u'"';
    char16_t nameValueSeparator_ = u'=';
    bool strictDelimiter_ = false;
    bool caseSensitive_ = false;
    int updateCount_ = 0;
};

class TStringList;
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
public:
    TStringList() = default;
    ~TStringList() override;
    String ClassName() const override { return u"TStringList"; }

    int Count() const override { return static_cast<int>(items_.size()); }
    String Strings(int Index) const override;
    const String& At(int Index) const;  // no copy
    void SetStrings(int Index, const String& S) override;
    TObject* Objects(int Index) const override;
    void SetObjects(int Index, TObject* AObject) override;

    int Add(const String& S) override;
    int AddObject(const String& S, TObject* AObject) override;
    // On a sorted list: EListError "Operation not allowed on sorted list".
    void Insert(int Index, const String& S) override;
    void InsertObject(int Index, const String& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;

    int IndexOf(StringView S) const override;
    // Binary search on a sorted list: true when found; Index is the match (the first one with
    // dupAccept) or where S would be inserted.
    bool Find(StringView S, int& Index) const;
    void Sort();
    void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }
    void SetCaseSensitive(bool Value) override;
    // Objects are deleted with their entries when set.
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool Value) { ownsObjects_ = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool Updating) override;
    void Changed();
    void Changing();

private:
    struct Item {
        String s;
        TObject* obj = nullptr;
    };
    void InsertItem(int Index, const String& S, TObject* AObject);
    void CheckIndex(int Index) const;

    std::vector<Item> items_;
    bool sorted_ = false;
    bool ownsObjects_ = false;
    TDuplicates duplicates_ = dupIgnore;
};

// ---- pointer list --------------------------------------------------------------------

class TList : public TObject {
public:
    String ClassName() const override { return u"TList"; }
    int Add(void* Item);
    void Insert(int Index, void* Item);
    void Delete(int Index);
    int Remove(void* Item);  // index the item had, -1 when absent
    void* Extract(void* Item);
    void Clear() { items_.clear(); }
    int IndexOf(const void* Item) const;
    int Count() const { return static_cast<int>(items_.size()); }
    void* Items(int Index) const;
    void SetItems(int Index, void* Item);
    void* operator[](int Index) const { return Items(Index); }
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    void Pack();  // drops null entries
    void Sort(const std::function<int(void* Item1, void* Item2)>& Compare);

private:
    void CheckIndex(int Index) const;
    std::vector<void*> items_;
};

} // namespace plat
