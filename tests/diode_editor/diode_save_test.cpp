// "Save" and "Cancel": what reaches the diode library, the diode menu, the
// characteristic table and, once the main window closes, the preferences file.

#include "tests/diode_editor/editor_driver.h"
#include "tests/support/kelvara_fixture.h"

#include "prefs/preferences_format.h"

#include "framework/text.h"

#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace editor_test;
using testing_support::PreferencesFileExists;
using testing_support::ReadPreferencesFile;
using testing_support::StartKelvara;
using testing_support::WritePreferencesFile;

namespace {

class DiodeSave : public EditorTest {};

const std::string k1N4004 = prefs::kDefaultDiodeRows[0];
const std::string k1N4148 = prefs::kDefaultDiodeRows[1];
const std::string kSS2H9 = prefs::kDefaultDiodeRows[2];
const std::vector<std::string> kBuiltIn = {k1N4004, k1N4148, kSS2H9};

// The settings row of a preferences file whose library is given by a test:
// it selects the diode of that name.
std::string SettingsRowNaming(const std::string& name) {
    return name + ",60,0,12,5,120,5,51,.2,3300,0";
}

// A run of field separators: the empty fields of points left empty.
std::string Commas(int count) {
    return std::string(static_cast<std::size_t>(count), ',');
}

std::vector<std::string> NamesOf(const std::vector<std::string>& library) {
    std::vector<std::string> names;
    for (const std::string& row : library) {
        names.push_back(NameOf(row));
    }
    return names;
}

// Starts the program with the library in its preferences file, or with the
// built-in library and no file when none is given, and chooses a diode.
MainWindow& StartWith(const std::vector<std::string>& library, int chosen) {
    if (!library.empty()) {
        std::vector<std::string> lines = {SettingsRowNaming(NameOf(library.front()))};
        lines.insert(lines.end(), library.begin(), library.end());
        WritePreferencesFile(lines);
    }
    MainWindow& main = StartKelvara();
    DiodeMenu(main).SetListIndex(chosen);
    return main;
}

// The main window holds the library, shows its names in the diode menu in the
// same order, has the diode selected and shows its points.
void ExpectMainWindowHolds(MainWindow& main, const std::vector<std::string>& library,
                           int selected) {
    EXPECT_EQ(main.Prefs, library);
    EXPECT_EQ(MenuRows(DiodeMenu(main)), NamesOf(library));
    EXPECT_EQ(DiodeMenu(main).ListIndex(), selected);
    const std::vector<std::string> shown =
        selected >= 0 ? PointTextsOf(library.at(static_cast<std::size_t>(selected))) : NoPoints();
    EXPECT_EQ(CellTexts(CharacteristicTable(main)), shown);
}

// Closing the main window writes the settings row, naming the selected
// diode, and the library.
void ExpectFileAfterClose(MainWindow& main, const std::vector<std::string>& library,
                          const std::string& selectedName) {
    main.Close();
    testing_support::ProcessEvents();
    ASSERT_TRUE(PreferencesFileExists());
    const std::vector<std::string> lines = ReadPreferencesFile();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(fw::NthField(lines[0], ",", 1), selectedName);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), library);
}

struct SaveCase {
    const char* label;
    std::vector<std::string> libraryBefore; // empty: the built-in library, no file
    int chosen;
    VIwindow& (*open)();
    void (*edit)(VIwindow& editor);
    std::vector<std::string> libraryAfter;
    int selectedAfter;

    friend void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.label; }
};

class Save : public EditorTestWithParam<SaveCase> {};

TEST_P(Save, ChangesLibraryMenuAndTableTogetherAndTheFileOnlyAtClose) {
    const SaveCase& c = GetParam();
    MainWindow& main = StartWith(c.libraryBefore, c.chosen);
    const bool hadFile = PreferencesFileExists();
    const std::vector<std::string> fileBefore =
        hadFile ? ReadPreferencesFile() : std::vector<std::string>{};

    VIwindow& editor = c.open();
    c.edit(editor);
    ClickButton(editor, "SavePB");
    testing_support::ProcessEvents();

    EXPECT_FALSE(editor.IsVisible());
    ExpectMainWindowHolds(main, c.libraryAfter, c.selectedAfter);
    ASSERT_EQ(PreferencesFileExists(), hadFile);
    if (hadFile) {
        EXPECT_EQ(ReadPreferencesFile(), fileBefore);
    }
    const std::string selectedName =
        c.selectedAfter >= 0 ? NameOf(c.libraryAfter.at(static_cast<std::size_t>(c.selectedAfter)))
                             : std::string();
    ExpectFileAfterClose(main, c.libraryAfter, selectedName);
}

void NoEdit(VIwindow&) {}

