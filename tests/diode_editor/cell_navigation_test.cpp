// Editing the editor's table in place: clicks open cells, the arrows and Tab
// move the editing, no row stays selected, and a separator never gets in.

#include "tests/diode_editor/editor_driver.h"
#include "tests/support/kelvara_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

using namespace editor_test;
using testing_support::FocusedControl;
using testing_support::PressAndFollowTheFocus;
using testing_support::StartKelvara;

namespace {

class CellNavigation : public EditorTest {};

using Cell = std::pair<int, int>;

Cell EditedCell(const fw::Listbox& table) {
    return {table.EditRow(), table.EditColumn()};
}

// A new editor whose cells hold "r<row>c<column>", so that a selection shows
// which cell's text it covers.
VIwindow& EditorWithLabelledCells() {
    StartKelvara();
    VIwindow& editor = PressNew();
    fw::Listbox& table = EditorTable(editor);
    for (int row = 0; row < MainWindow::kDiodePoints; ++row) {
        for (int column = 0; column < 2; ++column) {
            table.SetCell(row, column, "r" + std::to_string(row) + "c" + std::to_string(column));
        }
    }
    return editor;
}

void PressKeyInCell(fw::Listbox& table, Qt::Key key) {
    QTest::keyClick(table.ActiveCell().NativeWidget(), key);
    testing_support::ProcessEvents();
}

// The opened cell shows its text in bold and selected from its start.
void ExpectOpenedForReplacing(fw::Listbox& table) {
    ASSERT_TRUE(table.IsEditing());
    fw::TextField& cellEditor = table.ActiveCell();
    const std::string text = table.Cell(table.EditRow(), table.EditColumn());
    EXPECT_TRUE(cellEditor.Bold());
    EXPECT_EQ(cellEditor.SelStart(), 0);
    EXPECT_EQ(cellEditor.SelText(), text.substr(0, 99));
}

// Outside the table Tab walks the controls: name, Save, Cancel, table. In an
// open cell it walks the cells in reading order, wrapping to the first; once
// the cell is closed it leaves the table again.
TEST_F(CellNavigation, TabWalksTheControlsAndWithinAnOpenCellEveryCell) {
    VIwindow& editor = EditorWithLabelledCells();
    fw::Listbox& table = EditorTable(editor);
    ASSERT_EQ(FocusedControl(editor), "EFNewDiode");
    EXPECT_EQ(PressAndFollowTheFocus(editor, Qt::Key_Tab, Qt::NoModifier, 4),
              (std::vector<std::string>{"SavePB", "CancelPB", "VIListbox", "EFNewDiode"}));
    EXPECT_EQ(PressAndFollowTheFocus(editor, Qt::Key_Backtab, Qt::ShiftModifier, 4),
              (std::vector<std::string>{"VIListbox", "CancelPB", "SavePB", "EFNewDiode"}));
    EXPECT_FALSE(table.IsEditing());

    ClickCell(table, 0, 0);
    ASSERT_EQ(EditedCell(table), Cell(0, 0));
    std::vector<Cell> visited;
    for (int press = 0; press < 20; ++press) {
        PressKeyInCell(table, Qt::Key_Tab);
        visited.push_back(EditedCell(table));
        ExpectOpenedForReplacing(table);
    }

    std::vector<Cell> expected;
    for (int row = 0; row < MainWindow::kDiodePoints; ++row) {
        if (row > 0) {
            expected.push_back({row, 0});
        }
        expected.push_back({row, 1});
    }
    expected.push_back({0, 0});
    EXPECT_EQ(visited, expected);
    // Moving the editing changes no text.
    EXPECT_EQ(table.Cell(9, 1), "r9c1");
    EXPECT_EQ(table.Cell(0, 0), "r0c0");

    PressKeyInCell(table, Qt::Key_Return);
    ASSERT_EQ(FocusedControl(editor), "VIListbox");
    EXPECT_EQ(PressAndFollowTheFocus(editor, Qt::Key_Tab, Qt::NoModifier, 2),
              (std::vector<std::string>{"EFNewDiode", "SavePB"}));
    EXPECT_EQ(table.ListIndex(), -1);
}

struct ArrowCase {
    const char* label;
    Cell from;
    Qt::Key key;
    Cell to;

