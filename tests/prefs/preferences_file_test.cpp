// The preferences file across starts of the program: the built-in defaults
// on a first start, the exact file written at close, and what a next start
// restores from it, also from files that are damaged or hand-edited.

#include "tests/support/folder_listing.h"
#include "tests/support/kelvara_fixture.h"
#include "tests/support/unreadable_file.h"

#include "framework/application.h"
#include "framework/listbox.h"
#include "framework/popup_menu.h"
#include "framework/radio_button.h"
#include "framework/runtime.h"
#include "framework/text_field.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <vector>

using testing_support::CloseMainWindow;
using testing_support::Find;
using testing_support::kDefaultFile;
using testing_support::ReadPreferencesFile;
using testing_support::StartKelvara;
using testing_support::WritePreferencesFile;

namespace {

// The field texts of the settings rows below that hold every field.
const std::vector<std::string> kStoredFields = {"60", "0",  "12", "5",   "120",
                                                "5",  "51", ".2", "3300"};

// The input fields in the order of the settings row.
constexpr std::array kInputFields = {"EFLineFreq", "EFLinePhase", "EFLoadR", "EFVoltsIn",  "EFNp",
                                     "EFNs",       "EFPriR",      "EFSecR",  "EFCapacitor"};

std::vector<std::string> FieldTexts(const MainWindow& window) {
    std::vector<std::string> texts;
    for (const char* name : kInputFields) {
        texts.push_back(Find<fw::TextField>(window, name).Text());
    }
    return texts;
}

std::vector<std::string> MenuRows(const MainWindow& window) {
    auto& menu = Find<fw::PopupMenu>(window, "PopupDiodeType");
    std::vector<std::string> rows;
    for (int row = 0; row < menu.ListCount(); ++row) {
        rows.push_back(menu.List(row));
    }
    return rows;
}

std::vector<std::string> TableCells(const MainWindow& window) {
    auto& table = Find<fw::Listbox>(window, "Listbox1");
    std::vector<std::string> cells;
    for (int row = 0; row < table.ListCount(); ++row) {
        cells.push_back(table.Cell(row, 0) + "|" + table.Cell(row, 1));
    }
    return cells;
}

int SelectedCircuit(const MainWindow& window) {
    int selected = -1;
    for (int k = 0; k < 4; ++k) {
        if (Find<fw::RadioButton>(window, "CktTypeBTN", k).Value()) {
            EXPECT_EQ(selected, -1) << "two circuit types selected";
            selected = k;
        }
    }
    return selected;
}

// A test name from a case's description: letters and digits, the rest "_".
std::string CaseName(const char* what) {
    std::string name;
    for (const char* c = what; *c != '\0'; ++c) {
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return name;
}

} // namespace

TEST(PreferencesFile, FirstStartShowsTheBuiltInDefaultsAndWritesNothing) {
    MainWindow& window = StartKelvara();

    EXPECT_EQ(FieldTexts(window),
              (std::vector<std::string>{"60", "0", "12", "5", "120", "5", "51", ".2", "3300"}));
    EXPECT_EQ(window.RectType, 0);
    EXPECT_EQ(SelectedCircuit(window), 0);
    EXPECT_EQ(MenuRows(window), (std::vector<std::string>{"1N4004", "1N4148", "SS2H9 (Sch)"}));
    EXPECT_EQ(Find<fw::PopupMenu>(window, "PopupDiodeType").ListIndex(), 0);
    EXPECT_EQ(TableCells(window),
              (std::vector<std::string>{".5|0", ".7|.01", ".8|.12", ".9|.7", "1|2", "1.1|3.2",
                                        "1.2|5.2", "1.3|7.3", "1.4|10.5", "|"}));
    EXPECT_EQ(window.Prefs, std::vector<std::string>(kDefaultFile.begin() + 1, kDefaultFile.end()));
    EXPECT_FALSE(testing_support::PreferencesFileExists());
}

TEST(PreferencesFile, ClosingAfterAFirstStartWritesTheFourDefaultLines) {
    StartKelvara();
    CloseMainWindow();
    EXPECT_EQ(ReadPreferencesFile(), kDefaultFile);
}

TEST(PreferencesFile, QuittingFromTheMenuSavesAsClosingDoes) {
    MainWindow& window = StartKelvara();
    Find<fw::TextField>(window, "EFLoadR").SetText("47");
    window.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.NativeWidget()));
    QTest::keyClick(window.NativeWidget(), Qt::Key_Q, Qt::ControlModifier);
    testing_support::ProcessEvents();

    ASSERT_TRUE(testing_support::PreferencesFileExists());
    EXPECT_EQ(ReadPreferencesFile().front(), "1N4004,60,0,47,5,120,5,51,.2,3300,0");
    EXPECT_TRUE(fw::QuitRequested());
}

