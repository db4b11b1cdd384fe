#pragma once
// TExtStringGridCheck: the base of cell checkers. A grid whose CellChecker names one runs
// cells through Correct and MarkError (each only when its Use... flag is set) and writes the
// result back; a cell passes when neither changed its text. The base changes nothing:
// derived checkers supply the work. Not owned by the grid; the grid forgets it when it goes.
#include "plat/Classes.h"

namespace grid {

using plat::String;

class TExtStringGridCheck : public plat::TComponent {
public:
    explicit TExtStringGridCheck(plat::TComponent* AOwner = nullptr) : plat::TComponent(AOwner) {}
    String ClassName() const override { return u"TExtStringGridCheck"; }

    // Both return their input unchanged in the base.
    virtual String MarkError(int ACol, int ARow, const String& Value);
    virtual String Correct(int ACol, int ARow, const String& Value);
    // Bracket a range check; nothing in the base.
    virtual void StartCheck();
    virtual void StopCheck();

    bool GotoCell = false;
    bool AutoCorrect = false;
    bool AutoMarkError = false;
    bool UseCorrect = false;
    bool UseMarkError = false;
};

} // namespace grid
