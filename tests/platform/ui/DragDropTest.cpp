// Drag and drop between windows through the in-process session.
#include "plat/DragDrop.h"
#include "plat/Testing.h"

namespace plat {
namespace {
} // namespace
} // namespace plat
