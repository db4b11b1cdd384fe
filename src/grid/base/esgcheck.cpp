#include "esgcheck.h"

namespace grid {

String TExtStringGridCheck::MarkError(int ACol, int ARow, const String& Value) {
    (void)ACol;
    (void)ARow;
    return Value;
}

String TExtStringGridCheck::Correct(int ACol, int ARow, const String& Value) {
    (void)ACol;
    (void)ARow;
    return Value;
}

void TExtStringGridCheck::StartCheck() {}

void TExtStringGridCheck::StopCheck() {}

} // namespace grid