    friend void PrintTo(const ArrowCase& c, std::ostream* os) { *os << c.label; }
};

class ArrowKeys : public EditorTestWithParam<ArrowCase> {};

TEST_P(ArrowKeys, MoveTheEditingAndStopAtTheEdges) {
    const ArrowCase& c = GetParam();
    VIwindow& editor = EditorWithLabelledCells();
    fw::Listbox& table = EditorTable(editor);
    ClickCell(table, c.from.first, c.from.second);
    ASSERT_EQ(EditedCell(table), c.from);

    PressKeyInCell(table, c.key);

    EXPECT_EQ(EditedCell(table), c.to);
    ASSERT_TRUE(table.IsEditing());
    if (c.to != c.from) {
        ExpectOpenedForReplacing(table);
    }
    // An arrow at the edge is left to the cell editor; no text changes.
    EXPECT_EQ(table.Cell(c.from.first, c.from.second),
              "r" + std::to_string(c.from.first) + "c" + std::to_string(c.from.second));
}

// clang-format off
const ArrowCase kArrowCases[] = {
    {"RightFromVoltage",     {4, 0}, Qt::Key_Right, {4, 1}},
    {"LeftFromCurrent",      {4, 1}, Qt::Key_Left,  {4, 0}},
    {"UpInTheMiddle",        {4, 1}, Qt::Key_Up,    {3, 1}},
    {"DownInTheMiddle",      {4, 0}, Qt::Key_Down,  {5, 0}},
    {"DownToTheLastRow",     {8, 1}, Qt::Key_Down,  {9, 1}},
    {"UpToTheFirstRow",      {1, 0}, Qt::Key_Up,    {0, 0}},
    {"RightStopsAtCurrent",  {4, 1}, Qt::Key_Right, {4, 1}},
    {"LeftStopsAtVoltage",   {4, 0}, Qt::Key_Left,  {4, 0}},
    {"UpStopsAtRow0",        {0, 1}, Qt::Key_Up,    {0, 1}},
    {"DownStopsAtRow9",      {9, 0}, Qt::Key_Down,  {9, 0}},
    {"DownStopsAtLastCell",  {9, 1}, Qt::Key_Down,  {9, 1}},
    {"UpStopsAtFirstCell",   {0, 0}, Qt::Key_Up,    {0, 0}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Table, ArrowKeys, testing::ValuesIn(kArrowCases),
                         [](const auto& info) { return std::string(info.param.label); });

// The first key typed into an opened cell replaces what the selection
// covers: the whole text, or its first 99 characters of a longer one.
struct ReplaceCase {
    const char* label;
    std::string before;
    std::string after;

    friend void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.label; }
};

class OpeningACell : public EditorTestWithParam<ReplaceCase> {};

TEST_P(OpeningACell, ShowsItBoldWithItsTextSelectedForReplacing) {
    const ReplaceCase& c = GetParam();
    StartKelvara();
    VIwindow& editor = PressNew();
    fw::Listbox& table = EditorTable(editor);
    table.SetCell(3, 1, c.before);

    ClickCell(table, 3, 1);

    ASSERT_EQ(EditedCell(table), Cell(3, 1));
    ExpectOpenedForReplacing(table);
    EXPECT_EQ(table.ActiveCell().SelLength(),
              static_cast<int>(std::min<size_t>(c.before.size(), 99)));
    Type(table.ActiveCell(), "7");
    EXPECT_EQ(table.Cell(3, 1), c.after);
}

const ReplaceCase kReplaceCases[] = {
    {"Empty", "", "7"},
    {"Number", "1.25", "7"},
    {"NinetyNineCharacters", std::string(99, 'x'), "7"},
    {"LongerThan99", std::string(99, 'x') + "tail", "7tail"},
};

INSTANTIATE_TEST_SUITE_P(Texts, OpeningACell, testing::ValuesIn(kReplaceCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(CellNavigation, NoRowStaysHighlightedAfterClicksAndMoves) {
    StartKelvara();
    VIwindow& editor = PressNew();
    fw::Listbox& table = EditorTable(editor);
    const std::vector<Cell> clicks = {{0, 0}, {4, 1}, {9, 1}, {9, 0}};
    for (const Cell& cell : clicks) {
        ClickCell(table, cell.first, cell.second);
        PressKeyInCell(table, Qt::Key_Up);
        for (int row = 0; row < table.ListCount(); ++row) {
            EXPECT_FALSE(table.Selected(row)) << "row " << row << " highlighted after a click on ("
                                              << cell.first << ", " << cell.second << ")";
        }
        EXPECT_EQ(table.ListIndex(), -1);
    }
}

// Keys that do not move the editing reach the cell editor unchanged.
struct OtherKeyCase {
    const char* label;
    Qt::Key key;
    bool stillEditing;
    const char* textAfter;

    friend void PrintTo(const OtherKeyCase& c, std::ostream* os) { *os << c.label; }
};

class KeysThatDoNotMove : public EditorTestWithParam<OtherKeyCase> {};

TEST_P(KeysThatDoNotMove, GoOnToTheCellEditor) {
    const OtherKeyCase& c = GetParam();
    StartKelvara();
    VIwindow& editor = PressNew();
    fw::Listbox& table = EditorTable(editor);
    table.SetCell(5, 0, "1.5");
    ClickCell(table, 5, 0);
    Type(table.ActiveCell(), "2");
    ASSERT_EQ(table.Cell(5, 0), "2");

    PressKeyInCell(table, c.key);

    EXPECT_EQ(table.IsEditing(), c.stillEditing);
    if (c.stillEditing) {
        EXPECT_EQ(EditedCell(table), Cell(5, 0));
    }
    EXPECT_EQ(table.Cell(5, 0), c.textAfter);
    // Neither Return nor Escape in a cell ends the edit of the diode.
    EXPECT_TRUE(editor.IsVisible());
}

// clang-format off
const OtherKeyCase kOtherKeyCases[] = {
    {"Digit",     Qt::Key_5,         true,  "25"},
    {"Backspace", Qt::Key_Backspace, true,  ""},
    {"Return",    Qt::Key_Return,    false, "2"},
    {"Escape",    Qt::Key_Escape,    false, "1.5"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Keys, KeysThatDoNotMove, testing::ValuesIn(kOtherKeyCases),
                         [](const auto& info) { return std::string(info.param.label); });

// A separator in the name or a point would split the saved diode row; typed
// separators are dropped and a paste that holds one is refused whole.
struct SeparatorCase {
    const char* label;
    bool intoCell;
    bool paste;
    const char* input;
    const char* textAfter;

    friend void PrintTo(const SeparatorCase& c, std::ostream* os) { *os << c.label; }
};

class FieldSeparator : public EditorTestWithParam<SeparatorCase> {};

TEST_P(FieldSeparator, NeverGetsIntoTheNameOrACell) {
    const SeparatorCase& c = GetParam();
    StartKelvara();
    VIwindow& editor = PressNew();
    fw::TextField* field = &NameField(editor);
    if (c.intoCell) {
        ClickCell(EditorTable(editor), 6, 1);
        field = &EditorTable(editor).ActiveCell();
    } else {
        EraseWithBackspace(*field);
    }

    if (c.paste) {
        QApplication::clipboard()->setText(QString::fromUtf8(c.input));
        QTest::keyClick(field->NativeWidget(), Qt::Key_V, Qt::ControlModifier);
    } else {
        Type(*field, c.input);
    }

    EXPECT_EQ(field->Text(), c.textAfter);
    if (c.intoCell) {
        EXPECT_EQ(EditorTable(editor).Cell(6, 1), c.textAfter);
    }
}

// clang-format off
const SeparatorCase kSeparatorCases[] = {
    {"TypedIntoName",        false, false, "1N,4001", "1N4001"},
    {"PastedIntoName",       false, true,  "1N,4001", ""},
    {"PasteWithoutIntoName", false, true,  "1N4001",  "1N4001"},
    {"TypedIntoCell",        true,  false, "1,5",     "15"},
    {"PastedIntoCell",       true,  true,  "1,5",     ""},
    {"PasteWithoutIntoCell", true,  true,  "1.5",     "1.5"},
    {"LineBreakPastedIntoName", false, true, "Evil\nX", "EvilX"},
    {"LineBreakPastedIntoCell", true,  true,  "0.55\r",  "0.55"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Inputs, FieldSeparator, testing::ValuesIn(kSeparatorCases),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
