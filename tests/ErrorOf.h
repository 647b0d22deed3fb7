// What the error box would show for the error an action raises.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "Errors.h"

namespace quillomar::test {

// The error box's text for the error aAction raises; "(no error)" when it
// raises none.
inline std::string ErrorOf(const std::function<void()>& aAction) {
    try {
        aAction();
    } catch (const std::exception& e) {
        return ErrorBoxText(e.what());
    }
    return "(no error)";
}

}  // namespace quillomar::test
