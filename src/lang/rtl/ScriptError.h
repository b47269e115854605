#pragma once
// Errors that runtime-library routines raise into a running script.

#include <stdexcept>
#include <string>

namespace pelo::lang::rtl {

// The engine reports an error by kind plus a parameter text; the kind decides how an uncaught error is
// printed ("Exception: <text>", "Math error", ...) and what ExceptionType returns inside a handler.
enum class ErrorKind {
    Exception,     // an exception raised by a library routine; the text is its message
    MathError,     // floating-point fault (invalid operation, overflow, underflow)
    DivideByZero,  // floating-point division by zero
    CustomError,   // engine-level error whose text is shown as it is (e.g. "Out of string range")
};

class ScriptError : public std::runtime_error {
public:
    ScriptError(ErrorKind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    explicit ScriptError(const std::string& message) : ScriptError(ErrorKind::Exception, message) {}
    ErrorKind kind() const noexcept { return kind_; }

private:
    ErrorKind kind_;
};

// Texts shared by several routines.
inline constexpr const char* kInvalidFloatingPointOperation = "Invalid floating point operation";
inline constexpr const char* kOutOfStringRange = "Out of string range";

}  // namespace pelo::lang::rtl
