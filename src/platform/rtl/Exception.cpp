#include "plat/Exception.h"

namespace plat {

Exception::Exception(String message)
    : message_(std::move(message)), utf8_(StringToUtf8(message_))
{
}

} // namespace plat
