// The framework's control drag through the real mouse and key path: the start threshold,
// enter/move/leave over targets, drop, refusal, Escape, the end notification, drag objects
// and the drag cursor.
#include <string>
#include <vector>

#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Testing.h"
#include "TestControls.h"

namespace plat {
namespace {

using namespace plat::testing;
using testctl::TColorBox;

std::string Name(TObject* o)
{
    if (!o) return "nil";
    if (auto* c = dynamic_cast<TControl*>(o)) return StringToUtf8(c->Name());
    return StringToUtf8(o->ClassName());
}

const char* StateName(TDragState s) { return s == dsDragEnter ? "enter" : s == dsDragMove ? "move" : "leave"; }

class ControlDragTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(50, 50, 400, 200);
        source = Add(u"source", 10, 10, 80, 80);
        target = Add(u"target", 150, 10, 80, 80);
        other = Add(u"other", 260, 10, 80, 80);
        source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
            if (startDrag) source->BeginDrag(immediate, threshold);
        };
        source->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
            log.push_back("source up " + std::to_string(x) + "," + std::to_string(y));
        };
        source->OnEndDrag = [this](TObject*, TObject* t, int x, int y) {
            log.push_back("end " + Name(t) + " " + std::to_string(x) + "," + std::to_string(y) +
                          (source->Dragging() ? " still dragging" : ""));
        };
        for (TColorBox* c : {target, other}) {
            c->OnDragOver = [this, c](TObject*, TObject* src, int x, int y, TDragState st, bool& accept) {
                log.push_back(Name(c) + " " + StateName(st) + " " + std::to_string(x) + "," + std::to_string(y) +
                              " from " + Name(src));
                accept = accepts;
            };
            c->OnDragDrop = [this, c](TObject*, TObject* src, int x, int y) {
                log.push_back(Name(c) + " drop " + std::to_string(x) + "," + std::to_string(y) + " from " + Name(src));
            };
        }
        form->Show();
    }
    void TearDown() override
    {
        form.reset();
        UiTest::TearDown();
    }
    TColorBox* Add(const String& name, int l, int t, int w, int h)
    {
        auto* c = new TColorBox(form.get());
        c->SetName(name);
        c->SetParent(form.get());
        c->SetBounds(l, t, w, h);
        c->SetColor(clSilver);
        return c;
    }
    std::unique_ptr<TForm> form;
    TColorBox* source = nullptr;
    TColorBox* target = nullptr;
    TColorBox* other = nullptr;
    bool startDrag = true;
    bool immediate = false;
    int threshold = -1;
    bool accepts = true;
    std::vector<std::string> log;
};

TEST_F(ControlDragTest, MovesWithinTheThresholdStartNothingThenTargetsHearEnterMoveLeaveAndDrop)
{
    Press(source, 10, 10);
    ASSERT_TRUE(source->Dragging());
    Move(source, 15, 15, ssLeft);  // 5 pixels: not more than the threshold
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(DragCursorShown(), crDefault);
    Move(target, 5, 6, ssLeft);
    Move(target, 7, 8, ssLeft);
    EXPECT_EQ(DragCursorShown(), crDrag);
    EXPECT_EQ(DragObject()->DragTarget, target);
    Move(other, 1, 2, ssLeft);
    Move(other, 3, 4, ssLeft);
    Release(other, 3, 4);
    // A leave carries the pointer's new place in the left control's coordinates.
    EXPECT_EQ(log, (std::vector<std::string>{"target enter 5,6 from source", "target move 7,8 from source",
                                             "target leave 111,2 from source", "other enter 1,2 from source",
                                             "other move 3,4 from source", "other leave 3,4 from source",
                                             "other drop 3,4 from source", "end other 3,4"}));
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(DragObject(), nullptr);
    EXPECT_FALSE(source->MouseCapture());
}

TEST_F(ControlDragTest, EndingTable)
{
    struct Case {
        const char* name;
        bool accepts;
        int ending;  // 0 release over the target, 1 Escape, 2 release before the threshold
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"refused drop", false, 0, {"target enter 5,5 from source", "target leave 5,5 from source", "end nil 0,0"}},
        {"escape", true, 1, {"target enter 5,5 from source", "target leave 5,5 from source", "end nil 0,0"}},
        {"release before the threshold", true, 2, {"end nil 0,0", "source up 12,12"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        accepts = c.accepts;
        Press(source, 10, 10);
        if (c.ending == 2) {
            Move(source, 12, 12, ssLeft);
            Release(source, 12, 12);
        } else {
            Move(target, 5, 5, ssLeft);
            EXPECT_EQ(DragCursorShown(), c.accepts ? crDrag : crNoDrop);
            if (c.ending == 1) {
                Key(VK_ESCAPE);
                Release(target, 5, 5);
            } else {
                Release(target, 5, 5);
            }
        }
        EXPECT_EQ(log, c.expected);
        EXPECT_FALSE(source->Dragging());
        EXPECT_FALSE(source->MouseCapture());
    }
}

TEST_F(ControlDragTest, ImmediateDragAsksTheControlUnderThePointerAtOnce)
{
    immediate = true;
    source->OnDragOver = [this](TObject*, TObject*, int x, int y, TDragState st, bool& accept) {
        log.push_back(std::string("source ") + StateName(st) + " " + std::to_string(x) + "," + std::to_string(y));
        accept = false;
    };
    Press(source, 10, 10);
    EXPECT_EQ(log, (std::vector<std::string>{"source enter 10,10"}));
    EXPECT_EQ(DragCursorShown(), crNoDrop);
    source->EndDrag(false);
    EXPECT_EQ(log.back(), "end nil 0,0");
    EXPECT_FALSE(source->Dragging());
}

TEST_F(ControlDragTest, ObjectFromOnStartDragIsTheSourceAndItsCursorShows)
{
    struct TPartDrag : TDragObject {
        String ClassName() const override { return u"TPartDrag"; }
        TCursor GetDragCursor(bool Accepted, int, int) override { return Accepted ? crHandPoint : crNo; }
    } part;
    source->OnStartDrag = [&](TObject*, TDragObject*& obj) { obj = &part; };
    Press(source, 10, 10);
    Move(target, 2, 3, ssLeft);
    EXPECT_EQ(DragCursorShown(), crHandPoint);
    Release(target, 2, 3);
    EXPECT_EQ(log, (std::vector<std::string>{"target enter 2,3 from TPartDrag", "target leave 2,3 from TPartDrag",
                                             "target drop 2,3 from TPartDrag", "end target 2,3"}));
    EXPECT_TRUE(part.Dropped);
}

TEST_F(ControlDragTest, AutomaticModeBeginsOnThePressWithTheThreshold)
{
    startDrag = false;
    source->SetDragMode(dmAutomatic);
    source->SetDragCursor(crMultiDrag);
    Press(source, 10, 10);
    EXPECT_TRUE(source->Dragging());
    Move(target, 4, 4, ssLeft);
    EXPECT_EQ(DragCursorShown(), crMultiDrag);
    Release(target, 4, 4);
    EXPECT_EQ(log.back(), "end target 4,4");
}

TEST_F(ControlDragTest, TargetDestroyedDuringTheDragHearsNothingMore)
{
    Press(source, 10, 10);
    Move(target, 5, 5, ssLeft);
    delete target;
    target = nullptr;
    Move(form.get(), 140, 40, ssLeft);
    Release(form.get(), 140, 40);
    EXPECT_EQ(log, (std::vector<std::string>{"target enter 5,5 from source", "end nil 0,0"}));
}

} // namespace
} // namespace plat
