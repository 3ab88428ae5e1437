#pragma once

// Drives the main window and the diode editor the way a user does: real
// mouse clicks on the buttons and cells, real key presses into the fields,
// and waits for the window activations that the platform delivers.

#include "app/main_window.h"
#include "diode_editor/vi_window.h"

#include "framework/listbox.h"
#include "framework/popup_menu.h"
#include "framework/text_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace editor_test {

// Base of the editor's tests: an exception that left any handler during the
// test fails it, although the framework reports it and the program goes on.
class EditorTest : public testing::Test {
protected:
    void TearDown() override;
};

template <class Case>
class EditorTestWithParam : public EditorTest, public testing::WithParamInterface<Case> {};

// Brings the window to the front and returns once it is the active window,
// its activation handled. Fails the test when it never becomes active.
void ActivateAndWait(fw::Window& window);

// The main window's "New" and "Edit" buttons, clicked after the main window
// was made active, as a user's click makes it; returns the editor once its
// activation has prepared it.
VIwindow& PressNew();
VIwindow& PressEdit();

// A mouse click on a push button of the window.
void ClickButton(const fw::Window& window, const char* name);

// A mouse click into cell (row, column) of the list.
void ClickCell(fw::Listbox& list, int row, int column);

// Key presses into a field, one per character of the text.
void Type(fw::TextField& field, const std::string& text);
// Erases the whole text of a field with Backspace from its end.
void EraseWithBackspace(fw::TextField& field);

// Clicks the editor's cell and types the text over its selected value; the
// cell stays open.
void TypeIntoCell(VIwindow& editor, int row, int column, const std::string& text);
// Erases the editor's name and types a new one.
void TypeName(VIwindow& editor, const std::string& name);

fw::Listbox& EditorTable(const VIwindow& editor);
fw::TextField& NameField(const VIwindow& editor);
fw::PopupMenu& DiodeMenu(const MainWindow& main);
fw::Listbox& CharacteristicTable(const MainWindow& main);

// The 20 cell texts of a ten-row table, row by row: voltage, then current.
std::vector<std::string> CellTexts(const fw::Listbox& table);
// The 20 point texts of a diode row, as the characteristic table shows them.
std::vector<std::string> PointTextsOf(const std::string& diodeRow);
// Twenty empty texts: a table with no points.
std::vector<std::string> NoPoints();
// The rows of a pop-up menu.
std::vector<std::string> MenuRows(const fw::PopupMenu& menu);
// The name of a diode row.
std::string NameOf(const std::string& diodeRow);

} // namespace editor_test
