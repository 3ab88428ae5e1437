#pragma once

#include "framework/design_record.h"

#include <climits>
#include <string>
#include <vector>

namespace fw {

// The kinds of object that a design property record describes.
enum class ControlKind {
    Window,
    GroupBox,
    Canvas,
    StaticText,
    Listbox,
    TextField,
    PushButton,
    UpDownArrows,
    PopupMenu,
    RadioButton,
    CheckBox,
};

// Index of a control that belongs to no control array.
inline constexpr std::int32_t kNoIndex = INT32_MIN;

// Every property that a record of this kind holds, in record order, each with
// the design value that a layout leaves unsaid: not anchored, tab panel 0,
// enabled, visible, font "System", no help tag, tab stop where the kind has
// one, and so on.
const std::vector<Property>& DesignDefaults(ControlKind kind);

// A whole record of the kind: every property in record order, taking the
// given values in place of the defaults. Lets layouts be written as short
// readable rows. A name that the kind does not have, or a value of the wrong
// type, is a mistake in the layout and throws std::invalid_argument.
std::string BuildDesignRecord(ControlKind kind, const std::vector<Property>& values);

} // namespace fw
