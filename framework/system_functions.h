#pragma once

#include <any>
#include <functional>
#include <string>
#include <string_view>

namespace fw {

namespace detail {
const std::any* FindLibraryFunction(std::string_view name, std::string_view library);
void RegisterLibraryFunction(std::string_view name, std::string_view library, std::any function);
} // namespace detail

// A system function looked up by name in a library: the function, or none
// (an empty std::function) when the library has no function of that name and
// signature.
template <class Signature>
std::function<Signature> LoadFunctionPointerFromLibrary(std::string_view name,
                                                        std::string_view library) {
    if (const std::any* found = detail::FindLibraryFunction(name, library)) {
        if (const auto* function = std::any_cast<std::function<Signature>>(found)) {
            return *function;
        }
    }
    return {};
}

// Offers a function under a name in a library.
template <class Signature>
void RegisterLibraryFunction(std::string_view name, std::string_view library,
                             std::function<Signature> function) {
    detail::RegisterLibraryFunction(name, library, std::any(std::move(function)));
}

// The application-wide help tag switch: while off, no control shows its help
// tag (tooltip). Offered as "HMSetHelpTagsDisplayed" in "Carbon.framework",
// with the signature int(bool) (the result is 0).
void SetHelpTagsDisplayed(bool displayed);
bool HelpTagsDisplayed();

} // namespace fw
