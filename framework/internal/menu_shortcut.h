#pragma once

// Framework-internal: turns a menu item's keyboard shortcut text into Qt's
// key sequence. Never included outside framework/.

#include <QKeySequence>

#include <string_view>

namespace fw::internal {

// "Cmd+Q" -> Ctrl+Q. Modifiers, in any order and any letter case: Cmd or
// Command (the platform's command modifier, Ctrl here), Ctrl or Control,
// Option, Opt or Alt, and Shift; the rest names one key as Qt spells it
// ("Q", "F1", "Del", "+"). Empty, blank or unreadable text gives an empty
// sequence: the item has no shortcut.
QKeySequence ShortcutFromText(std::string_view text);

} // namespace fw::internal
