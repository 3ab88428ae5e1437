#pragma once

// Framework-internal: running the system's event handlers. Never included
// outside framework/.

#include "framework/internal/qt_bridge.h"

#include <exception>
#include <utility>

namespace fw::internal {

// Runs a handler. An exception out of it must not unwind through Qt's event
// delivery, so it goes to the unhandled-exception report and the program goes
// on; the answer is false then.
template <class Body>
bool RunHandler(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
        return true;
    } catch (...) {
        try {
            ReportHandlerException(std::current_exception());
        } catch (...) {
            // A report that fails itself has nowhere left to go.
        }
        return false;
    }
}

} // namespace fw::internal
