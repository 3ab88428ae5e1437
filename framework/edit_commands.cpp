// The standard edit items acting on the focused text field.

#include "framework/internal/edit_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

#include <array>

namespace fw::internal {
namespace {

struct NamedCommand {
    std::string_view itemName;
    EditCommand command;
};

constexpr std::array kEditItems = {
    NamedCommand{"EditUndo", EditCommand::Undo},   NamedCommand{"EditCut", EditCommand::Cut},
    NamedCommand{"EditCopy", EditCommand::Copy},   NamedCommand{"EditPaste", EditCommand::Paste},
    NamedCommand{"EditClear", EditCommand::Clear},
};

// A password field never gives its text away.
bool ShowsItsText(const QLineEdit& field) {
    return field.echoMode() == QLineEdit::Normal;
}

bool ClipboardHasText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText() && !data->text().isEmpty();
}

} // namespace

EditCommand EditCommandNamed(std::string_view itemName) {
    for (const NamedCommand& entry : kEditItems) {
        if (entry.itemName == itemName) {
            return entry.command;
        }
    }
    return EditCommand::None;
}

QLineEdit* FocusedTextField() {
    return qobject_cast<QLineEdit*>(QApplication::focusWidget());
}

bool CanAct(EditCommand command, const QLineEdit* field) {
    if (field == nullptr || !field->isEnabled()) {
        return false;
    }
    const bool editable = !field->isReadOnly();
    switch (command) {
    case EditCommand::Undo:
        return editable && field->isUndoAvailable();
    case EditCommand::Cut:
        return editable && field->hasSelectedText() && ShowsItsText(*field);
    case EditCommand::Copy:
        return field->hasSelectedText() && ShowsItsText(*field);
    case EditCommand::Paste:
        return editable && ClipboardHasText();
    case EditCommand::Clear:
        return editable && field->hasSelectedText();
    case EditCommand::None:
        break;
    }
    return false;
}

void Act(EditCommand command, QLineEdit* field) {
    if (!CanAct(command, field)) {
        return;
    }
    switch (command) {
    case EditCommand::Undo:
        field->undo();
        break;
    case EditCommand::Cut:
        field->cut();
        break;
    case EditCommand::Copy:
        field->copy();
        break;
    case EditCommand::Paste:
        field->paste();
        break;
    case EditCommand::Clear:
        // With a selection, del() removes exactly the selection.
        field->del();
        break;
    case EditCommand::None:
        break;
    }
}

} // namespace fw::internal
