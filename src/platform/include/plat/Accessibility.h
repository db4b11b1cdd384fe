#pragma once
// Accessible objects: what assistive tools read of a control (role, name, value, state,
// location, children, focus, selection).
// - A control hands its object out through WM_GETOBJECT: when the window system asks for a
//   control's accessible object, the layer sends WM_GETOBJECT (0, OBJID_CLIENT); a non-zero
//   answer made by LresultFromObject is the object assistive tools see, 0 leaves the window
//   system's default object of the control.
// - NotifyWinEvent announces changes of a control's object (location, name, value, state,
//   selection, focus) to the tools.
// - Objects are shared (reference counted); an answer of LresultFromObject keeps its object
//   alive until ObjectFromLresult takes it back.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "plat/Messages.h"
#include "plat/String.h"
#include "plat/Types.h"

namespace plat {

class TWinControl;

constexpr long OBJID_CLIENT = -4;
constexpr long CHILDID_SELF = 0;

constexpr std::uint32_t EVENT_OBJECT_FOCUS = 0x8005;
constexpr std::uint32_t EVENT_OBJECT_SELECTION = 0x8006;
constexpr std::uint32_t EVENT_OBJECT_STATECHANGE = 0x800A;
constexpr std::uint32_t EVENT_OBJECT_LOCATIONCHANGE = 0x800B;
constexpr std::uint32_t EVENT_OBJECT_NAMECHANGE = 0x800C;
constexpr std::uint32_t EVENT_OBJECT_VALUECHANGE = 0x800E;

enum TAccessibleRole { arClient, arOutline, arOutlineItem, arList, arListItem, arPane, arStaticText };

// State bits of an accessible object.
enum TAccessibleStateBit : std::uint32_t {
    asUnavailable = 1u << 0,
    asSelected = 1u << 1,
    asFocused = 1u << 2,
    asExpanded = 1u << 3,
    asCollapsed = 1u << 4,
    asInvisible = 1u << 5,
    asFocusable = 1u << 6,
    asSelectable = 1u << 7,
    asMultiSelectable = 1u << 8,
    asChecked = 1u << 9,
};

class TAccessibleObject {
public:
    virtual ~TAccessibleObject() = default;
    virtual TAccessibleRole Role() const = 0;
    virtual String Name() const = 0;
    virtual String Value() const { return {}; }
    virtual std::uint32_t State() const = 0;
    // Screen coordinates.
    virtual TRect Location() const = 0;
    virtual int ChildCount() const { return 0; }
    virtual std::shared_ptr<TAccessibleObject> Child(int /*Index*/) const { return nullptr; }
    virtual std::shared_ptr<TAccessibleObject> Focus() const { return nullptr; }
    virtual std::vector<std::shared_ptr<TAccessibleObject>> Selection() const { return {}; }
};
using IAccessible = std::shared_ptr<TAccessibleObject>;

// The answer to WM_GETOBJECT that hands out Object (0 for none).
LRESULT LresultFromObject(const IAccessible& Object);
// The object of such an answer; the answer is used up (a second call gives null).
IAccessible ObjectFromLresult(LRESULT Result);

// Announces an event of the control's object (OBJID_CLIENT, CHILDID_SELF) to the tools.
void NotifyWinEvent(std::uint32_t Event, TWinControl* Control, long ObjectId, long ChildId);

struct TWinEventRecord {
    std::uint32_t Event = 0;
    TWinControl* Control = nullptr;
    long ObjectId = 0;
    long ChildId = 0;
};
// Sees every NotifyWinEvent (null: none); for the test kit's record.
void SetWinEventListener(std::function<void(const TWinEventRecord&)> Listener);

} // namespace plat
