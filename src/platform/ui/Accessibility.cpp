// Accessible objects behind Qt's accessibility: a factory asks a control for its object with
// WM_GETOBJECT and wraps a non-zero answer as the control's QAccessibleInterface; children,
// the focus and the selection of that object become interfaces of their own, kept by the
// control's interface for as long as it lives.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QWidget>

#include <map>
#include <mutex>

#include "plat/Accessibility.h"
#include "plat/Controls.h"
#include "ui/UiNative.h"

namespace plat {

namespace {

std::mutex g_lresultMutex;
std::map<LRESULT, IAccessible> g_lresults;
LRESULT g_nextLresult = 1;
std::function<void(const TWinEventRecord&)> g_winEventListener;

QAccessible::Role QtRole(TAccessibleRole Role)
{
    switch (Role) {
    case arClient: return QAccessible::Client;
    case arOutline: return QAccessible::Tree;
    case arOutlineItem: return QAccessible::TreeItem;
    case arList: return QAccessible::List;
    case arListItem: return QAccessible::ListItem;
    case arPane: return QAccessible::Pane;
    case arStaticText: return QAccessible::StaticText;
    }
    return QAccessible::Client;
}

QAccessible::State QtState(std::uint32_t S)
{
    QAccessible::State q;
    q.disabled = (S & asUnavailable) != 0;
    q.selected = (S & asSelected) != 0;
    q.focused = (S & asFocused) != 0;
    q.expanded = (S & asExpanded) != 0;
    q.collapsed = (S & asCollapsed) != 0;
    q.expandable = (S & (asExpanded | asCollapsed)) != 0;
    q.invisible = (S & asInvisible) != 0;
    q.focusable = (S & asFocusable) != 0;
    q.selectable = (S & asSelectable) != 0;
    q.multiSelectable = (S & asMultiSelectable) != 0;
    q.checked = (S & asChecked) != 0;
    q.checkable = q.checked;
    return q;
}

class ObjectInterface;

// The interface of the control's own object; it owns the interfaces of the objects below it.
class ControlInterface;

class ObjectInterface : public QAccessibleInterface {
public:
    ObjectInterface(ControlInterface* Root, IAccessible Object, QAccessibleInterface* Parent)
        : root_(Root), object_(std::move(Object)), parent_(Parent)
    {
    }
    bool isValid() const override { return object_ != nullptr; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override { return parent_; }
    QAccessibleInterface* child(int index) const override;
    int childCount() const override { return object_ ? object_->ChildCount() : 0; }
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override
    {
        if (!object_) return {};
        if (t == QAccessible::Name) return QString::fromStdU16String(object_->Name());
        if (t == QAccessible::Value) return QString::fromStdU16String(object_->Value());
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!object_) return {};
        const TRect r = object_->Location();
        return QRect(r.Left, r.Top, r.Width(), r.Height());
    }
    QAccessible::Role role() const override { return object_ ? QtRole(object_->Role()) : QAccessible::NoRole; }
    QAccessible::State state() const override { return object_ ? QtState(object_->State()) : QAccessible::State(); }
    const IAccessible& Object() const { return object_; }

protected:
    ControlInterface* root_;
    IAccessible object_;
    QAccessibleInterface* parent_;
};

class ControlInterface : public ObjectInterface {
public:
    ControlInterface(QWidget* Widget, IAccessible Object) : ObjectInterface(this, std::move(Object), nullptr), widget_(Widget) {}
    ~ControlInterface() override
    {
        for (const auto& [object, id] : children_) QAccessible::deleteAccessibleInterface(id);
    }
    QObject* object() const override { return widget_; }
    QWindow* window() const override { return widget_ ? widget_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        QWidget* p = widget_ ? widget_->parentWidget() : nullptr;
        return p ? QAccessible::queryAccessibleInterface(p) : nullptr;
    }
    // The interface of an object below the control's, made once per object.
    QAccessibleInterface* Wrap(const IAccessible& Object, QAccessibleInterface* Parent)
    {
        if (!Object) return nullptr;
        if (Object == object_) return this;
        auto it = children_.find(Object.get());
        if (it != children_.end()) return QAccessible::accessibleInterface(it->second);
        auto* made = new ObjectInterface(this, Object, Parent);
        const QAccessible::Id id = QAccessible::registerAccessibleInterface(made);
        children_[Object.get()] = id;
        keep_.push_back(Object);
        return made;
    }

private:
    QWidget* widget_;
    std::map<TAccessibleObject*, QAccessible::Id> children_;
    std::vector<IAccessible> keep_;  // the wrapped objects stay alive with their interfaces
};

QAccessibleInterface* ObjectInterface::child(int index) const
{
    if (!object_ || index < 0 || index >= object_->ChildCount()) return nullptr;
    return root_->Wrap(object_->Child(index), const_cast<ObjectInterface*>(this));
}

QAccessibleInterface* ObjectInterface::focusChild() const
{
    if (!object_) return nullptr;
    return root_->Wrap(object_->Focus(), const_cast<ObjectInterface*>(this));
}

QAccessibleInterface* ObjectInterface::childAt(int x, int y) const
{
    for (int i = 0; object_ && i < object_->ChildCount(); ++i) {
        IAccessible c = object_->Child(i);
        if (c && c->Location().Contains(TPoint{x, y})) return root_->Wrap(c, const_cast<ObjectInterface*>(this));
    }
    return nullptr;
}

int ObjectInterface::indexOfChild(const QAccessibleInterface* child) const
{
    auto* o = dynamic_cast<const ObjectInterface*>(child);
    if (!o || !object_) return -1;
    for (int i = 0; i < object_->ChildCount(); ++i)
        if (object_->Child(i) == o->Object()) return i;
    return -1;
}

QAccessibleInterface* ControlFactory(const QString&, QObject* object)
{
    auto* w = dynamic_cast<UiWidget*>(object);
    if (!w || !w->native() || !w->native()->control || w->native()->destroying) return nullptr;
    const LRESULT r = w->native()->control->Perform(WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    if (r == 0) return nullptr;
    IAccessible obj = ObjectFromLresult(r);
    if (!obj) return nullptr;
    return new ControlInterface(w, std::move(obj));
}

} // namespace

LRESULT LresultFromObject(const IAccessible& Object)
{
    if (!Object) return 0;
    std::lock_guard<std::mutex> lock(g_lresultMutex);
    const LRESULT r = g_nextLresult++;
    g_lresults[r] = Object;
    return r;
}

IAccessible ObjectFromLresult(LRESULT Result)
{
    std::lock_guard<std::mutex> lock(g_lresultMutex);
    auto it = g_lresults.find(Result);
    if (it == g_lresults.end()) return nullptr;
    IAccessible obj = std::move(it->second);
    g_lresults.erase(it);
    return obj;
}

void SetWinEventListener(std::function<void(const TWinEventRecord&)> Listener) { g_winEventListener = std::move(Listener); }

void NotifyWinEvent(std::uint32_t Event, TWinControl* Control, long ObjectId, long ChildId)
{
    if (g_winEventListener) g_winEventListener({Event, Control, ObjectId, ChildId});
    if (!Control || !Control->HandleAllocated() || ObjectId != OBJID_CLIENT || ChildId != CHILDID_SELF) return;
    QWidget* w = ui::N(Control).widget;
    if (!w || !QAccessible::isActive()) return;
    switch (Event) {
    case EVENT_OBJECT_LOCATIONCHANGE: {
        QAccessibleEvent e(w, QAccessible::LocationChanged);
        QAccessible::updateAccessibility(&e);
        break;
    }
    case EVENT_OBJECT_NAMECHANGE: {
        QAccessibleEvent e(w, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&e);
        break;
    }
    case EVENT_OBJECT_VALUECHANGE: {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
        QAccessibleValueChangeEvent e(w, i ? QVariant(i->text(QAccessible::Value)) : QVariant());
        QAccessible::updateAccessibility(&e);
        break;
    }
    case EVENT_OBJECT_STATECHANGE: {
        QAccessible::State changed;
        changed.focused = true;
        changed.selected = true;
        QAccessibleStateChangeEvent e(w, changed);
        QAccessible::updateAccessibility(&e);
        break;
    }
    case EVENT_OBJECT_SELECTION: {
        QAccessibleEvent e(w, QAccessible::Selection);
        QAccessible::updateAccessibility(&e);
        break;
    }
    case EVENT_OBJECT_FOCUS: {
        QAccessibleEvent e(w, QAccessible::Focus);
        QAccessible::updateAccessibility(&e);
        break;
    }
    default: break;
    }
}

namespace ui {

bool IsControlAccessible(const QAccessibleInterface* Interface)
{
    return dynamic_cast<const ControlInterface*>(Interface) != nullptr;
}

void InstallAccessibleFactory()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(&ControlFactory);
}

} // namespace ui

} // namespace plat