TEST(PreferencesFile, ANextStartRestoresFieldsCircuitTypeMenuAndSelection) {
    {
        MainWindow& window = StartKelvara();
        const std::vector<std::string> texts = {"50", "90", "8.2",  "12.6", "230",
                                                "??", "12", "0.35", "4700"};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            Find<fw::TextField>(window, kInputFields[i]).SetText(texts[i]);
        }
        QTest::mouseClick(Find<fw::RadioButton>(window, "CktTypeBTN", 3).NativeWidget(),
                          Qt::LeftButton);
        ASSERT_EQ(window.RectType, 3);
        Find<fw::PopupMenu>(window, "PopupDiodeType").SetListIndex(2);
        CloseMainWindow();
    }
    EXPECT_EQ(ReadPreferencesFile().front(), "SS2H9 (Sch),50,90,8.2,12.6,230,??,12,0.35,4700,3");

    MainWindow& restarted = StartKelvara();
    EXPECT_EQ(FieldTexts(restarted), (std::vector<std::string>{"50", "90", "8.2", "12.6", "230",
                                                               "??", "12", "0.35", "4700"}));
    EXPECT_EQ(restarted.RectType, 3);
    EXPECT_EQ(SelectedCircuit(restarted), 3);
    EXPECT_EQ(MenuRows(restarted), (std::vector<std::string>{"1N4004", "1N4148", "SS2H9 (Sch)"}));
    EXPECT_EQ(Find<fw::PopupMenu>(restarted, "PopupDiodeType").ListIndex(), 2);
    EXPECT_EQ(TableCells(restarted).back(), "1.2|35");
}

struct StoredFileCase {
    const char* what;
    std::vector<std::string> file;
    std::vector<std::string> menuRows;
    int selected;
    int circuitType;
    std::vector<std::string> firstTableRows; // rows 0 and 9 of the table
    std::vector<std::string> fields = kStoredFields;

    friend void PrintTo(const StoredFileCase& c, std::ostream* out) { *out << c.what; }
};

class StoredFile : public testing::TestWithParam<StoredFileCase> {};

TEST_P(StoredFile, IsRestoredAsStored) {
    const StoredFileCase& c = GetParam();
    WritePreferencesFile(c.file);
    MainWindow& window = StartKelvara();

    EXPECT_EQ(MenuRows(window), c.menuRows);
    EXPECT_EQ(window.Prefs.size(), c.menuRows.size());
    EXPECT_EQ(Find<fw::PopupMenu>(window, "PopupDiodeType").ListIndex(), c.selected);
    EXPECT_EQ(window.RectType, c.circuitType);
    EXPECT_EQ(SelectedCircuit(window), c.circuitType);
    EXPECT_EQ(FieldTexts(window), c.fields);
    const std::vector<std::string> cells = TableCells(window);
    EXPECT_EQ((std::vector<std::string>{cells.front(), cells.back()}), c.firstTableRows);
}

