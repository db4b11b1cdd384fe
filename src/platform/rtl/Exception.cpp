#include "plat/Exception.h"

#include <cstdio>

namespace plat {

Exception::Exception(String message)
    : message_(std::move(message)), utf8_(StringToUtf8(message_))
{
}

void LogUnhandled(const char* context) noexcept
{
    const char* text = "an exception that is no std::exception";
    try {
        throw;
    } catch (const std::exception& e) {
        text = e.what();
        std::fprintf(stderr, "%s: %s\n", context, text);
        return;
    } catch (...) {
    }
    std::fprintf(stderr, "%s: %s\n", context, text);
}

} // namespace plat
