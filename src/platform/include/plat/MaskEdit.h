#pragma once
// A single-line edit with an edit mask (the language of plat/EditMask.h). Without a mask it
// is a plain edit. Under a mask the editor shows the edit text: typed characters fill
// positions in place, Backspace and Delete empty them, Ctrl+V and Shift+Insert type what
// fits, Ctrl+X and Shift+Delete empty the cut part, refused keys beep; Text reports the
// mask's text and a text set is shown through the mask.
#include "plat/EditMask.h"
#include "plat/StdCtrls.h"

namespace plat {

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
    String ClassName() const override { return u"TMaskEdit"; }

    const String& EditMask() const { return editMask_; }
    void SetEditMask(const String& Value);
    bool IsMasked() const { return !mask_.Empty(); }
    const TEditMask& Mask() const { return mask_; }
    // The text as the editor shows it (the edit text under a mask).
    String EditText() const;

    // Under a mask these take the mask's steps.
    void SetSelText(const String& Value);
    void CutToClipboard();
    void PasteFromClipboard();
    void ClearSelection() { SetSelText(String()); }

    String GetText() const override;
    void DefaultHandler(TMessage& Message) override;

protected:
    void SetTextBuf(const String& Value) override;
    void Change() override;

private:
    // Shows the result of a masked editing step; a refused step beeps and changes nothing.
    void ApplyMaskEdit(const TEditMask::TEdit& Result);

    String editMask_;
    TEditMask mask_;
    bool conforming_ = false;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};

} // namespace plat
