#include "framework/popup_menu.h"

#include "framework/exceptions.h"
#include "framework/internal/design_values.h"
#include "framework/window.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace fw {
namespace {

QComboBox& Combo(QWidget* widget) {
    return *static_cast<QComboBox*>(widget);
}

} // namespace

// Qt's own index signal raises "Change" for every choice of the user and
// every change of ListIndex from code. Changes to the rows block it and
// decide themselves whether the selected row changed.
PopupMenu::PopupMenu(Window& owner, std::string name, std::int32_t index)
    : Control(owner, ControlKind::PopupMenu, std::move(name), index,
              new QComboBox(owner.ContentWidget())) {
    QComboBox& combo = Combo(NativeWidget());
    combo.setEditable(false);
    QObject::connect(&combo, &QComboBox::currentIndexChanged, &combo,
                     [this](int) { RaiseEvent("Change"); });
    UpdateFont();
}

int PopupMenu::ListCount() const {
    return Combo(NativeWidget()).count();
}

// QComboBox selects the first row added to an empty menu; here adding a row
// never changes the selection.
void PopupMenu::AddRow(std::string_view text) {
    QComboBox& combo = Combo(NativeWidget());
    const QSignalBlocker quiet(combo);
    const int selected = combo.currentIndex();
    combo.addItem(internal::ToQString(text));
    if (combo.currentIndex() != selected) {
        combo.setCurrentIndex(selected);
    }
}

void PopupMenu::RemoveRow(int row) {
    if (row < 0 || row >= ListCount()) {
        throw OutOfBoundsException("no row " + std::to_string(row) + " in the menu '" + Name() +
                                   "'");
    }
    QComboBox& combo = Combo(NativeWidget());
    const int selected = combo.currentIndex();
    {
        const QSignalBlocker quiet(combo);
        combo.removeItem(row);
        // A row above the selected one moves it up; the selected row itself
        // leaves no row selected.
        combo.setCurrentIndex(selected == row ? -1 : (selected > row ? selected - 1 : selected));
    }
    if (selected == row) {
        RaiseEvent("Change");
    }
}

std::string PopupMenu::List(int row) const {
    if (row < 0 || row >= ListCount()) {
        throw OutOfBoundsException("no row " + std::to_string(row) + " in the menu '" + Name() +
                                   "'");
    }
    return internal::ToUtf8(Combo(NativeWidget()).itemText(row));
}

void PopupMenu::SetList(int row, std::string_view text) {
    if (row < 0 || row >= ListCount()) {
        throw OutOfBoundsException("no row " + std::to_string(row) + " in the menu '" + Name() +
                                   "'");
    }
    Combo(NativeWidget()).setItemText(row, internal::ToQString(text));
}

int PopupMenu::ListIndex() const {
    return Combo(NativeWidget()).currentIndex();
}

void PopupMenu::SetListIndex(int row) {
    if (row < -1 || row >= ListCount()) {
        throw OutOfBoundsException("no row " + std::to_string(row) + " to select in the menu '" +
                                   Name() + "'");
    }
    Combo(NativeWidget()).setCurrentIndex(row);
}

std::string PopupMenu::Text() const {
    const int selected = ListIndex();
    return selected < 0 ? std::string() : List(selected);
}

void PopupMenu::ApplyDesignProperty(const Property& property) {
    const std::string& name = property.name;
    if (name == "InitialValue") {
        QComboBox& combo = Combo(NativeWidget());
        {
            const QSignalBlocker quiet(combo);
            combo.clear();
        }
        for (const std::string& row : internal::SplitDesignLines(internal::TextValue(property))) {
            AddRow(row);
        }
    } else if (name == "ListIndex") {
        // A design may name a row that its rows do not have yet (a menu that
        // the program fills later); that selects nothing.
        const std::int32_t row = internal::IntValue(property);
        if (row >= -1 && row < ListCount()) {
            SetListIndex(row);
        }
    }
    Control::ApplyDesignProperty(property);
}

std::vector<std::pair<std::string_view, EventShape>> PopupMenu::Events() const {
    return {{"Change", EventShape::Plain}};
}

} // namespace fw
