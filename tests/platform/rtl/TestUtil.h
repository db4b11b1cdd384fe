#pragma once
// Helpers of the runtime tests: exact exception texts and throw-away folders.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "plat/Exception.h"
#include "plat/String.h"

namespace plat::test {

inline std::string U8(StringView s) { return StringToUtf8(s); }

using testsupport::TempDir;
using testsupport::ThrowsWith;

} // namespace plat::test