void EraseName(VIwindow& editor) {
    EraseWithBackspace(NameField(editor));
}

// clang-format off
const SaveCase kSaveCases[] = {
    {"NewRightAway", {}, 0, PressNew, NoEdit,
     {k1N4004, k1N4148, kSS2H9, "New" + Commas(20)}, 3},
    {"NewWithAnEmptyName", {}, 1, PressNew, EraseName,
     {k1N4004, k1N4148, kSS2H9, Commas(20)}, 3},
    {"NewWithPoints", {}, 2, PressNew,
     [](VIwindow& e) {
         TypeName(e, "BAT54");
         TypeIntoCell(e, 0, 0, ".2");
         TypeIntoCell(e, 0, 1, "0");
         TypeIntoCell(e, 1, 0, ".32");
         TypeIntoCell(e, 1, 1, ".1");
     },
     {k1N4004, k1N4148, kSS2H9, "BAT54,.2,0,.32,.1" + Commas(16)}, 3},
    {"NewWithANameThatExists", {}, 0, PressNew,
     [](VIwindow& e) {
         TypeName(e, "1N4148");
         TypeIntoCell(e, 4, 1, "2.5");
     },
     {k1N4004, k1N4148, kSS2H9, "1N4148" + Commas(10) + "2.5" + Commas(10)}, 3},
    {"EditRename", {}, 1, PressEdit,
     [](VIwindow& e) { Type(NameField(e), "W"); },
     {k1N4004, "1N4148W" + k1N4148.substr(6) + Commas(2), kSS2H9}, 1},
    {"EditToABlankNameRenames", {}, 0, PressEdit,
     [](VIwindow& e) { TypeName(e, " "); },
     {" " + k1N4004.substr(6) + Commas(2), k1N4148, kSS2H9}, 0},
    {"EditAddsATenthPoint", {}, 0, PressEdit,
     [](VIwindow& e) {
         TypeIntoCell(e, 9, 0, "1.5");
         TypeIntoCell(e, 9, 1, "14");
     },
     {k1N4004 + ",1.5,14", k1N4148, kSS2H9}, 0},
    {"EditEmptiesAPoint", {}, 2, PressEdit,
     [](VIwindow& e) {
         ClickCell(EditorTable(e), 0, 0);
         QTest::keyClick(EditorTable(e).ActiveCell().NativeWidget(), Qt::Key_Backspace);
     },
     {k1N4004, k1N4148, "SS2H9 (Sch)," + kSS2H9.substr(14)}, 2},
    {"DeleteInTheMiddle", {}, 1, PressEdit, EraseName,
     {k1N4004, kSS2H9}, 1},
    {"DeleteTheLast", {}, 2, PressEdit, EraseName,
     {k1N4004, k1N4148}, 1},
    {"DeleteTheFirst", {}, 0, PressEdit, EraseName,
     {k1N4148, kSS2H9}, 0},
    {"DeleteTheOnlyDiode", {"Solo,.5,0,.7,1"}, 0, PressEdit, EraseName,
     {}, -1},
    {"NameOfOnlySeparatorsAndLineBreaksDeletes", {}, 1, PressEdit,
     [](VIwindow& e) { NameField(e).SetText(",\r\n,\x7f"); },
     {k1N4004, kSS2H9}, 1},
    {"FewerThanTenPairsWrittenBackWithTen", {"Short,.5,0,.7,.1", k1N4148}, 0, PressEdit, NoEdit,
     {"Short,.5,0,.7,.1" + Commas(16), k1N4148}, 0},
    {"NameOnlyWrittenBackWithTenEmptyPairs", {k1N4148, "Bare"}, 1, PressEdit, NoEdit,
     {k1N4148, "Bare" + Commas(20)}, 1},
    {"PairsBeyondTheTenthDropped", {"Long,1,1,2,2,3,3,4,4,5,5,6,6,7,7,8,8,9,9,10,10,11,11"}, 0,
     PressEdit, NoEdit,
     {"Long,1,1,2,2,3,3,4,4,5,5,6,6,7,7,8,8,9,9,10,10"}, 0},
    // Text set into a cell by code passes no typing filter.
    {"SeparatorsAndLineBreaksSetByCodeAreLeftOut", {}, 0, PressNew,
     [](VIwindow& e) {
         NameField(e).SetText("Evil\nX,");
         EditorTable(e).SetCell(0, 0, "1,5\r");
         EditorTable(e).SetCell(9, 1, "\r\n");
     },
     {k1N4004, k1N4148, kSS2H9, "EvilX,15" + Commas(19)}, 3},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Modes, Save, testing::ValuesIn(kSaveCases),
                         [](const auto& info) { return std::string(info.param.label); });

