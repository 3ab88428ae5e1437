// The list control: rows and headings from the design, rows fitted into the
// control's height, cells and selection, CellClick, and the in-place cell
// editor with its keys, all driven through the real table widget.

#include "framework/exceptions.h"
#include "framework/listbox.h"
#include "framework/push_button.h"
#include "framework/runtime.h"
#include "framework/text_field.h"
#include "framework/window.h"
#include "tests/support/designed_window.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using fw::ControlKind;
using kelvara_test::BoolValue;
using kelvara_test::ControlRow;
using kelvara_test::IntValue;
using kelvara_test::TextValue;

// The characteristic table of the design: two headings over 10 rows whose
// cells hold one blank each.
std::string TableOfBlanks() {
    std::string text = "Vf  @\tIf\r";
    for (int row = 0; row < 10; ++row) {
        text += " \t \r";
    }
    return text;
}

std::vector<fw::Property> ListValues(std::string initial, bool heading = true,
                                     std::int32_t columns = 2) {
    return {IntValue("ColumnCount", columns),
            BoolValue("HasHeading", heading),
            BoolValue("Border", true),
            TextValue("InitialValue", std::move(initial)),
            IntValue("GridLinesHorizontal", 3),
            IntValue("GridLinesVertical", 3),
            BoolValue("ScrollbarHorizontal", false),
            BoolValue("ScrollBarVertical", false)};
}

// A window like the diode editor: a name field, the table and its buttons,
// with the table's handlers set by each test.
class ListWindow : public kelvara_test::DesignedWindow {
public:
    explicit ListWindow(std::vector<fw::Property> listValues = ListValues(TableOfBlanks()),
                        int width = 114, int height = 189)
        : DesignedWindow({TextValue("Title", "Add New Diode"), IntValue("Width", 361),
                          IntValue("Height", 452)},
                         {{ControlKind::PushButton,
                           "SavePB",
                           fw::kNoIndex,
                           196,
                           412,
                           80,
                           20,
                           0,
                           {TextValue("Caption", "Save"), BoolValue("Default", true)}},
                          {ControlKind::PushButton,
                           "CancelPB",
                           fw::kNoIndex,
                           85,
                           412,
                           80,
                           20,
                           1,
                           {TextValue("Caption", "Cancel"), BoolValue("Cancel", true)}},
                          {ControlKind::Listbox, "VIListbox", fw::kNoIndex, 125, 182, width, height,
                           2, std::move(listValues)},
                          {ControlKind::TextField,
                           "EFNewDiode",
                           fw::kNoIndex,
                           125,
                           145,
                           114,
                           22,
                           3,
                           {TextValue("Text", "New")}}}) {
        InstallEventHandler("Open", fw::Delegate(this, &ListWindow::Bind));
    }

    fw::Listbox& List() { return fw::ControlByName<fw::Listbox>(*this, "VIListbox"); }
    QTableWidget& Table() { return *qobject_cast<QTableWidget*>(List().NativeWidget()); }
    QWidget* Field() { return FindControl("EFNewDiode")->NativeWidget(); }
    QWidget* ActiveEditor() { return List().ActiveCell().NativeWidget(); }

    // Where a cell lies in the table's viewport, and its middle.
    QRect CellRect(int row, int column) {
        return Table().visualRect(Table().model()->index(row, column));
    }
    void ClickCell(int row, int column, QPoint within = QPoint(5, 5)) {
        QTest::mouseClick(Table().viewport(), Qt::LeftButton, {},
                          CellRect(row, column).topLeft() + within);
    }

    std::function<bool(int, int, int, int)> onCellClick;
    std::function<bool(int, int, const std::string&)> onCellKeyDown;
    std::function<void()> onChange;
    std::vector<std::vector<int>> clicks;
    std::vector<std::string> keys;
    std::vector<std::string> pressed;
    int changes = 0;

private:
    void Bind() {
        List().InstallEventHandler("CellClick", fw::Delegate(this, &ListWindow::CellClick));
        List().InstallEventHandler("CellKeyDown", fw::Delegate(this, &ListWindow::CellKeyDown));
        List().InstallEventHandler("Change", fw::Delegate(this, &ListWindow::Change));
        for (const char* name : {"SavePB", "CancelPB"}) {
            FindControl(name)->InstallEventHandler("Action",
                                                   fw::PlainHandler([this](fw::Control* sender) {
                                                       pressed.push_back(sender->Name());
                                                   }));
        }
    }
    bool CellClick(int row, int column, int x, int y) {
        clicks.push_back({row, column, x, y});
        return onCellClick ? onCellClick(row, column, x, y) : false;
    }
    bool CellKeyDown(int row, int column, const std::string& key) {
        keys.push_back(key);
        return onCellKeyDown ? onCellKeyDown(row, column, key) : false;
    }
    void Change() {
        ++changes;
        if (onChange) {
            onChange();
        }
    }
};

