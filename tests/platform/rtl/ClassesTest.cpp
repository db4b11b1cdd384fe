#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "plat/Classes.h"

namespace plat {
namespace {

using test::ThrowsWith;

// Records destruction order and notifications into a shared log.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string tag, std::vector<std::string>& log)
        : TComponent(owner), tag_(std::move(tag)), log_(log)
    {
    }
    ~Probe() override
    {
        log_.push_back("free " + tag_ + (HasState(csDestroying) ? " destroying" : ""));
    }
    String ClassName() const override { return u"TProbe"; }
    void Notification(TComponent* c, TOperation op) override
    {
        const auto* p = dynamic_cast<Probe*>(c);
        log_.push_back(tag_ + (op == opInsert ? " +" : " -") + (p ? p->tag_ : std::string("?")));
        TComponent::Notification(c, op);
    }
    void Loaded() override { log_.push_back("loaded " + tag_); }
    const std::string& tag() const { return tag_; }

private:
    std::string tag_;
    std::vector<std::string>& log_;
};

TEST(Component, OwnedComponentsFreedInReverseOrder)
{
    std::vector<std::string> log;
    auto* owner = new Probe(nullptr, "owner", log);
    auto* a = new Probe(owner, "a", log);
    new Probe(owner, "b", log);
    new Probe(a, "a1", log);
    ASSERT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0), a);
    EXPECT_EQ(a->ComponentIndex(), 0);
    log.clear();
    owner->Free();
    const std::vector<std::string> expected = {"free owner destroying", "free b destroying", "free a destroying",
                                               "free a1 destroying"};
    EXPECT_EQ(log, expected);
}

TEST(Component, FreeingAnOwnedComponentTellsTheOwner)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "owner", log);
    auto* a = new Probe(&owner, "a", log);
    auto* b = new Probe(&owner, "b", log);
    log.clear();
    a->Free();
    // The owner hears of the removal while the component is still whole, and passes it on to
    // what it owns.
    const std::vector<std::string> expected = {"owner -a", "a -a", "b -a", "free a destroying"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_TRUE(ThrowsWith<EListError>([&] { owner.Components(1); }, u"List index out of bounds (1)"));
}

// Once told of "x", adds "n" to its owner and frees "b": both start walks of their own while
// the owner's walk for "x" is under way.
class Reacting : public Probe {
public:
    Reacting(TComponent* owner, TComponent* victim, std::vector<std::string>& log)
        : Probe(owner, "a", log), log_(log), victim_(victim)
    {
    }
    void Notification(TComponent* c, TOperation op) override
    {
        const auto* p = dynamic_cast<Probe*>(c);
        if (!fired_ && op == opInsert && p && p->tag() == "x") {
            fired_ = true;
            Owner()->InsertComponent(new Probe(nullptr, "n", log_));
            victim_->Free();
        }
        Probe::Notification(c, op);
    }

private:
    std::vector<std::string>& log_;
    TComponent* victim_;
    bool fired_ = false;
};

TEST(Component, WalksStartedByAHandlerLeaveTheOuterWalkItsOwnList)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "owner", log);
    auto* b = new Probe(nullptr, "b", log);
    new Reacting(&owner, b, log);
    owner.InsertComponent(b);
    new Probe(&owner, "c", log);
    auto* x = new Probe(nullptr, "x", log);
    log.clear();
    owner.InsertComponent(x);
    // The outer walk tells what was owned when "x" came and still is: not the freed "b", and
    // not "n", which came later.
    const std::vector<std::string> expected = {
        "owner +x",
        "owner +n", "a +n", "b +n", "c +n", "x +n", "n +n",
        "owner -b", "a -b", "b -b", "c -b", "x -b", "n -b", "free b destroying",
        "a +x", "c +x", "x +x"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(owner.ComponentCount(), 4);
}

// Hears removals only, like a control.
class Deaf : public Probe {
public:
    Deaf(TComponent* owner, std::string tag, std::vector<std::string>& log) : Probe(owner, std::move(tag), log)
    {
        SetHearsInsertions(false);
    }
};