INSTANTIATE_TEST_SUITE_P(
    PreferencesFile, StoredFile,
    testing::Values(
        StoredFileCase{"two rows of the selected name: the last is selected",
                       {"D,60,0,12,5,120,5,51,.2,3300,2", "D,1,0,2,1", "E,3,0", "D,5,0,6,2"},
                       {"D", "E", "D"},
                       2,
                       2,
                       {"5|0", "|"}},
        StoredFileCase{"an empty line is a diode without name or points",
                       {"E,60,0,12,5,120,5,51,.2,3300,1", "D,1,0,2,1", "", "E,3,0"},
                       {"D", "", "E"},
                       2,
                       1,
                       {"3|0", "|"}},
        StoredFileCase{"a name that matches no diode selects the first",
                       {"Gone,60,0,12,5,120,5,51,.2,3300,0", "D,1,0,2,1", "E,3,0"},
                       {"D", "E"},
                       0,
                       0,
                       {"1|0", "|"}},
        StoredFileCase{
            "points beyond the tenth stay out of the table",
            {"L,60,0,12,5,120,5,51,.2,3300,0", "L,1,1,2,2,3,3,4,4,5,5,6,6,7,7,8,8,9,9,10,10,11,11"},
            {"L"},
            0,
            0,
            {"1|1", "10|10"}},
        StoredFileCase{"a circuit type beyond the four selects the bridge",
                       {"D,60,0,12,5,120,5,51,.2,3300,300", "D,1,0"},
                       {"D"},
                       0,
                       0,
                       {"1|0", "|"}},
        StoredFileCase{"a fractional circuit type selects the bridge",
                       {"D,60,0,12,5,120,5,51,.2,3300,2.5", "D,1,0"},
                       {"D"},
                       0,
                       0,
                       {"1|0", "|"}},
        StoredFileCase{"a negative circuit type selects the bridge",
                       {"D,60,0,12,5,120,5,51,.2,3300,-1", "D,1,0"},
                       {"D"},
                       0,
                       0,
                       {"1|0", "|"}},
        // The first read of the circuit marks the empty secondary rating.
        StoredFileCase{"a short settings row empties the missing fields, circuit type 0",
                       {"D,60,0", "D,1,0"},
                       {"D"},
                       0,
                       0,
                       {"1|0", "|"},
                       {"60", "0", "", "", "", "??", "", "", ""}},
        StoredFileCase{"a file without diode rows falls back to the built-in diodes",
                       {"1N4148,50,0,10,6,230,6,30,.3,2200,1"},
                       {"1N4004", "1N4148", "SS2H9 (Sch)"},
                       1,
                       1,
                       {".5|0", "|"},
                       {"50", "0", "10", "6", "230", "6", "30", ".3", "2200"}},
        StoredFileCase{"an empty file starts with empty fields and the built-in diodes",
                       {},
                       {"1N4004", "1N4148", "SS2H9 (Sch)"},
                       0,
                       0,
                       {".5|0", "|"},
                       {"", "", "", "", "", "??", "", "", ""}}),
    [](const testing::TestParamInfo<StoredFileCase>& info) { return CaseName(info.param.what); });

TEST(PreferencesFile, SettingsTextsComeBackAsStoredWhateverTheyHold) {
    WritePreferencesFile({"D,abc,,12,5,120,??,51,.2,3300,0", "D,1,0"});
    MainWindow& window = StartKelvara();
    EXPECT_EQ(FieldTexts(window),
              (std::vector<std::string>{"abc", "", "12", "5", "120", "??", "51", ".2", "3300"}));
    CloseMainWindow();
    EXPECT_EQ(ReadPreferencesFile().front(), "D,abc,,12,5,120,??,51,.2,3300,0");
}

TEST(PreferencesFile, AnUnreadableFileCountsAsAFirstStart) {
    // A folder where the file should be cannot be read as a file.
    std::filesystem::create_directories(testing_support::PreferencesFilePath());
    MainWindow& window = StartKelvara();
    EXPECT_EQ(FieldTexts(window).front(), "60");
    EXPECT_EQ(MenuRows(window).size(), 3u);
    EXPECT_EQ(fw::UnhandledExceptionCount(), 0);
    const std::string path = testing_support::PreferencesFilePath();
    EXPECT_EQ(testing_support::WarningsShown(),
              std::vector<std::string>{"The preferences file " + path +
                                       " cannot be read: it is a folder. The built-in settings "
                                       "are used; it is left untouched."});

    // Nothing, not even the lock, is written into the folder, and the close
    // tells what the start's box told on standard error alone.
    testing::internal::CaptureStderr();
    CloseMainWindow();
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "Kelvara: The preferences could not be saved to " + path +
                  ": it is a folder. Nothing was saved.\n"),
              std::string::npos);
    EXPECT_EQ(testing_support::WarningsShown(), std::vector<std::string>{});
    EXPECT_TRUE(std::filesystem::is_empty(path));
}

