#pragma once

// Framework-internal: the standard edit menu items and what they do to the
// focused text field. Never included outside framework/.

#include <string_view>

class QLineEdit;

namespace fw::internal {

enum class EditCommand { None, Undo, Cut, Copy, Paste, Clear };

// The command of a standard edit item, recognised by the item's name
// (EditUndo, EditCut, EditCopy, EditPaste, EditClear); None for any other.
EditCommand EditCommandNamed(std::string_view itemName);

// The text field that has the keyboard focus, or null.
QLineEdit* FocusedTextField();

// Whether the command would change or copy something in the field now.
bool CanAct(EditCommand command, const QLineEdit* field);

// Carries the command out on the field; does nothing when it cannot act.
void Act(EditCommand command, QLineEdit* field);

} // namespace fw::internal
