// The error types of the system. Every failure is one of these exceptions;
// the handler boundary (the window's guard, the command line's main) turns
// them into the text of the error box with ErrorBoxText.
#pragma once

#include <stdexcept>
#include <string>

namespace quillomar {

// Base of every error the system raises on purpose.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& aMessage) : std::runtime_error(aMessage) {}
};

// A failing file operation; ErrorCode is the code of the error table
// (2 not found, 4 too many open files, 5 access denied, 32 locked, ...).
class EInOutError : public Exception {
public:
    explicit EInOutError(int aErrorCode);
    int ErrorCode() const noexcept { return fErrorCode; }

private:
    int fErrorCode;
};

// A text that is not an integer.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index outside a prime list.
class EArgumentOutOfRangeException : public Exception {
public:
    EArgumentOutOfRangeException();
};

// The message of an I/O error code, as the error table gives it.
std::string InOutErrorMessage(int aErrorCode);

// The I/O error code for an errno value.
int InOutErrorCodeFromErrno(int aErrno);

// The text the error box shows: the message, followed by "." when its last
// character has a code above that of ".".
std::string ErrorBoxText(const std::string& aMessage);

}  // namespace quillomar
