#include "app/help_tags.h"

#include "framework/exceptions.h"
#include "framework/system_functions.h"

namespace {
constexpr const char* kFunction = "HMSetHelpTagsDisplayed";
constexpr const char* kLibrary = "Carbon.framework";
} // namespace

void SetSystemHelpTagsDisplayed(bool displayed) {
    auto setHelpTags = fw::LoadFunctionPointerFromLibrary<int(bool)>(kFunction, kLibrary);
    if (!setHelpTags) {
        throw fw::FunctionNotFoundException(kFunction, kLibrary);
    }
    static_cast<void>(setHelpTags(displayed));
}
