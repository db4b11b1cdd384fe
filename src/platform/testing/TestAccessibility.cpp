// The test kit's view of accessibility: a control's object read through Qt's accessibility,
// as an assistive tool reads it, and the record of the events controls announce.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QMetaEnum>

#include "plat/Accessibility.h"
#include "plat/Testing.h"
#include "ui/UiNative.h"

namespace plat::testing {

namespace {

std::vector<AccessibilityEvent>& Record()
{
    static std::vector<AccessibilityEvent> record;
    static const bool installed = [] {
        SetWinEventListener([](const TWinEventRecord& e) {
            Record().push_back({e.Event, e.Control, e.ObjectId, e.ChildId});
        });
        return true;
    }();
    (void)installed;
    return record;
}

std::uint32_t StateBits(const QAccessible::State& q)
{
    std::uint32_t s = 0;
    if (q.disabled) s |= asUnavailable;
    if (q.selected) s |= asSelected;
    if (q.focused) s |= asFocused;
    if (q.expanded) s |= asExpanded;
    if (q.collapsed) s |= asCollapsed;
    if (q.invisible) s |= asInvisible;
    if (q.focusable) s |= asFocusable;
    if (q.selectable) s |= asSelectable;
    if (q.multiSelectable) s |= asMultiSelectable;
    if (q.checked) s |= asChecked;
    return s;
}

AccessibleView Read(QAccessibleInterface* i, bool byControl, bool withFocus)
{
    AccessibleView v;
    if (!i || !i->isValid()) return v;
    v.Exists = true;
    v.ByControl = byControl;
    const char* role = QMetaEnum::fromType<QAccessible::Role>().valueToKey(i->role());
    v.Role = role ? role : std::to_string(int(i->role()));
    v.Name = i->text(QAccessible::Name).toStdU16String();
    v.Value = i->text(QAccessible::Value).toStdU16String();
    v.State = StateBits(i->state());
    const QRect r = i->rect();
    v.Location = TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    v.ChildCount = i->childCount();
    if (withFocus)
        if (QAccessibleInterface* f = i->focusChild()) v.Focus = std::make_shared<AccessibleView>(Read(f, byControl, false));
    return v;
}

} // namespace

AccessibleView AccessibleOf(TControl* Control)
{
    Record();
    auto* wc = dynamic_cast<TWinControl*>(Control);
    if (!wc || !wc->HandleAllocated()) return {};
    QWidget* w = ui::N(wc).widget;
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    const bool byControl = ui::IsControlAccessible(i);
    return Read(i, byControl, true);
}

const std::vector<AccessibilityEvent>& AccessibilityEvents() { return Record(); }

void ClearAccessibilityEvents() { Record().clear(); }

} // namespace plat::testing
