#pragma once
// A drop-down edit for multi-line text: the drop-down form holds a borderless memo in which
// all lines are edited, while the one-line edit shows the first line, followed by "..." when
// more lines follow or shortened with "..." to fit (all lines while the editor is enabled).
//
// - Leaving the open form keeps what was typed in the memo; Esc restores the lines the memo
//   opened with.
// - Keys typed in the memo stay there, except Esc, F4 and Alt combinations, which act on the
//   drop-down; Ctrl+A selects the memo's whole text.
// - AutoDrop opens the form on focus entry, but not when the focus comes back from closing it.
#include <memory>

#include "ExtDropDown.h"
#include "plat/Classes.h"
#include "plat/Menus.h"
#include "plat/StdCtrls.h"

namespace dropdown {

class TExtMemoDropDown : public TExtCustomDropDown {
public:
    explicit TExtMemoDropDown(plat::TComponent* AOwner);
    ~TExtMemoDropDown() override;
    String ClassName() const override { return u"TExtMemoDropDown"; }

    // The full text, one entry per line.
    plat::TStringList* MemoText() const { return memoText_.get(); }
    void SetMemoText(const plat::TStrings* Value);
    plat::TPopupMenu* MemoPopup() const { return memoPopup_; }
    void SetMemoPopup(plat::TPopupMenu* Value) { memoPopup_ = Value; }
    plat::TScrollStyle MemoScrollBars() const { return memoScrollBars_; }
    void SetMemoScrollBars(plat::TScrollStyle Value) { memoScrollBars_ = Value; }
    bool MemoReadOnly() const { return memoReadOnly_; }
    void SetMemoReadOnly(bool Value);
    bool AutoDrop() const { return autoDrop_; }
    void SetAutoDrop(bool Value) { autoDrop_ = Value; }
    // The embedded memo (created with the drop-down form).
    plat::TMemo* Memo() const { return memo_; }

    plat::TNotifyEvent OnMemoChange;

    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
    void SetText(const String& Value) override;

protected:
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DoHideDropDown(bool Cancel) override;
    void AfterDropUp(plat::TObject* Sender) override;
    void ForwardListKeyDown(plat::TObject* Sender, std::uint16_t& Key, plat::TShiftState Shift) override;
    void ForwardListKeyUp(plat::TObject* Sender, std::uint16_t& Key, plat::TShiftState Shift) override;
    void ForwardListChar(plat::TObject* Sender, char16_t& Key) override;
    void DoEnter() override;
    void Change() override;

private:
    // The edit text rebuilt from MemoText.
    void UpdateEditText();
    void MemoKeyDown(plat::TObject* Sender, std::uint16_t& Key, plat::TShiftState Shift);

    std::unique_ptr<plat::TStringList> memoText_;
    plat::TPopupMenu* memoPopup_ = nullptr;
    plat::TScrollStyle memoScrollBars_ = plat::ssNone;
    bool memoReadOnly_ = false;
    bool autoDrop_ = false;
    plat::TMemo* memo_ = nullptr;
    int memoWidth_ = 0;
    bool updating_ = false;
    bool cancelling_ = false;
};

} // namespace dropdown