// What the user sees in a cell that is still open is what is saved.
TEST_F(DiodeSave, ACellStillBeingEditedIsSavedAsShown) {
    MainWindow& main = StartKelvara();
    VIwindow& editor = PressEdit();
    TypeIntoCell(editor, 2, 1, "3.3");
    ASSERT_TRUE(EditorTable(editor).IsEditing());

    ClickButton(editor, "SavePB");

    const std::string saved = main.Prefs.at(0);
    EXPECT_EQ(fw::NthField(saved, ",", prefs::DiodeCurrentField(2)), "3.3");
    EXPECT_EQ(CharacteristicTable(main).Cell(2, 1), "3.3");
    EXPECT_FALSE(editor.IsVisible());
}

struct CancelCase {
    const char* label;
    VIwindow& (*open)();

    friend void PrintTo(const CancelCase& c, std::ostream* os) { *os << c.label; }
};

class Cancel : public EditorTestWithParam<CancelCase> {};

TEST_P(Cancel, ChangesNothingButHidesTheEditor) {
    MainWindow& main = StartWith({}, 1);
    VIwindow& editor = GetParam().open();
    TypeName(editor, "Abandoned");
    TypeIntoCell(editor, 0, 0, "9.9");

    ClickButton(editor, "CancelPB");
    testing_support::ProcessEvents();

    EXPECT_FALSE(editor.IsVisible());
    ExpectMainWindowHolds(main, kBuiltIn, 1);
    // The editor keeps its texts until it is next prepared.
    EXPECT_EQ(NameField(editor).Text(), "Abandoned");
    EXPECT_EQ(EditorTable(editor).Cell(0, 0), "9.9");
    EXPECT_FALSE(PreferencesFileExists());
    ExpectFileAfterClose(main, kBuiltIn, "1N4148");
}

const CancelCase kCancelCases[] = {{"New", PressNew}, {"Edit", PressEdit}};

INSTANTIATE_TEST_SUITE_P(Modes, Cancel, testing::ValuesIn(kCancelCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Deleting every diode leaves nothing for "Edit" to open: its editor is empty
// and its "Save" changes nothing, while "New" starts the library again.
TEST_F(DiodeSave, AnEmptiedLibraryOpensAnEmptyEditAndGrowsAgainWithNew) {
    MainWindow& main = StartWith({"Only,.6,0,.8,.5"}, 0);
    VIwindow& editor = PressEdit();
    EraseWithBackspace(NameField(editor));
    ClickButton(editor, "SavePB");
    ExpectMainWindowHolds(main, {}, -1);

    PressEdit();
    EXPECT_EQ(NameField(editor).Text(), "");
    EXPECT_EQ(CellTexts(EditorTable(editor)), NoPoints());
    TypeIntoCell(editor, 0, 0, "1");
    ClickButton(editor, "SavePB");
    EXPECT_FALSE(editor.IsVisible());
    ExpectMainWindowHolds(main, {}, -1);

    PressNew();
    TypeName(editor, "Fresh");
    TypeIntoCell(editor, 0, 0, ".4");
    ClickButton(editor, "SavePB");
    const std::string fresh = "Fresh,.4" + Commas(19);
    ExpectMainWindowHolds(main, {fresh}, 0);

    // The new diode is the selected one, which "Edit" now opens.
    PressEdit();
    EXPECT_EQ(NameField(editor).Text(), "Fresh");
    EXPECT_EQ(EditorTable(editor).Cell(0, 0), ".4");
    ClickButton(editor, "CancelPB");

    EXPECT_EQ(ReadPreferencesFile(),
              (std::vector<std::string>{SettingsRowNaming("Only"), "Only,.6,0,.8,.5"}));
    ExpectFileAfterClose(main, {fresh}, "Fresh");
}

// Several saves in a row keep the library and the menu aligned.
TEST_F(DiodeSave, ASequenceOfSavesKeepsLibraryAndMenuAligned) {
    MainWindow& main = StartKelvara();

    VIwindow& editor = PressNew();
    TypeName(editor, "A");
    ClickButton(editor, "SavePB");
    PressNew();
    TypeName(editor, "B");
    ClickButton(editor, "SavePB");
    DiodeMenu(main).SetListIndex(3);
    PressEdit();
    TypeName(editor, "A2");
    ClickButton(editor, "SavePB");
    DiodeMenu(main).SetListIndex(0);
    PressEdit();
    EraseWithBackspace(NameField(editor));
    ClickButton(editor, "SavePB");

    const std::vector<std::string> expected = {k1N4148, kSS2H9, "A2" + Commas(20),
                                               "B" + Commas(20)};
    ExpectMainWindowHolds(main, expected, 0);
    EXPECT_FALSE(PreferencesFileExists());
    ExpectFileAfterClose(main, expected, "1N4148");
}

} // namespace
