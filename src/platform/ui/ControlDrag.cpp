// The framework's control drag: drag objects, the start threshold, CM_DRAG to the control
// under the pointer, drop, cancel and the end notification. It runs on the layer's mouse
// capture; no system drag is involved.
#include <cstdlib>
#include <memory>

#include "plat/Controls.h"
#include "plat/Forms.h"
#include "ui/UiNative.h"

namespace plat {

namespace {

struct ControlDrag {
    TControl* source = nullptr;
    TDragObject* object = nullptr;
    std::unique_ptr<TDragObject> own;  // the layer's object when the handler gave none
    bool started = false;
    TPoint start;
    int threshold = 5;
    TControl* target = nullptr;
    bool accepted = false;
    TCursor cursor = crDefault;
};

std::unique_ptr<ControlDrag> g_drag;
int g_threshold = 5;

LRESULT SendDrag(TControl* target, TDragMessage msg, TPoint screen, TDragObject* object)
{
    TDragRec rec;
    rec.Pos = screen;
    rec.Source = object;
    rec.Target = target;
    return target->Perform(CM_DRAG, static_cast<WPARAM>(msg), reinterpret_cast<LPARAM>(&rec));
}

void ShowCursor(TCursor c)
{
    g_drag->cursor = c;
    SetCursor(c);
}

void DragTo(TPoint screen)
{
    ControlDrag& d = *g_drag;
    d.object->DragPos = screen;
    TControl* under = ui::ControlAtScreen(screen);
    // A control may name another one as the target (CM_DRAG dmFindTarget answers it).
    if (under) {
        TDragRec rec;
        rec.Pos = screen;
        rec.Source = d.object;
        rec.Target = under;
        const LRESULT found = under->Perform(CM_DRAG, dmFindTarget, reinterpret_cast<LPARAM>(&rec));
        if (found) under = reinterpret_cast<TControl*>(found);
    }
    if (under != d.target) {
        if (TControl* old = d.target) {
            d.target = nullptr;
            d.accepted = false;
            SendDrag(old, dmDragLeave, screen, d.object);
            if (!g_drag) return;
        }
        d.target = under;
        d.object->DragTarget = under;
        if (under) d.accepted = SendDrag(under, dmDragEnter, screen, d.object) != 0;
    } else if (under) {
        d.accepted = SendDrag(under, dmDragMove, screen, d.object) != 0;
    }
    if (!g_drag) return;
    ShowCursor(d.object->GetDragCursor(d.target && d.accepted, screen.X, screen.Y));
}

// Ends the drag: the target leaves, an accepted drop lands, the capture goes and the source
// hears the end. The session is gone before any handler of the end runs.
void DragDone(bool drop)
{
    if (!g_drag) return;
    std::unique_ptr<ControlDrag> d = std::move(g_drag);
    TDragObject* object = d->object;
    const TPoint screen = GetCursorPos();
    TControl* target = d->target;
    const bool dropped = drop && d->started && target && d->accepted;
    object->Cancelling = !drop;
    object->Dropped = dropped;
    if (GetCaptureControl() == d->source) SetCaptureControl(nullptr);
    SetCursor(crDefault);
    TControl* endTarget = nullptr;
    TPoint at{0, 0};
    if (target) {
        // The leave notification first, so that a target stops what it runs while the
        // drag is over it (timers, marks); then the drop.
        SendDrag(target, dmDragLeave, screen, object);
        if (dropped) {
            SendDrag(target, dmDragDrop, screen, object);
            endTarget = target;
            at = target->ScreenToClient(screen);
        } else {
            SendDrag(target, dmDragCancel, screen, object);
        }
    }
    if (TControl* source = d->source) source->DoEndDrag(endTarget, at.X, at.Y);
}

} // namespace

TCursor TDragObject::GetDragCursor(bool Accepted, int, int)
{
    if (!Accepted) return crNoDrop;
    return Control ? Control->DragCursor() : crDrag;
}

TObject* TDragObject::SourceObject() { return Control ? static_cast<TObject*>(Control) : this; }

TDragObject* DragObject() { return g_drag ? g_drag->object : nullptr; }
TCursor DragCursorShown() { return g_drag && g_drag->started ? g_drag->cursor : crDefault; }
int DragThreshold() { return g_threshold; }
void SetDragThreshold(int Value) { g_threshold = Value < 0 ? 0 : Value; }

void TControl::BeginDrag(bool Immediate, int Threshold)
{
    if (g_drag) return;
    auto d = std::make_unique<ControlDrag>();
    d->source = this;
    d->start = GetCursorPos();
    d->threshold = Threshold < 0 ? g_threshold : Threshold;
    g_drag = std::move(d);
    TDragObject* given = nullptr;
    DoStartDrag(given);
    if (!g_drag || g_drag->source != this) return;
    if (given) {
        g_drag->object = given;
    } else {
        g_drag->own = std::make_unique<TDragObject>();
        g_drag->own->Control = this;
        g_drag->object = g_drag->own.get();
    }
    g_drag->object->DragPos = g_drag->start;
    SetCaptureControl(this);
    if (Immediate || g_drag->threshold == 0) {
        g_drag->started = true;
        DragTo(g_drag->start);
    }
}

void TControl::EndDrag(bool Drop)
{
    if (g_drag && g_drag->source == this) DragDone(Drop);
}

bool TControl::Dragging() const { return g_drag && g_drag->source == this; }

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    Accept = static_cast<bool>(OnDragOver);
    if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y)
{
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoStartDrag(TDragObject*& DragObject)
{
    if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y)
{
    if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

// CM_DRAG of TControl: the messages become DragOver and DragDrop in client coordinates.
LRESULT ui::ControlDragMessage(TControl* control, WPARAM msg, LPARAM rec)
{
    auto* r = reinterpret_cast<TDragRec*>(rec);
    if (!r || !r->Source) return 0;
    const TPoint p = control->ScreenToClient(r->Pos);
    TObject* source = r->Source->SourceObject();
    switch (msg) {
    case dmDragEnter:
    case dmDragMove:
    case dmDragLeave: {
        bool accept = false;
        const TDragState state = msg == dmDragEnter ? dsDragEnter : msg == dmDragMove ? dsDragMove : dsDragLeave;
        control->DragOver(source, p.X, p.Y, state, accept);
        return accept ? 1 : 0;
    }
    case dmDragDrop:
        control->DragDrop(source, p.X, p.Y);
        return 0;
    default:
        return 0;
    }
}

bool ui::ControlDragMouse(UINT msg, TPoint screen)
{
    if (!g_drag) return false;
    ControlDrag& d = *g_drag;
    if (msg == WM_MOUSEMOVE) {
        if (!d.started) {
            if (std::abs(screen.X - d.start.X) <= d.threshold && std::abs(screen.Y - d.start.Y) <= d.threshold)
                return true;
            d.started = true;
        }
        DragTo(screen);
        return true;
    }
    if (msg == WM_LBUTTONUP) {
        if (!d.started) {
            // Released before the threshold: no drag took place and the release is the
            // control's own.
            DragDone(false);
            return false;
        }
        DragDone(true);
        return true;
    }
    return d.started;
}

bool ui::ControlDragKey(int vk)
{
    if (!g_drag || vk != static_cast<int>(VK_ESCAPE)) return false;
    DragDone(false);
    return true;
}

void ui::ControlDragForget(TControl* control)
{
    if (!g_drag) return;
    if (g_drag->target == control) {
        g_drag->target = nullptr;
        g_drag->accepted = false;
        g_drag->object->DragTarget = nullptr;
    }
    if (g_drag->source == control) {
        g_drag->source = nullptr;
        if (g_drag->object->Control == control) g_drag->object->Control = nullptr;
        DragDone(false);
    }
}

} // namespace plat
