// Opening the diode editor from the main window's buttons, and what every
// activation prepares by the editor's mode.

#include "tests/diode_editor/editor_driver.h"
#include "tests/support/kelvara_fixture.h"

#include "framework/application.h"
#include "framework/static_text.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace editor_test;
using testing_support::StartKelvara;

namespace {

class EditorOpening : public EditorTest {};

// The built-in diodes' points, row by row, as the editor shows them.
const std::vector<std::string> k1N4004Points = {".5",  "0",   ".7",  ".01",  ".8",  ".12", ".9",
                                                ".7",  "1",   "2",   "1.1",  "3.2", "1.2", "5.2",
                                                "1.3", "7.3", "1.4", "10.5", "",    ""};
const std::vector<std::string> k1N4148Points = {".5",   "0",   ".6",   ".001", ".7",  ".008", ".75",
                                                ".018", ".8",  ".032", ".9",   ".08", "1",    ".14",
                                                "1.1",  ".21", "1.2",  ".3",   "",    ""};
const std::vector<std::string> kSS2H9Points = {".3",  "0",  ".4",  ".01", ".5",  ".105", ".6",
                                               ".58", ".7", "2",   ".8",  "4.8", ".9",   "10",
                                               "1",   "18", "1.1", "27",  "1.2", "35"};

TEST_F(EditorOpening, FirstNewShowsAnEmptyTableWithTheNameNewSelected) {
    MainWindow& main = StartKelvara();
    const int beepsBefore = fw::BeepCount();
    const std::vector<std::string> libraryBefore = main.Prefs;

    VIwindow& editor = PressNew();

    EXPECT_EQ(editor.Title(), "Add New Diode");
    EXPECT_EQ(editor.Width(), 361);
    EXPECT_EQ(editor.Height(), 452);
    EXPECT_TRUE(editor.IsVisible());
    EXPECT_EQ(editor.Action, "New");
    EXPECT_EQ(CellTexts(EditorTable(editor)), NoPoints());
    EXPECT_EQ(NameField(editor).Text(), "New");
    EXPECT_EQ(NameField(editor).SelText(), "New");
    EXPECT_TRUE(NameField(editor).HasFocus());
    // The activation that followed the click saw the mode the click set.
    EXPECT_EQ(fw::BeepCount(), beepsBefore);
    // Opening changes nothing in the main window.
    EXPECT_EQ(main.Prefs, libraryBefore);
    EXPECT_TRUE(main.IsVisible());
}

TEST_F(EditorOpening, TheWindowShowsItsInstructionsAndKeepsItsControlsWhenResized) {
    StartKelvara();
    VIwindow& editor = PressNew();
    const Qt::WindowFlags flags = editor.NativeWidget()->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_NE(editor.NativeWidget()->minimumSize(), editor.NativeWidget()->maximumSize());
    const auto& instructions = fw::ControlByName<fw::StaticText>(editor, "StaticText1");
    EXPECT_EQ(instructions.Text(),
              "Enter a new diode type in the field below. Then enter the voltage-current "
              "characteristics for this diode (from the diode datasheet). You may input up to 10 "
              "V-I points. Deleting a diode's name from the field below will remove it from the "
              "list of diodes.");

    editor.NativeWidget()->resize(500, 600);
    testing_support::ProcessEvents();
    const fw::Listbox& table = EditorTable(editor);
    EXPECT_EQ(table.Left(), 125);
    EXPECT_EQ(table.Top(), 182);
    EXPECT_EQ(NameField(editor).Left(), 125);
    EXPECT_EQ(NameField(editor).Top(), 145);
}

struct EditCase {
    const char* label;
    int chosenDiode;
    const char* name;
    std::vector<std::string> points;