std::vector<std::vector<std::string>> CellsOf(fw::Listbox& list) {
    std::vector<std::vector<std::string>> cells;
    for (int row = 0; row < list.ListCount(); ++row) {
        cells.emplace_back();
        for (int column = 0; column < list.ColumnCount(); ++column) {
            cells.back().push_back(list.Cell(row, column));
        }
    }
    return cells;
}

struct RowsCase {
    const char* label;
    std::vector<fw::Property> values;
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> cells;
};

void PrintTo(const RowsCase& row, std::ostream* out) {
    *out << row.label;
}

class ListRowsTest : public testing::TestWithParam<RowsCase> {};

TEST_P(ListRowsTest, InitialValueGivesHeadingsAndRows) {
    const RowsCase& row = GetParam();
    ListWindow window(row.values);
    window.Construct();
    fw::Listbox& list = window.List();

    std::vector<std::string> headings;
    for (int column = 0; column < list.ColumnCount(); ++column) {
        headings.push_back(list.Heading(column));
    }
    EXPECT_EQ(headings, row.headings);
    EXPECT_EQ(CellsOf(list), row.cells);
    EXPECT_EQ(window.Table().horizontalHeader()->isHidden(),
              !list.DesignValue("HasHeading") || !std::get<bool>(*list.DesignValue("HasHeading")));
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(window.changes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Designs, ListRowsTest,
    testing::Values(RowsCase{"characteristic_table",
                             ListValues(TableOfBlanks()),
                             {"Vf  @", "If"},
                             std::vector<std::vector<std::string>>(10, {" ", " "})},
                    RowsCase{"without_heading_the_first_line_is_a_row",
                             ListValues("a\tb\rc\td\r", /*heading=*/false),
                             {"", ""},
                             {{"a", "b"}, {"c", "d"}}},
                    RowsCase{"line_feeds_and_no_final_line_end",
                             ListValues("V\tI\r\n.5\t0\n.7\t.01"),
                             {"V", "I"},
                             {{".5", "0"}, {".7", ".01"}}},
                    RowsCase{"cells_beyond_the_columns_are_dropped",
                             ListValues("V\tI\tX\r1\t2\t3\r"),
                             {"V", "I"},
                             {{"1", "2"}}},
                    RowsCase{"missing_cells_are_empty",
                             ListValues("V\r1\r\t2\r"),
                             {"V", ""},
                             {{"1", ""}, {"", "2"}}},
                    RowsCase{"empty_lines_are_empty_rows",
                             ListValues("V\tI\r\r\r"),
                             {"V", "I"},
                             {{"", ""}, {"", ""}}},
                    RowsCase{"three_columns",
                             ListValues("a\tb\tc\r1\t2\t3\r", true, 3),
                             {"a", "b", "c"},
                             {{"1", "2", "3"}}},
                    RowsCase{"heading_only", ListValues("V\tI\r"), {"V", "I"}, {}},
                    RowsCase{"nothing", ListValues(""), {"", ""}, {}}));

struct FitCase {
    const char* label;
    std::vector<fw::Property> values;
    int width;
    int height;
    int rows;
};

void PrintTo(const FitCase& row, std::ostream* out) {
    *out << row.label;
}

class ListFitTest : public testing::TestWithParam<FitCase> {};

TEST_P(ListFitTest, EveryRowShowsWithinTheControlWithoutScrollBars) {
    const FitCase& row = GetParam();
    ListWindow window(row.values, row.width, row.height);
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    QTableWidget& table = window.Table();
    ASSERT_EQ(table.rowCount(), row.rows);

    EXPECT_FALSE(table.verticalScrollBar()->isVisible());
    EXPECT_FALSE(table.horizontalScrollBar()->isVisible());
    const QRect viewport = table.viewport()->rect();
    for (int r = 0; r < row.rows; ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            EXPECT_TRUE(viewport.contains(window.CellRect(r, c))) << r << "," << c;
        }
    }
    // The rows take the whole height but for less than one row's worth.
    const int header =
        table.horizontalHeader()->isHidden() ? 0 : table.horizontalHeader()->height();
    const int used = header + row.rows * table.rowHeight(0);
    EXPECT_LE(used, table.contentsRect().height());
    EXPECT_GT(used + table.rowHeight(0), table.contentsRect().height());
    // The text of a row fits its height, and the columns fill the width.
    EXPECT_LE(QFontMetrics(table.font()).height(), table.rowHeight(0));
    int columns = 0;
    for (int c = 0; c < table.columnCount(); ++c) {
        columns += table.columnWidth(c);
    }
    EXPECT_EQ(columns, viewport.width());
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ListFitTest,
    testing::Values(FitCase{"characteristic_table", ListValues(TableOfBlanks()), 114, 189, 10},
                    FitCase{"without_heading", ListValues("1\t2\r3\t4\r5\t6\r", false), 114, 60, 3},
                    FitCase{"without_border",
                            [] {
                                auto values = ListValues(TableOfBlanks());
                                values.push_back(BoolValue("Border", false));
                                return values;
                            }(),
                            114, 189, 10},
                    FitCase{"tall_list_of_three", ListValues("a\tb\r1\t2\r3\t4\r5\t6\r"), 200, 200,
                            3}));

