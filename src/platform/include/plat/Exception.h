#pragma once
// The framework's exception classes that the system relies on. Texts are UTF-16;
// what() gives the UTF-8 form for diagnostics.
#include <exception>
#include <string>

#include "plat/String.h"

namespace plat {

class Exception : public std::exception {
public:
    explicit Exception(String message);
    const String& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    String message_;
    std::string utf8_;
};

// Conversion failures: "'abc' is not a valid integer value", missing attribute read as text, ...
class EConvertError : public Exception { using Exception::Exception; };
// "List index out of bounds (%d)"
class EListError : public Exception { using Exception::Exception; };
// "Cannot focus a disabled or invisible window"
class EInvalidOperation : public Exception { using Exception::Exception; };
// A failing operating-system call; the message carries the system's text.
class EOSError : public Exception { using Exception::Exception; };
// Stream and file failures.
class EFileError : public Exception { using Exception::Exception; };

// Writes the error being handled as one line "<context>: <text>" to the standard error
// stream. For errors no caller is left to take: one raised in a destructor, or while another
// error is being reported. Call it inside a catch block; it never throws.
void LogUnhandled(const char* context) noexcept;

} // namespace plat
