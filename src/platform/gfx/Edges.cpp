// Classic three-dimensional edges and frame controls in the system colours.
#include "CanvasImpl.h"

namespace plat {

bool DrawEdge(TCanvas*, TRect&, unsigned, unsigned) { return false; }
bool DrawFrameControl(TCanvas*, const TRect&, unsigned, unsigned) { return false; }

} // namespace plat