struct BoundsCase {
    const char* label;
    std::function<void(fw::Listbox&)> act;
};

void PrintTo(const BoundsCase& row, std::ostream* out) {
    *out << row.label;
}

class ListBoundsTest : public testing::TestWithParam<BoundsCase> {};

TEST_P(ListBoundsTest, CellOutsideTheTableThrows) {
    ListWindow window;
    window.Construct();
    EXPECT_THROW(GetParam().act(window.List()), fw::OutOfBoundsException);
    EXPECT_EQ(CellsOf(window.List()), std::vector<std::vector<std::string>>(10, {" ", " "}));
    EXPECT_FALSE(window.List().IsEditing());
}

INSTANTIATE_TEST_SUITE_P(
    Cells, ListBoundsTest,
    testing::Values(
        BoundsCase{"row_past_the_end", [](fw::Listbox& l) { l.Cell(10, 0); }},
        BoundsCase{"negative_row", [](fw::Listbox& l) { l.Cell(-1, 0); }},
        BoundsCase{"column_past_the_end", [](fw::Listbox& l) { l.Cell(0, 2); }},
        BoundsCase{"set_negative_column", [](fw::Listbox& l) { l.SetCell(0, -1, "x"); }},
        BoundsCase{"set_row_past_the_end", [](fw::Listbox& l) { l.SetCell(10, 1, "x"); }},
        BoundsCase{"heading_past_the_end", [](fw::Listbox& l) { l.Heading(2); }},
        BoundsCase{"edit_outside", [](fw::Listbox& l) { l.EditCell(0, 5); }},
        BoundsCase{"select_past_the_end", [](fw::Listbox& l) { l.SetListIndex(10); }},
        BoundsCase{"selected_of_negative_row", [](fw::Listbox& l) { l.Selected(-1); }},
        BoundsCase{"deselect_past_the_end", [](fw::Listbox& l) { l.SetSelected(10, false); }}));

TEST(ListboxTest, CellsHoldWhatIsWritten) {
    ListWindow window;
    window.Construct();
    fw::Listbox& list = window.List();
    list.SetCell(0, 0, ".5");
    list.SetCell(9, 1, "1.5e-3");
    list.SetCell(4, 0, "");
    EXPECT_EQ(list.Cell(0, 0), ".5");
    EXPECT_EQ(list.Cell(9, 1), "1.5e-3");
    EXPECT_EQ(list.Cell(4, 0), "");
    EXPECT_EQ(window.Table().item(9, 1)->text(), QStringLiteral("1.5e-3"));
    EXPECT_EQ(window.changes, 0);
}

