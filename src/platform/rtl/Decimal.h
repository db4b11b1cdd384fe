#pragma once
// Decimal text of |a| with exactly `decimals` decimals, rounded half up on its 15-significant-
// digit decimal value (so 1.005 gives "1.01", as users read the number), '.' as separator.
#include <string>

namespace plat {
std::string FixedDecimal(double a, int decimals);
}
