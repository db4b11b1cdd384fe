#pragma once
// The visual-style functions under the second name the style code calls them by: the same
// functions as ExtXPVS.
#include "ExtXPVS.h"

namespace grid {
namespace ATXPVS = ExtXPVS;
}  // namespace grid