struct SelectionCase {
    const char* label;
    std::function<void(fw::Listbox&)> act;
    int listIndex;
    int changes;
};

void PrintTo(const SelectionCase& row, std::ostream* out) {
    *out << row.label;
}

class ListSelectionTest : public testing::TestWithParam<SelectionCase> {};

TEST_P(ListSelectionTest, SingleSelectionAndChange) {
    const SelectionCase& row = GetParam();
    ListWindow window;
    window.Construct();
    fw::Listbox& list = window.List();
    row.act(list);
    EXPECT_EQ(list.ListIndex(), row.listIndex);
    for (int r = 0; r < list.ListCount(); ++r) {
        EXPECT_EQ(list.Selected(r), r == row.listIndex) << r;
    }
    EXPECT_EQ(window.changes, row.changes);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, ListSelectionTest,
    testing::Values(SelectionCase{"select_a_row", [](fw::Listbox& l) { l.SetListIndex(3); }, 3, 1},
                    SelectionCase{"select_another",
                                  [](fw::Listbox& l) {
                                      l.SetListIndex(3);
                                      l.SetListIndex(5);
                                  },
                                  5, 2},
                    SelectionCase{"select_the_same_row_again",
                                  [](fw::Listbox& l) {
                                      l.SetListIndex(3);
                                      l.SetListIndex(3);
                                  },
                                  3, 1},
                    SelectionCase{"select_none",
                                  [](fw::Listbox& l) {
                                      l.SetListIndex(3);
                                      l.SetListIndex(-1);
                                  },
                                  -1, 2},
                    SelectionCase{"selected_replaces_the_selection",
                                  [](fw::Listbox& l) {
                                      l.SetSelected(2, true);
                                      l.SetSelected(7, true);
                                  },
                                  7, 2},
                    SelectionCase{"deselect_the_selected_row",
                                  [](fw::Listbox& l) {
                                      l.SetSelected(2, true);
                                      l.SetSelected(2, false);
                                  },
                                  -1, 2},
                    SelectionCase{"deselect_an_unselected_row",
                                  [](fw::Listbox& l) {
                                      l.SetSelected(2, true);
                                      l.SetSelected(4, false);
                                  },
                                  2, 1},
                    SelectionCase{"nothing_selected", [](fw::Listbox&) {}, -1, 0}));

TEST(ListboxTest, ConsumedCellClickChangesNothing) {
    ListWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    window.onCellClick = [](int, int, int, int) { return true; };
    window.Field()->setFocus();

    window.ClickCell(3, 1, QPoint(7, 4));
    QTest::mouseDClick(window.Table().viewport(), Qt::LeftButton, {},
                       window.CellRect(5, 0).center());

    ASSERT_EQ(window.clicks.size(), 2u); // a double click on its own is a press too
    EXPECT_EQ(window.clicks[0], (std::vector<int>{3, 1, 7, 4}));
    EXPECT_EQ(window.clicks[1][0], 5);
    EXPECT_EQ(window.List().ListIndex(), -1);
    EXPECT_EQ(window.changes, 0);
    EXPECT_FALSE(window.List().IsEditing());
    EXPECT_EQ(kelvara_test::FocusedWidget(window), window.Field());
}

TEST(ListboxTest, CellClickNotConsumedSelectsTheRowAndFocusesTheList) {
    ListWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    window.Field()->setFocus();

    window.ClickCell(6, 0, QPoint(2, 3));

    ASSERT_EQ(window.clicks.size(), 1u);
    EXPECT_EQ(window.clicks[0], (std::vector<int>{6, 0, 2, 3}));
    EXPECT_EQ(window.List().ListIndex(), 6);
    EXPECT_EQ(window.changes, 1);
    EXPECT_TRUE(window.List().HasFocus());
}

TEST(ListboxTest, FailingCellClickIsReportedAndCountsAsNotConsumed) {
    ListWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    window.onCellClick = [](int, int, int, int) -> bool { throw std::runtime_error("click"); };
    const int before = fw::UnhandledExceptionCount();
    window.ClickCell(2, 1);
    EXPECT_EQ(fw::UnhandledExceptionCount(), before + 1);
    EXPECT_EQ(window.List().ListIndex(), 2);
}