    friend void PrintTo(const EditCase& c, std::ostream* os) { *os << c.label; }
};

class EditOpensTheChosenDiode : public EditorTestWithParam<EditCase> {};

TEST_P(EditOpensTheChosenDiode, WithTheInsertionPointAfterItsName) {
    const EditCase& c = GetParam();
    MainWindow& main = StartKelvara();
    DiodeMenu(main).SetListIndex(c.chosenDiode);

    VIwindow& editor = PressEdit();

    EXPECT_EQ(editor.Action, "Edit");
    EXPECT_EQ(NameField(editor).Text(), c.name);
    EXPECT_EQ(NameField(editor).SelStart(), static_cast<int>(std::string(c.name).size()));
    EXPECT_EQ(NameField(editor).SelLength(), 0);
    EXPECT_TRUE(NameField(editor).HasFocus());
    EXPECT_EQ(CellTexts(EditorTable(editor)), c.points);
}

// clang-format off
const EditCase kEditCases[] = {
    {"NinePoints_1N4004",  0, "1N4004",      k1N4004Points},
    {"NinePoints_1N4148",  1, "1N4148",      k1N4148Points},
    {"TenPoints_SS2H9",    2, "SS2H9 (Sch)", kSS2H9Points},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(BuiltInDiodes, EditOpensTheChosenDiode, testing::ValuesIn(kEditCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Whatever was typed and not saved is discarded when the user switches to
// the main window and back: the editor prepares itself again by its mode.
struct SwitchCase {
    const char* label;
    VIwindow& (*open)();
    const char* name;
    std::vector<std::string> points;

    friend void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.label; }
};

class SwitchingAwayAndBack : public EditorTestWithParam<SwitchCase> {};

TEST_P(SwitchingAwayAndBack, PreparesTheEditorAgainByItsMode) {
    const SwitchCase& c = GetParam();
    MainWindow& main = StartKelvara();
    VIwindow& editor = c.open();
    TypeName(editor, "Typed");
    TypeIntoCell(editor, 2, 1, "4.5");
    TypeIntoCell(editor, 9, 0, "7");
    ASSERT_EQ(NameField(editor).Text(), "Typed");
    ASSERT_EQ(EditorTable(editor).Cell(2, 1), "4.5");

    ActivateAndWait(main);
    EXPECT_FALSE(editor.IsActive());
    ActivateAndWait(editor);

    EXPECT_EQ(NameField(editor).Text(), c.name);
    EXPECT_EQ(CellTexts(EditorTable(editor)), c.points);
    EXPECT_TRUE(NameField(editor).HasFocus());
    EXPECT_EQ(editor.Title(), "Add New Diode");
}

const SwitchCase kSwitchCases[] = {
    {"New", PressNew, "New", NoPoints()},
    {"Edit", PressEdit, "1N4004", k1N4004Points},
};

INSTANTIATE_TEST_SUITE_P(Modes, SwitchingAwayAndBack, testing::ValuesIn(kSwitchCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(EditorOpening, NewWhileEditIsOpenSwitchesToTheNewPreparation) {
    StartKelvara();
    VIwindow& edited = PressEdit();
    ASSERT_EQ(NameField(edited).Text(), "1N4004");

    VIwindow& editor = PressNew();

    EXPECT_EQ(&editor, &edited);
    EXPECT_EQ(NameField(editor).Text(), "New");
    EXPECT_EQ(CellTexts(EditorTable(editor)), NoPoints());
    EXPECT_EQ(editor.Title(), "Add New Diode");
}

TEST_F(EditorOpening, ADiodeChosenMeanwhileIsTheOneTheNextActivationShows) {
    MainWindow& main = StartKelvara();
    VIwindow& editor = PressEdit();
    ASSERT_EQ(NameField(editor).Text(), "1N4004");

    ActivateAndWait(main);
    DiodeMenu(main).SetListIndex(2);
    ActivateAndWait(editor);

    EXPECT_EQ(NameField(editor).Text(), "SS2H9 (Sch)");
    EXPECT_EQ(CellTexts(EditorTable(editor)), kSS2H9Points);
}

TEST_F(EditorOpening, CancelThenEditShowsTheSameEditorFilledFromTheMainWindow) {
    StartKelvara();
    VIwindow& first = PressNew();
    TypeName(first, "Draft");
    ClickButton(first, "CancelPB");
    EXPECT_FALSE(first.IsVisible());

    VIwindow& again = PressEdit();

    EXPECT_EQ(&again, &first);
    EXPECT_TRUE(again.IsVisible());
    EXPECT_EQ(NameField(again).Text(), "1N4004");
    EXPECT_EQ(CellTexts(EditorTable(again)), k1N4004Points);
}

TEST_F(EditorOpening, AClosedEditorIsBuiltAgainFromItsDesignOnTheNextNew) {
    StartKelvara();
    VIwindow& first = PressNew();
    first.SetTitle("Changed");
    first.NativeWidget()->resize(200, 150);
    first.Close();
    testing_support::ProcessEvents();
    ASSERT_EQ(fw::LiveInstance<VIwindow>(), nullptr);

    VIwindow& rebuilt = PressNew();

    EXPECT_EQ(rebuilt.Title(), "Add New Diode");
    EXPECT_EQ(rebuilt.Width(), 361);
    EXPECT_EQ(rebuilt.Height(), 452);
    EXPECT_EQ(rebuilt.Action, "New");
    EXPECT_EQ(NameField(rebuilt).Text(), "New");
    EXPECT_EQ(CellTexts(EditorTable(rebuilt)), NoPoints());
}

// An editor that no button opened has no mode: its activation only beeps,
// leaving the design's texts, and "Save" only hides it.
TEST_F(EditorOpening, AnEditorWithoutAModeBeepsAndItsSaveChangesNothing) {
    MainWindow& main = StartKelvara();
    const std::vector<std::string> libraryBefore = main.Prefs;
    const int beepsBefore = fw::BeepCount();

    VIwindow& editor = VIwindow::Instance();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.NativeWidget(), 5000));
    testing_support::ProcessEvents();

    EXPECT_EQ(editor.Action, "");
    EXPECT_GT(fw::BeepCount(), beepsBefore);
    EXPECT_EQ(NameField(editor).Text(), "New");
    EXPECT_EQ(EditorTable(editor).Cell(0, 0), " ");
    EXPECT_EQ(EditorTable(editor).Cell(9, 1), " ");

    ClickButton(editor, "SavePB");
    EXPECT_FALSE(editor.IsVisible());
    EXPECT_EQ(main.Prefs, libraryBefore);
    EXPECT_EQ(MenuRows(DiodeMenu(main)),
              (std::vector<std::string>{"1N4004", "1N4148", "SS2H9 (Sch)"}));
    EXPECT_EQ(CellTexts(CharacteristicTable(main)), k1N4004Points);
}

TEST_F(EditorOpening, EscapePressesCancel) {
    MainWindow& main = StartKelvara();
    VIwindow& editor = PressNew();
    TypeName(editor, "Escaped");

    QTest::keyClick(NameField(editor).NativeWidget(), Qt::Key_Escape);
    testing_support::ProcessEvents();

    EXPECT_FALSE(editor.IsVisible());
    EXPECT_EQ(main.Prefs.size(), 3u);
    EXPECT_EQ(DiodeMenu(main).ListCount(), 3);
}

} // namespace
