#pragma once
// TLazyTreeHintWindow: the hint window of the trees. It paints node texts in the node's font
// (or lets the application draw an owner-drawn hint), and appears by fading in over what the
// screen showed below it, or by sliding down, paced by the tree's RunAnimation on the layer's
// clock. It keeps a copy of the tree's hint data and drops the tree when the tree goes, which
// also ends a running animation.
#include <memory>

#include "LazyTrees.BaseTree.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"

namespace vtree {

class TLazyTreeHintWindow : public plat::THintWindow {
public:
    explicit TLazyTreeHintWindow(plat::TComponent* AOwner);
    ~TLazyTreeHintWindow() override;
    String ClassName() const override { return u"TLazyTreeHintWindow"; }
    // The size of the hint for AData (a TLTHintData); empty when there is nothing to show.
    plat::TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData) override;
    void ActivateHint(plat::TRect Rect, const String& AHint) override;
    void ActivateHintData(plat::TRect Rect, const String& AHint, void* AData) override;
    // Hides the window and forgets the hint data.
    void ReleaseHandle() override;
    const TLTHintData& HintData() const { return FHintData; }

protected:
    void Paint() override;
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
    // One step of the appearance; false ends the animation.
    virtual bool AnimationCallback(std::uint32_t Step, int StepSize);
    // Step 0 prepares the drawing; a step size of 0 shows the whole hint.
    virtual void PaintHintStep(std::uint32_t Step, int StepSize);

private:
    void AttachTree(TBaseLazyTree* Tree);
    TLTHintData FHintData;
    std::unique_ptr<plat::TBitmap> FBackground, FDrawBuffer, FTarget;
    int FTextHeight = 0;
    THintAnimationType FRunningAnimation = hatNone;
};

// The window class the trees ask the hint handling for.
plat::THintWindow* CreateLazyTreeHintWindow(plat::TComponent* AOwner);

} // namespace vtree