TEST(ListboxTest, ClickBesideTheCellsRaisesNothing) {
    auto values = ListValues(TableOfBlanks());
    values.push_back(TextValue("ColumnWidths", "40,40"));
    ListWindow window(values);
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    window.List().SetListIndex(1);
    window.changes = 0;

    QTest::mouseClick(window.Table().viewport(), Qt::LeftButton, {},
                      QPoint(100, window.CellRect(4, 0).center().y()));

    EXPECT_TRUE(window.clicks.empty());
    EXPECT_EQ(window.List().ListIndex(), 1);
    EXPECT_EQ(window.changes, 0);
    EXPECT_EQ(window.Table().columnWidth(0), 40);
}

TEST(ListboxTest, ActiveCellExistsOnlyWhileACellIsEdited) {
    ListWindow window;
    window.Construct();
    fw::Listbox& list = window.List();
    EXPECT_THROW(list.ActiveCell(), fw::NilObjectException);
    EXPECT_EQ(list.EditRow(), -1);
    EXPECT_EQ(list.EditColumn(), -1);

    list.EditCell(2, 1);
    EXPECT_TRUE(list.IsEditing());
    EXPECT_EQ(list.EditRow(), 2);
    EXPECT_EQ(list.EditColumn(), 1);
    EXPECT_NO_THROW(list.ActiveCell());
    // The editor belongs to the list, not to the window's controls.
    EXPECT_EQ(window.Controls().size(), 4u);

    window.Field()->setFocus();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    list.EditCell(2, 1);
    QTest::keyClick(window.ActiveEditor(), Qt::Key_Return);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_THROW(list.ActiveCell(), fw::NilObjectException);
}

// Opens a cell the way the diode editor does: bold, and its first 99
// characters selected so that typing replaces the value.
void OpenCell(fw::Listbox& list, int row, int column) {
    list.EditCell(row, column);
    list.ActiveCell().SetBold(true);
    list.ActiveCell().SetSelStart(0);
    list.ActiveCell().SetSelLength(99);
}

TEST(ListboxTest, EditorOpensOverTheCellWithItsTextAndTheFocus) {
    ListWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    fw::Listbox& list = window.List();
    list.SetCell(4, 1, ".025");

    OpenCell(list, 4, 1);

    fw::TextField& editor = list.ActiveCell();
    EXPECT_EQ(editor.Text(), ".025");
    EXPECT_TRUE(editor.Bold());
    EXPECT_TRUE(editor.NativeWidget()->font().bold());
    EXPECT_EQ(editor.SelText(), ".025");
    EXPECT_EQ(editor.NativeWidget()->parentWidget(), window.Table().viewport());
    EXPECT_EQ(editor.NativeWidget()->geometry(), window.CellRect(4, 1));
    EXPECT_TRUE(editor.NativeWidget()->isVisible());
    EXPECT_EQ(kelvara_test::FocusedWidget(window), editor.NativeWidget());

    const std::string longText(120, '7');
    list.SetCell(5, 0, longText);
    OpenCell(list, 5, 0);
    EXPECT_EQ(list.ActiveCell().SelLength(), 99);
}

TEST(ListboxTest, TypingWritesTheCellAtOnceAndReturnKeepsIt) {
    ListWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    fw::Listbox& list = window.List();
    list.SetCell(0, 0, "old");
    OpenCell(list, 0, 0);

    QTest::keyClicks(window.ActiveEditor(), ".65");
    EXPECT_EQ(list.Cell(0, 0), ".65");
    QTest::keyClick(window.ActiveEditor(), Qt::Key_Backspace);
    EXPECT_EQ(list.Cell(0, 0), ".6");

    QWidget* editor = window.ActiveEditor();
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(list.Cell(0, 0), ".6");
    EXPECT_TRUE(window.pressed.empty()); // Return did not press Save
    EXPECT_TRUE(list.HasFocus());
}

TEST(ListboxTest, EscapeRestoresTheTextFromWhenTheCellWasOpened) {
    ListWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    fw::Listbox& list = window.List();
    list.SetCell(1, 0, "first");
    list.SetCell(1, 1, "second");

    OpenCell(list, 1, 0);
    QTest::keyClicks(window.ActiveEditor(), "typed");
    OpenCell(list, 1, 1); // the first cell keeps what was typed
    QTest::keyClicks(window.ActiveEditor(), "other");
    EXPECT_EQ(list.Cell(1, 1), "other");
    QTest::keyClick(window.ActiveEditor(), Qt::Key_Escape);

    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(list.Cell(1, 0), "typed");
    EXPECT_EQ(list.Cell(1, 1), "second");
    EXPECT_TRUE(window.pressed.empty()); // Escape did not press Cancel
}

