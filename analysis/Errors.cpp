#include "Errors.h"

#include <cerrno>

namespace quillomar {

std::string InOutErrorMessage(int aErrorCode) {
    switch (aErrorCode) {
        case 2: return "The specified file was not found";
        case 4: return "Too many open files";
        case 5: return "File access denied";
        default: return "I/O error " + std::to_string(aErrorCode);
    }
}

int InOutErrorCodeFromErrno(int aErrno) {
    switch (aErrno) {
        case ENOENT:
        case ENOTDIR: return 2;
        case EMFILE:
        case ENFILE: return 4;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return 5;
        case ENOSPC:
        case EDQUOT: return 112;
        default: return aErrno;
    }
}

EInOutError::EInOutError(int aErrorCode)
    : Exception(InOutErrorMessage(aErrorCode)), fErrorCode(aErrorCode) {}

EArgumentOutOfRangeException::EArgumentOutOfRangeException()
    : Exception("Specified argument was out of the range of valid values: index") {}

std::string ErrorBoxText(const std::string& aMessage) {
    if (!aMessage.empty() && static_cast<unsigned char>(aMessage.back()) > '.') {
        return aMessage + ".";
    }
    return aMessage;
}

}  // namespace quillomar
