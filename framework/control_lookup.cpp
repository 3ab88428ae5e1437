#include "framework/window.h"

#include <string>

namespace fw {
namespace {

std::string Describe(std::string_view name, std::int32_t index) {
    std::string text = "'" + std::string(name) + "'";
    if (index != kNoIndex) {
        text += "(" + std::to_string(index) + ")";
    }
    return text;
}

[[noreturn]] void ThrowMissing(const Window* window, std::string_view name, std::int32_t index,
                               std::string_view what) {
    std::string message = "no control " + Describe(name, index) + std::string(what);
    if (window != nullptr) {
        message += " in the window '" + window->Title() + "'";
    }
    throw NilObjectException(message);
}

} // namespace

Control& RuntimeWindowControlByName(const Window& window, std::string_view name) {
    return RuntimeWindowControlByNameIndex(window, name, kNoIndex);
}

Control& RuntimeWindowControlByNameIndex(const Window& window, std::string_view name,
                                         std::int32_t index) {
    if (Control* control = window.FindControl(name, index)) {
        return *control;
    }
    ThrowMissing(&window, name, index, "");
}

namespace detail {

void ThrowWrongKind(std::string_view name, std::int32_t index) {
    ThrowMissing(nullptr, name, index, " of the expected kind");
}

void ThrowWrongKind(const Window& window, std::string_view name, std::int32_t index) {
    ThrowMissing(&window, name, index, " of the expected kind");
}

} // namespace detail
} // namespace fw