TEST(ListboxTest, FocusLeavingTheEditorClosesItAndKeepsTheText) {
    ListWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    fw::Listbox& list = window.List();
    OpenCell(list, 7, 1);
    QTest::keyClicks(window.ActiveEditor(), "0.3");

    QTest::mouseClick(window.Field(), Qt::LeftButton);

    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(list.Cell(7, 1), "0.3");
    EXPECT_EQ(kelvara_test::FocusedWidget(window), window.Field());
}

TEST(ListboxTest, CellWrittenWhileEditedShowsInTheEditor) {
    ListWindow window;
    window.Construct();
    fw::Listbox& list = window.List();
    OpenCell(list, 3, 0);
    list.SetCell(3, 0, "from code");
    EXPECT_EQ(list.ActiveCell().Text(), "from code");
    list.SetCell(3, 1, "neighbour");
    EXPECT_EQ(list.ActiveCell().Text(), "from code");
}

struct KeyCase {
    const char* label;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    std::string text; // what CellKeyDown receives; empty: not raised
    bool consume;     // the handler's answer
    bool editing;     // still editing afterwards
    std::string cell; // the cell afterwards, opened on "ab" with all selected
};

void PrintTo(const KeyCase& row, std::ostream* out) {
    *out << row.label;
}

class CellKeyTest : public testing::TestWithParam<KeyCase> {};