TEST(Component, ComponentsDeafToInsertionsAreLeftOutOfTheInsertWalkWhileTheyOwnNothing)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "owner", log);
    new Deaf(&owner, "d", log);
    auto* parent = new Deaf(&owner, "p", log);
    new Probe(parent, "child", log);
    new Probe(&owner, "b", log);
    auto* x = new Probe(nullptr, "x", log);
    log.clear();
    owner.InsertComponent(x);
    // "d" owns nothing and is skipped; "p" owns "child", which still hears of "x".
    const std::vector<std::string> inserted = {"owner +x", "p +x", "child +x", "b +x", "x +x"};
    EXPECT_EQ(log, inserted);
    log.clear();
    x->Free();
    const std::vector<std::string> removed = {"owner -x", "d -x", "p -x", "child -x", "b -x", "x -x", "free x destroying"};
    EXPECT_EQ(log, removed);
}

TEST(Component, FreeNotificationAcrossOwners)
{
    std::vector<std::string> log;
    Probe formA(nullptr, "formA", log);
    Probe formB(nullptr, "formB", log);
    auto* user = new Probe(&formA, "user", log);
    auto* used = new Probe(&formB, "used", log);
    used->FreeNotification(user);
    log.clear();
    used->Free();
    EXPECT_EQ(log.front(), "user -used");
    EXPECT_EQ(log.back(), "free used destroying");
    // The link went with the component: freeing the user later tells nobody about "used".
    log.clear();
    user->Free();
    EXPECT_EQ(std::find(log.begin(), log.end(), "used -user"), log.end());
}

TEST(Component, RemoveFreeNotificationStopsIt)
{
    std::vector<std::string> log;
    auto* a = new Probe(nullptr, "a", log);
    Probe b(nullptr, "b", log);
    a->FreeNotification(&b);
    a->RemoveFreeNotification(&b);
    log.clear();
    a->Free();
    EXPECT_EQ(log, std::vector<std::string>{"free a destroying"});
}

TEST(Component, PlainDeleteStillLeavesTheOwner)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "owner", log);
    auto* a = new Probe(&owner, "a", log);
    new Probe(a, "a1", log);
    delete a;
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_NE(std::find(log.begin(), log.end(), "free a1 destroying"), log.end());
}

TEST(Component, NamesAreUniquePerOwner)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "owner", log);
    auto* a = new Probe(&owner, "a", log);
    auto* b = new Probe(&owner, "b", log);
    a->SetName(u"Btn_OK");
    EXPECT_EQ(owner.FindComponent(u"btn_ok"), a);
    EXPECT_TRUE(ThrowsWith<EComponentError>([&] { b->SetName(u"BTN_OK"); },
                                            u"A component named BTN_OK already exists"));
    EXPECT_EQ(b->Name(), u"");
}

TEST(Component, LoadingStateAndLoadedOrder)
{
    std::vector<std::string> log;
    Probe form(nullptr, "form", log);
    auto* edit = new Probe(&form, "edit", log);
    form.BeginLoading();
    EXPECT_TRUE(edit->HasState(csLoading));
    log.clear();
    form.EndLoading();
    EXPECT_FALSE(edit->HasState(csLoading));
    EXPECT_EQ(log, (std::vector<std::string>{"loaded form", "loaded edit"}));
}

TEST(Persistent, AssignWithoutAWayRaises)
{
    TPersistent a;
    std::vector<std::string> log;
    Probe p(nullptr, "p", log);
    EXPECT_TRUE(ThrowsWith<EConvertError>([&] { a.Assign(&p); }, u"Cannot assign a TProbe to a TPersistent"));
    EXPECT_TRUE(ThrowsWith<EConvertError>([&] { p.Assign(nullptr); }, u"Cannot assign a nil to a TProbe"));
}

