#pragma once
// How a container hands its look to the grid and the companion controls (a preset style or
// a set of colour tones), and what the desktop tells about its colour scheme. This platform
// has no office registry keys and no visual styles, so detection answers "no theme" and every
// control takes its classic look; the mapping rules are kept as pure functions so they hold
// wherever the answers come from.
#include <cstdint>
#include <mutex>
#include <vector>

#include "plat/Classes.h"
#include "plat/Messages.h"
#include "plat/String.h"
#include "plat/Types.h"

namespace grid {

using plat::TColor;

enum TExtStyle {
    tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
    tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom, tsOffice2007Silver, tsWindowsVista,
    tsWindows7, tsTerminal, tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black
};

class IExtStyle {
public:
    virtual void SetComponentStyle(TExtStyle AStyle) = 0;

protected:
    ~IExtStyle() = default;
};

// Colours of a look's states (brush, border, text each).
struct TColorTone {
    TColor BrushColor = plat::clNone;
    TColor BorderColor = plat::clNone;
    TColor TextColor = plat::clNone;
};
struct TColorTones {
    TColorTone Background, Foreground, Selected, Hover, Disabled;
};

class IExtTones {
public:
    virtual void SetColorTones(const TColorTones& ATones) = 0;

protected:
    ~IExtTones() = default;
};

enum TOfficeTheme {
    ot2003Blue, ot2003Silver, ot2003Olive, ot2003Classic, ot2007Blue, ot2007Silver, ot2007Black,
    ot2010Blue, ot2010Silver, ot2010Black, otUnknown
};

// Sent to registered windows when the office colour scheme changes.
constexpr plat::UINT WM_OFFICETHEMECHANGED = 0x0BB1;

bool IsWindowsXPOrLater();
bool IsComCtl6OrLater();
bool IsVistaLocaleApi();
plat::String GetDefaultUIFontName();

// 1 "NormalColor", 2 "HomeStead", 3 "Metallic", else 0.
int XPColorSchemeFromName(plat::StringView ColorName);
// 0 without an active visual style.
int XPColorSchemeName();
// 2 with office 14.0 settings, 1 with 12.0, else 0.
int OfficeVersionPresent();
// The "Theme" values of the 14.0 and 12.0 keys (-1 when absent) and the XP colour scheme
// decide, in that order of precedence.
TOfficeTheme OfficeThemeFromValues(int Theme14, int Theme12, int XPScheme);
TOfficeTheme OfficeThemeFromRegistry();

// Window handles that want the office-theme change message. The registering side runs on
// the user-interface thread and the monitor thread reads, so every operation takes the lock.
class THandleList {
public:
    int Add(plat::HWND Handle);
    void Delete(int Index);
    void Insert(int Index, plat::HWND Handle);
    void SetInteger(int Index, plat::HWND Handle);
    plat::HWND GetInteger(int Index) const;
    void DeleteValue(plat::HWND Handle);  // the first equal item
    bool HasValue(plat::HWND Handle) const;
    // Adds unless present, as one step so two registrations cannot both add.
    bool AddUnique(plat::HWND Handle);
    int Count() const;
    // A copy to deliver to: sending under the lock would deadlock a receiver that
    // unregisters while it handles the message.
    std::vector<plat::HWND> Snapshot() const;

private:
    void CheckIndex(int Index, bool AllowEnd) const;
    mutable std::mutex lock_;
    std::vector<plat::HWND> items_;
};

// The watch settings and the windows to tell. Watching a registry key needs a platform
// service this build does not have, so the notifier never creates one here.
class TRegMonitorThread {
public:
    plat::String Key;
    std::uintptr_t RootKey = 0;
    bool WatchSub = true;
    std::uint32_t Filter = 0;  // 0 reads as 15: names, attributes, values and security
    plat::HWND Wnd = 0;

    THandleList& WinList() { return winList_; }
    std::uint32_t EffectiveFilter() const { return Filter == 0 ? 15u : Filter; }
    // Who gets one change message, in order: Wnd when set, then the registered windows.
    std::vector<plat::HWND> Recipients() const;

private:
    THandleList winList_;
};

class TThemeNotifier : public plat::TComponent {
public:
    explicit TThemeNotifier(plat::TComponent* AOwner);
    ~TThemeNotifier() override;
    plat::String ClassName() const override { return u"TThemeNotifier"; }

    TRegMonitorThread* RegMonitorThread() const { return thread_; }
    void RegisterWindow(plat::HWND Handle);
    void UnRegisterWindow(plat::HWND Handle);

    plat::TNotifyEvent OnOfficeThemeChange;

private:
    TRegMonitorThread* thread_ = nullptr;
};

// The process's one notifier, created on first use with the given owner; freed with it.
TThemeNotifier* GetThemeNotifier(plat::TComponent* AOwner);

}  // namespace grid
