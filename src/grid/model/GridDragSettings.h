#pragma once
// The settings of the string grid's drag and drop and of its scrolling while something is
// dragged over it. Assign copies from an object of the same class only.
#include <functional>
#include <memory>

#include "plat/Classes.h"
#include "plat/Controls.h"
#include "plat/DragDrop.h"
#include "plat/Streams.h"
#include "plat/Timers.h"

namespace plat {
class TCustomListBox;
}

namespace grid {

class TExtStringGrid;

class TDragDropSettings : public plat::TPersistent {
public:
    explicit TDragDropSettings(TExtStringGrid* AOwner) : FGrid(AOwner) {}
    String ClassName() const override { return u"TDragDropSettings"; }
    void Assign(const plat::TPersistent* Source) override;
    TExtStringGrid* Grid() const { return FGrid; }

    // On: the grid registers its drop target for its window (outside design time); off:
    // the registration made is revoked.
    bool OleDropTarget() const { return FOleDropTarget; }
    void SetOleDropTarget(bool Value);
    // Rich text is offered and taken (the drag-and-drop unit's switch follows it).
    bool OleDropRTF() const { return FOleDropRTF; }
    void SetOleDropRTF(bool Value);
    bool OleDropSource = false;
    bool OleAcceptText = true, OleAcceptFiles = true, OleAcceptURLs = true;
    bool OleEntireRows = false, OleRemoveRows = false, OleInsertRows = false, OleAppendRows = false;
    bool OleCopyAlways = false;
    bool OleColumnDragDrop = false, OleColumnReorder = false, OleColumnsOnly = false;
    bool ShowCells = true;

private:
    TExtStringGrid* FGrid;
    bool FOleDropTarget = false, FOleDropRTF = false;
};

class TDragScrollDelays : public plat::TPersistent {
public:
    String ClassName() const override { return u"TDragScrollDelays"; }
    void Assign(const plat::TPersistent* Source) override;
    int InitialDelay = 1000, RepeatDelay = 250;  // milliseconds
};

class TDragScrollMargins : public plat::TPersistent {
public:
    String ClassName() const override { return u"TDragScrollMargins"; }
    void Assign(const plat::TPersistent* Source) override;
    int TopMargin = 50, BottomMargin = 50, LeftMargin = 50, RightMargin = 50;  // pixels
};

class TDragScrollOptions : public plat::TPersistent {
public:
    String ClassName() const override { return u"TDragScrollOptions"; }
    void Assign(const plat::TPersistent* Source) override;
    bool Active = false;
    TDragScrollDelays* Delays() const { return FDelays.get(); }
    TDragScrollMargins* Margins() const { return FMargins.get(); }

private:
    std::unique_ptr<TDragScrollDelays> FDelays = std::make_unique<TDragScrollDelays>();
    std::unique_ptr<TDragScrollMargins> FMargins = std::make_unique<TDragScrollMargins>();
};

// A set of directions: bit 1 << direction.
enum TDragScrollDirectionFlag : unsigned { dsdUp = 1, dsdDown = 2, dsdLeft = 4, dsdRight = 8 };
using TDragScrollDirection = unsigned;

using TDragScrollEvent = std::function<void(plat::TObject* Sender, int TopRow, int LeftCol,
                                            TDragScrollDirection& DragScrollDir, bool& CanScroll)>;
using TOleDropEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, const String& Data, bool& Allow)>;
using TOleDragOverEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, bool& Allow)>;
using TOleDroppedEvent = std::function<void(plat::TObject* Sender, const plat::TRect& ARect)>;
using TOleDropColEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, int DropCol)>;
using TOleDragStartEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol)>;
using TOleDragStopEvent = std::function<void(plat::TObject* Sender, int OLEEffect)>;

} // namespace grid
