#pragma once
// Helpers of the runtime tests: exact exception texts and throw-away folders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "plat/Exception.h"
#include "plat/String.h"

namespace plat::test {

inline std::string U8(StringView s) { return StringToUtf8(s); }

// Runs f and checks that it throws E with exactly `message`.
template <class E>
::testing::AssertionResult ThrowsWith(const std::function<void()>& f, StringView message)
{
    try {
        f();
    } catch (const E& e) {
        if (e.Message() == message)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "message was \"" << U8(e.Message()) << "\", expected \""
                                             << U8(message) << "\"";
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "other exception: " << e.what();
    }
    return ::testing::AssertionFailure() << "nothing thrown";
}

// A fresh folder, removed with its contents at the end of the test.
class TempDir {
public:
    TempDir()
    {
        std::string tmpl = ::testing::TempDir() + "plat-rtl-XXXXXX";
        char* p = ::mkdtemp(tmpl.data());
        if (!p)
            ADD_FAILURE() << "mkdtemp failed";
        path_ = tmpl;
    }
    ~TempDir()
    {
        const std::string cmd = "chmod -R u+w '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'";
        [[maybe_unused]] int rc = std::system(cmd.c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& native() const { return path_; }
    String path() const { return Utf8ToString(path_); }
    String operator/(StringView name) const { return path() + u"/" + String(name); }

private:
    std::string path_;
};

} // namespace plat::test