// A save that fails says so and still quits. A file that could not be read
// was kept aside before the save failed; where the file system cannot link,
// keeping it moved it, and the message says where it went.
TEST(PreferencesFile, AFailedWriteLeavesTheOldFileWholeAndStillQuits) {
    const std::vector<std::string> before = {"D,50,0,10,6,230,6,30,.3,2200,1", "D,1,0"};
    const std::string path = testing_support::PreferencesFilePath();
    for (const bool unreadable : {false, true}) {
        SCOPED_TRACE(unreadable ? "unreadable" : "readable");
        std::filesystem::remove(path + ".unreadable");
        WritePreferencesFile(before);
        std::optional<testing_support::PermissionsApply> permissions;
        if (unreadable) {
            std::filesystem::permissions(path, std::filesystem::perms::none);
            permissions.emplace();
        }
        MainWindow& window = StartKelvara();
        testing_support::WarningsShown();
        // Far more than the file size limit below allows.
        Find<fw::TextField>(window, "EFVoltsIn").SetText(std::string(4096, '9'));
        const bool canLink =
            testing_support::FolderCanLink(std::filesystem::path(path).parent_path().string());

        // Writing beyond this size fails even for root, whom permissions don't
        // stop; the signal that the system sends then must not end the program.
        rlimit original{};
        getrlimit(RLIMIT_FSIZE, &original);
        rlimit small = original;
        small.rlim_cur = 2048;
        testing::internal::CaptureStderr();
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        CloseMainWindow();
        setrlimit(RLIMIT_FSIZE, &original);
        permissions.reset();

        // Said on standard error, and in the window, where a user would see it.
        const bool moved = unreadable && !canLink;
        const std::string message =
            "The preferences could not be saved to " + path + ": File too large. " +
            (moved ? "The file that was there is kept as " + path + ".unreadable."
                   : "The file on disk is as it was.");
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_NE(report.find("Kelvara: " + message + "\n"), std::string::npos) << report;
        EXPECT_EQ(testing_support::WarningsShown(), std::vector<std::string>{message});
        EXPECT_EQ(std::filesystem::exists(path), !moved);
        std::filesystem::permissions(moved ? path + ".unreadable" : path,
                                     std::filesystem::perms::owner_read);
        EXPECT_EQ(ReadPreferencesFile(moved ? path + ".unreadable" : path), before);
        EXPECT_TRUE(fw::QuitRequested());
        EXPECT_EQ(fw::LiveInstance<MainWindow>(), nullptr);
    }
}

TEST(PreferencesFile, InputFieldsRefuseTheFieldSeparatorTypedOrPasted) {
    MainWindow& window = StartKelvara();
    for (const char* name : kInputFields) {
        auto& field = Find<fw::TextField>(window, name);
        field.SetText("33");
        field.SetFocus();
        field.SetSelStart(2);
        QTest::keyClicks(field.NativeWidget(), ",00");
        EXPECT_EQ(field.Text(), "3300") << name;

        QApplication::clipboard()->setText("3,300");
        field.SelectAll();
        QTest::keyClick(field.NativeWidget(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(field.Text(), "3300") << name << ": a paste with a separator is refused";
    }
    CloseMainWindow();
    EXPECT_EQ(ReadPreferencesFile().front(),
              "1N4004,3300,3300,3300,3300,3300,3300,3300,3300,3300,0");
}

// Choosing a diode in the menu writes all 20 cells of the table: every point
// of the chosen diode, and nothing of the one shown before.
struct DiodeChoiceCase {
    const char* what;
    const char* selectedAtStart;
    Qt::Key key; // pressed in the diode menu
    std::vector<std::string> table;

    friend void PrintTo(const DiodeChoiceCase& c, std::ostream* out) { *out << c.what; }
};

class DiodeChoice : public testing::TestWithParam<DiodeChoiceCase> {};

TEST_P(DiodeChoice, ShowsExactlyThePointsOfTheChosenDiode) {
    const DiodeChoiceCase& c = GetParam();
    std::vector<std::string> file = {std::string(c.selectedAtStart) +
                                     ",60,0,12,5,120,5,51,.2,3300,0"};
    file.insert(file.end(), kDefaultFile.begin() + 1, kDefaultFile.end());
    file.push_back("Name only");
    WritePreferencesFile(file);
    MainWindow& window = StartKelvara();
    QWidget* menu = Find<fw::PopupMenu>(window, "PopupDiodeType").NativeWidget();
    menu->setFocus();

    QTest::keyClick(menu, c.key);

    EXPECT_EQ(TableCells(window), c.table);
}

INSTANTIATE_TEST_SUITE_P(
    PreferencesFile, DiodeChoice,
    testing::Values(DiodeChoiceCase{"SS2H9 after 1N4148, from row 0 on",
                                    "1N4148",
                                    Qt::Key_Down,
                                    {".3|0", ".4|.01", ".5|.105", ".6|.58", ".7|2", ".8|4.8",
                                     ".9|10", "1|18", "1.1|27", "1.2|35"}},
                    DiodeChoiceCase{"1N4148 after SS2H9 empties row 9",
                                    "SS2H9 (Sch)",
                                    Qt::Key_Up,
                                    {".5|0", ".6|.001", ".7|.008", ".75|.018", ".8|.032", ".9|.08",
                                     "1|.14", "1.1|.21", "1.2|.3", "|"}},
                    DiodeChoiceCase{"a name only empties every cell", "SS2H9 (Sch)", Qt::Key_Down,
                                    std::vector<std::string>(10, "|")}),
    [](const testing::TestParamInfo<DiodeChoiceCase>& info) { return CaseName(info.param.what); });
