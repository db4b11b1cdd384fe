#pragma once
// Programming errors inside the tree control (a wrong bitmap format handed to the blender,
// a nil node where one is needed) fail with a fixed message of this class, so they cannot
// be mistaken for errors that data or callers cause.
#include "plat/Exception.h"

namespace vtree {

class EAssertionFailed : public plat::Exception {
    using plat::Exception::Exception;
};

} // namespace vtree