class Column : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    String ClassName() const override { return u"TColumn"; }
    int width = 64;
    void SetWidth(int w)
    {
        width = w;
        Changed(false);
    }
    void Assign(const TPersistent* src) override
    {
        if (const auto* c = dynamic_cast<const Column*>(src))
            width = c->width;
        else
            TCollectionItem::Assign(src);
    }
};

class Columns : public TCollection {
public:
    Columns() : TCollection(ItemClass<Column>()) {}
    std::vector<std::string> log;
    Column* At(int i) const { return static_cast<Column*>(Items(i)); }

protected:
    void Update(TCollectionItem* item) override
    {
        log.push_back(item ? "update " + std::to_string(item->Index()) : "update all");
    }
    void Notify(TCollectionItem* item, TCollectionNotification action) override
    {
        static const char* names[] = {"added", "extracting", "deleting"};
        log.push_back(std::string(names[action]) + " " + std::to_string(item->ID()));
    }
};

TEST(Collection, AddDeleteAndUpdates)
{
    Columns cols;
    cols.Add();
    cols.Add();
    EXPECT_EQ(cols.log, (std::vector<std::string>{"added 0", "update all", "added 1", "update all"}));
    cols.log.clear();
    cols.At(1)->SetWidth(80);
    EXPECT_EQ(cols.log, std::vector<std::string>{"update 1"});
    cols.log.clear();
    cols.Delete(0);
    EXPECT_EQ(cols.log, (std::vector<std::string>{"deleting 0", "extracting 0", "update all"}));
    EXPECT_EQ(cols.Count(), 1);
    EXPECT_EQ(cols.At(0)->width, 80);
    EXPECT_EQ(cols.At(0)->Index(), 0);
    EXPECT_TRUE(ThrowsWith<EListError>([&] { cols.Items(3); }, u"List index out of bounds (3)"));
}

TEST(Collection, BatchedUpdateFiresOnce)
{
    Columns cols;
    cols.BeginUpdate();
    cols.Add();
    cols.Add();
    cols.At(0)->SetWidth(1);
    cols.BeginUpdate();
    cols.EndUpdate();
    EXPECT_EQ(cols.log, (std::vector<std::string>{"added 0", "added 1"}));
    cols.EndUpdate();
    EXPECT_EQ(cols.log.back(), "update all");
    EXPECT_EQ(cols.log.size(), 3u);
}

TEST(Collection, InsertIndexAndAssign)
{
    Columns cols;
    cols.Add();
    cols.Add();
    auto* mid = static_cast<Column*>(cols.Insert(1));
    EXPECT_EQ(mid->Index(), 1);
    EXPECT_EQ(mid->ID(), 2);
    mid->SetIndex(0);
    EXPECT_EQ(cols.Items(0), mid);
    mid->SetWidth(5);
    Columns copy;
    copy.Assign(&cols);
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.At(0)->width, 5);
    EXPECT_EQ(copy.At(1)->width, 64);
}

TEST(PointerList, Operations)
{
    int a = 1, b = 2, c = 3;
    TList l;
    l.Add(&a);
    l.Add(&b);
    l.Insert(0, &c);
    EXPECT_EQ(l[0], &c);
    EXPECT_EQ(l.IndexOf(&b), 2);
    EXPECT_EQ(l.Remove(&a), 1);
    EXPECT_EQ(l.Remove(&a), -1);
    l.Add(nullptr);
    l.Pack();
    EXPECT_EQ(l.Count(), 2);
    l.Sort([](void* x, void* y) { return *static_cast<int*>(x) - *static_cast<int*>(y); });
    EXPECT_EQ(l.First(), &b);
    EXPECT_EQ(l.Last(), &c);
    EXPECT_TRUE(ThrowsWith<EListError>([&] { l.Delete(2); }, u"List index out of bounds (2)"));
    EXPECT_TRUE(ThrowsWith<EListError>([&] { l.Items(-1); }, u"List index out of bounds (-1)"));
}

} // namespace
} // namespace plat