TEST_P(CellKeyTest, KeysGoToCellKeyDownFirst) {
    const KeyCase& row = GetParam();
    ListWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    fw::Listbox& list = window.List();
    list.SetCell(2, 0, "ab");
    OpenCell(list, 2, 0);
    window.onCellKeyDown = [&](int r, int c, const std::string&) {
        EXPECT_EQ(r, 2);
        EXPECT_EQ(c, 0);
        return row.consume;
    };

    QTest::keyClick(window.ActiveEditor(), row.key, row.modifiers);

    if (row.text.empty()) {
        EXPECT_TRUE(window.keys.empty());
    } else {
        EXPECT_EQ(window.keys, std::vector<std::string>{row.text});
    }
    EXPECT_EQ(list.IsEditing(), row.editing);
    EXPECT_EQ(list.Cell(2, 0), row.cell);
    EXPECT_TRUE(window.pressed.empty());
    if (row.editing) {
        EXPECT_EQ(kelvara_test::FocusedWidget(window), window.ActiveEditor());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CellKeyTest,
    testing::Values(
        KeyCase{"tab", Qt::Key_Tab, {}, "\t", false, true, "ab"},
        KeyCase{"shift_tab", Qt::Key_Backtab, Qt::ShiftModifier, "\t", false, true, "ab"},
        KeyCase{"return", Qt::Key_Return, {}, "\r", false, false, "ab"},
        KeyCase{"enter", Qt::Key_Enter, {}, "\r", false, false, "ab"},
        KeyCase{"escape", Qt::Key_Escape, {}, "\x1b", false, false, "ab"},
        KeyCase{"left", Qt::Key_Left, {}, "\x1c", false, true, "ab"},
        KeyCase{"right", Qt::Key_Right, {}, "\x1d", false, true, "ab"},
        KeyCase{"up", Qt::Key_Up, {}, "\x1e", false, true, "ab"},
        KeyCase{"down", Qt::Key_Down, {}, "\x1f", false, true, "ab"},
        KeyCase{"backspace", Qt::Key_Backspace, {}, "\b", false, true, ""},
        KeyCase{"delete", Qt::Key_Delete, {}, "\x7f", false, true, ""},
        KeyCase{"letter", Qt::Key_X, {}, "x", false, true, "x"},
        KeyCase{"digit", Qt::Key_5, {}, "5", false, true, "5"},
        KeyCase{"comma", Qt::Key_Comma, {}, ",", false, true, ","},
        KeyCase{"consumed_letter", Qt::Key_X, {}, "x", true, true, "ab"},
        KeyCase{"consumed_return", Qt::Key_Return, {}, "\r", true, true, "ab"},
        KeyCase{"consumed_escape", Qt::Key_Escape, {}, "\x1b", true, true, "ab"},
        KeyCase{"consumed_backspace", Qt::Key_Backspace, {}, "\b", true, true, "ab"},
        KeyCase{"shortcut_is_not_raised", Qt::Key_A, Qt::ControlModifier, "", false, true, "ab"},
        KeyCase{"modifier_alone_is_not_raised", Qt::Key_Shift, {}, "", false, true, "ab"}));

// The diode editor's navigation: arrows and Tab move the editing from cell
// to cell within 10 rows and 2 columns.
bool Navigate(fw::Listbox& list, int row, int column, const std::string& key) {
    struct Move {
        char key;
        bool when;
        int row;
        int column;
    };
    const Move moves[] = {
        {'\x1c', column == 1, row, 0},         {'\x1d', column == 0, row, 1},
        {'\x1e', row > 0, row - 1, column},    {'\x1f', row < 9, row + 1, column},
        {'\t', column == 0, row, 1},           {'\t', column != 0 && row < 9, row + 1, 0},
        {'\t', column != 0 && row == 9, 0, 0},
    };
    for (const Move& move : moves) {
        if (!key.empty() && key[0] == move.key && move.when) {
            OpenCell(list, move.row, move.column);
            return true;
        }
    }
    return false;
}

TEST(ListboxTest, KeyHandlerCanMoveTheEditingFromCellToCell) {
    ListWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    fw::Listbox& list = window.List();
    window.onCellKeyDown = [&](int r, int c, const std::string& key) {
        return Navigate(list, r, c, key);
    };
    OpenCell(list, 0, 0);

    std::vector<std::pair<int, int>> visited;
    for (int step = 0; step < 20; ++step) {
        QTest::keyClick(window.ActiveEditor(), Qt::Key_Tab);
        visited.emplace_back(list.EditRow(), list.EditColumn());
    }
    EXPECT_EQ(visited.front(), std::make_pair(0, 1));
    EXPECT_EQ(visited[1], std::make_pair(1, 0));
    EXPECT_EQ(visited[18], std::make_pair(9, 1));
    EXPECT_EQ(visited.back(), std::make_pair(0, 0));

    // Typing into each opened cell replaces its value.
    QTest::keyClick(window.ActiveEditor(), Qt::Key_Down);
    QTest::keyClicks(window.ActiveEditor(), ".7");
    QTest::keyClick(window.ActiveEditor(), Qt::Key_Right);
    QTest::keyClicks(window.ActiveEditor(), ".01");
    EXPECT_EQ(list.Cell(1, 0), ".7");
    EXPECT_EQ(list.Cell(1, 1), ".01");
    EXPECT_TRUE(list.ActiveCell().Bold());

    // At an edge the arrow is not handled and the editing stays.
    QTest::keyClick(window.ActiveEditor(), Qt::Key_Right);
    EXPECT_EQ(std::make_pair(list.EditRow(), list.EditColumn()), std::make_pair(1, 1));
}

TEST(ListboxTest, ClickThatOpensACellKeepsTheEditorAndChangeCanClearTheRow) {
    ListWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    fw::Listbox& list = window.List();
    list.SetCell(8, 1, "0.5");
    window.onCellClick = [&](int row, int column, int, int) {
        OpenCell(list, row, column);
        return false;
    };
    window.onChange = [&] {
        for (int row = 0; row < list.ListCount(); ++row) {
            list.SetSelected(row, false);
        }
    };
    window.Field()->setFocus();

    window.ClickCell(8, 1);

    EXPECT_TRUE(list.IsEditing());
    EXPECT_EQ(list.EditRow(), 8);
    EXPECT_EQ(list.ActiveCell().SelText(), "0.5");
    EXPECT_EQ(kelvara_test::FocusedWidget(window), window.ActiveEditor());
    EXPECT_GE(window.changes, 1);
    EXPECT_EQ(list.ListIndex(), -1);

    QTest::keyClicks(window.ActiveEditor(), "2");
    EXPECT_EQ(list.Cell(8, 1), "2");
}

} // namespace
