#pragma once
// What every test kit shares: exact-text exception checks, throw-away folders and the
// headless Qt set-up of programs that do not run under CTest (benchmarks, tools).
#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <string>

#include "plat/String.h"

namespace testsupport {

// Runs f and checks that it throws E whose Message() is exactly `message`.
template <class E>
::testing::AssertionResult ThrowsWith(const std::function<void()>& f, plat::StringView message)
{
    try {
        f();
    } catch (const E& e) {
        if (e.Message() == message)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "message was \"" << plat::StringToUtf8(e.Message())
                                             << "\", expected \"" << plat::StringToUtf8(message) << "\"";
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "other exception: " << e.what();
    } catch (...) {
        return ::testing::AssertionFailure() << "an exception that is no std::exception";
    }
    return ::testing::AssertionFailure() << "nothing thrown";
}

// A fresh folder under the system's temporary folder, removed with its contents (read-only
// entries included) on destruction. Only the folder this object made is ever removed.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& native() const { return path_; }
    plat::String path() const { return plat::Utf8ToString(path_); }
    plat::String upath() const { return path(); }
    std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }
    plat::String operator/(plat::StringView rel) const { return upath() + u"/" + plat::String(rel); }

private:
    std::string path_;
};

// The folder that TEST_PICTURES names, where tests write pictures of what they build for a
// look by eye (ending in "/"); empty when no picture is asked for, and then none is written.
std::string Picture_Dir();

// The headless set-up CTest gives every test: the offscreen platform (unless the caller
// asked for another), no high-DPI scaling, 96 DPI fonts. Call before the application starts.
void Use_Offscreen_Platform();

} // namespace testsupport
