#include "ExtStyleIF.h"

#include <algorithm>
#include <string>

#include "ExtXPVS.h"
#include "plat/Exception.h"

namespace grid {

// The platform reports no Windows version, common-controls library or locale API of its own;
// answering "older" keeps every control on the classic drawing path.
bool IsWindowsXPOrLater() { return false; }
bool IsComCtl6OrLater() { return false; }
bool IsVistaLocaleApi() { return false; }

plat::String GetDefaultUIFontName() { return IsVistaLocaleApi() ? u"Segoe UI" : u"Tahoma"; }

int XPColorSchemeFromName(plat::StringView ColorName)
{
    if (ColorName.find(u"NormalColor") != plat::StringView::npos) return 1;
    if (ColorName.find(u"HomeStead") != plat::StringView::npos) return 2;
    if (ColorName.find(u"Metallic") != plat::StringView::npos) return 3;
    return 0;
}

int XPColorSchemeName()
{
    if (!IsWindowsXPOrLater() || !ExtXPVS::ThemeLibraryLoaded() || !ExtXPVS::IsThemeActive() ||
        !IsComCtl6OrLater())
        return 0;
    return XPColorSchemeFromName(ExtXPVS::GetCurrentThemeColorName());
}

// No office settings keys exist on this platform.
int OfficeVersionPresent() { return 0; }

TOfficeTheme OfficeThemeFromValues(int Theme14, int Theme12, int XPScheme)
{
    if (Theme14 != -1) {
        switch (Theme14) {
        case 1: return ot2010Blue;
        case 2: return ot2010Silver;
        case 3: return ot2010Black;
        default: return ot2003Blue;
        }
    }
    if (Theme12 != -1) {
        switch (Theme12) {
        case 1: return ot2007Blue;
        case 2: return ot2007Silver;
        case 3: return ot2007Black;
        default: return ot2003Blue;
        }
    }
    switch (XPScheme) {
    case 1: return ot2003Blue;
    case 2: return ot2003Olive;
    case 3: return ot2003Silver;
    default: return ot2003Classic;
    }
}

TOfficeTheme OfficeThemeFromRegistry() { return OfficeThemeFromValues(-1, -1, XPColorSchemeName()); }

void THandleList::CheckIndex(int Index, bool AllowEnd) const
{
    const int limit = static_cast<int>(items_.size()) + (AllowEnd ? 1 : 0);
    if (Index < 0 || Index >= limit)
    {
        const std::string n = std::to_string(Index);
        throw plat::EListError(u"List index out of bounds (" + plat::String(n.begin(), n.end()) + u")");
    }
}

int THandleList::Add(plat::HWND Handle)
{
    std::lock_guard<std::mutex> g(lock_);
    items_.push_back(Handle);
    return static_cast<int>(items_.size()) - 1;
}

void THandleList::Delete(int Index)
{
    std::lock_guard<std::mutex> g(lock_);
    CheckIndex(Index, false);
    items_.erase(items_.begin() + Index);
}

void THandleList::Insert(int Index, plat::HWND Handle)
{
    std::lock_guard<std::mutex> g(lock_);
    CheckIndex(Index, true);
    items_.insert(items_.begin() + Index, Handle);
}

void THandleList::SetInteger(int Index, plat::HWND Handle)
{
    std::lock_guard<std::mutex> g(lock_);
    CheckIndex(Index, false);
    items_[static_cast<std::size_t>(Index)] = Handle;
}

plat::HWND THandleList::GetInteger(int Index) const
{
    std::lock_guard<std::mutex> g(lock_);
    CheckIndex(Index, false);
    return items_[static_cast<std::size_t>(Index)];
}

void THandleList::DeleteValue(plat::HWND Handle)
{
    std::lock_guard<std::mutex> g(lock_);
    auto it = std::find(items_.begin(), items_.end(), Handle);
    if (it != items_.end()) items_.erase(it);
}

bool THandleList::HasValue(plat::HWND Handle) const
{
    std::lock_guard<std::mutex> g(lock_);
    return std::find(items_.begin(), items_.end(), Handle) != items_.end();
}

bool THandleList::AddUnique(plat::HWND Handle)
{
    std::lock_guard<std::mutex> g(lock_);
    if (std::find(items_.begin(), items_.end(), Handle) != items_.end()) return false;
    items_.push_back(Handle);
    return true;
}

int THandleList::Count() const
{
    std::lock_guard<std::mutex> g(lock_);
    return static_cast<int>(items_.size());
}

std::vector<plat::HWND> THandleList::Snapshot() const
{
    std::lock_guard<std::mutex> g(lock_);
    return items_;
}

std::vector<plat::HWND> TRegMonitorThread::Recipients() const
{
    std::vector<plat::HWND> out;
    if (Wnd != 0) out.push_back(Wnd);
    for (plat::HWND h : winList_.Snapshot()) out.push_back(h);
    return out;
}

namespace {
TThemeNotifier* gNotifier = nullptr;
}

TThemeNotifier::TThemeNotifier(plat::TComponent* AOwner) : plat::TComponent(AOwner)
{
    // The watch needs an office installation; none is ever found here, so no hidden window
    // and no monitor thread are made and registrations are ignored.
    if (!HasState(plat::csDesigning) && OfficeVersionPresent() > 0) {
        thread_ = new TRegMonitorThread();
        thread_->Filter = 4;
        thread_->Key = OfficeVersionPresent() == 2 ? u"Software\\Microsoft\\Office\\14.0\\Common"
                                                   : u"Software\\Microsoft\\Office\\12.0\\Common";
        thread_->WatchSub = true;
    }
}

TThemeNotifier::~TThemeNotifier()
{
    delete thread_;
    thread_ = nullptr;
    if (gNotifier == this) gNotifier = nullptr;
}

void TThemeNotifier::RegisterWindow(plat::HWND Handle)
{
    if (thread_) thread_->WinList().AddUnique(Handle);
}

void TThemeNotifier::UnRegisterWindow(plat::HWND Handle)
{
    if (thread_) thread_->WinList().DeleteValue(Handle);
}

TThemeNotifier* GetThemeNotifier(plat::TComponent* AOwner)
{
    if (!gNotifier) gNotifier = new TThemeNotifier(AOwner);
    return gNotifier;
}

}  // namespace grid
