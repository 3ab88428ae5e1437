// The preferences file against what a new user's machine may hold in its
// place, and against text that reaches the input fields by every road: the
// program starts, shows what it can, and a start after the close shows the
// same again; nothing it cannot keep is written, and no byte it could not
// read is lost.

#include "tests/support/folder_listing.h"
#include "tests/support/kelvara_fixture.h"
#include "tests/support/unreadable_file.h"

#include "framework/files.h"
#include "framework/text_field.h"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

using testing_support::CloseMainWindow;
using testing_support::DefaultState;
using testing_support::Find;
using testing_support::FolderListing;
using testing_support::kDefaultFile;
using testing_support::PreferencesFilePath;
using testing_support::ReadPreferencesFile;
using testing_support::StartKelvara;
using testing_support::StateOf;
using testing_support::WindowState;

namespace {

using namespace std::string_literals;

void WriteBytes(const std::string& bytes, const std::string& path = PreferencesFilePath()) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

std::string RandomBytes(std::size_t count) {
    std::mt19937 random(3000);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(count, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(byte(random));
    }
    return bytes;
}

const std::string kLongText(40000, '7');
const std::string kJunk = "junk\0junk"s;
const std::string kMine = "Mine,.6,0,.9,1";
std::string TooLarge() {
    return std::string(fw::kMaxTextFileBytes + 1, 'x');
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\n";
    }
    return bytes;
}

WindowState StateWith(std::vector<std::string> menuRows, int selected,
                      std::vector<std::string> table) {
    WindowState state = DefaultState();
    state.menuRows = std::move(menuRows);
    state.selected = selected;
    state.table = std::move(table);
    return state;
}

// The built-in library with "Mine" after it, "Mine" selected.
const std::vector<std::string> kFileWithMine = {
    "Mine,60,0,12,5,120,5,51,.2,3300,0", kDefaultFile[1], kDefaultFile[2], kDefaultFile[3], kMine};
const std::string kRandomBytes = RandomBytes(3000);
const std::string kMineBytes = Lines(kFileWithMine);
const WindowState kMineShown = StateWith({"1N4004", "1N4148", "SS2H9 (Sch)", "Mine"}, 3,
                                         {".6|0", ".9|1", "|", "|", "|", "|", "|", "|", "|", "|"});

// What stands at the lock's place beside the file: no lock of a live copy.
std::string LockPath() {
    return PreferencesFilePath() + ".lock";
}

struct HostileCase {
    const char* what;
    std::function<void()> place; // puts the thing where the file belongs
    std::function<void()> beforeClose;
    WindowState shown;
    // What the program says at start, on standard error and in a warning box
    // alike, and at close, on standard error, and in a box too when the save
    // failed for a reason the start's box did not tell. "%p" stands for the
    // file's path, "%c" for the configuration folder's.
    const char* startReport;
    const char* closeReport;
    std::vector<std::string> fileAfterClose; // none: not looked at
    const char* keptAs = nullptr;            // in the configuration folder
    std::function<std::string()> keptBytes;
    std::function<void()> afterClose;

    friend void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.what; }
};

std::string ConfigFolder() {
    return std::filesystem::path(PreferencesFilePath()).parent_path().string();
}

// The configuration folder the test program started with; a row may move
// the preferences folder below it.
std::string TestHome() {
    static const std::string home = ConfigFolder();
    return home;
}

void UseConfigFolder(const std::string& folder) {
    TestHome();
    setenv("XDG_CONFIG_HOME", folder.c_str(), /*overwrite=*/1);
}

std::string Expand(std::string text) {
    for (const auto& [mark, path] :
         {std::pair{"%p", PreferencesFilePath()}, std::pair{"%c", ConfigFolder()}}) {
        for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark)) {
            text.replace(at, 2, path);
        }
    }
    return text;
}

// What the program says of its preferences (the toolkit may say more on
// standard error); a box says what standard error says, word for word.
void ExpectReport(const std::string& report, const std::string& expected, bool boxed) {
    const std::vector<std::string> boxes = testing_support::WarningsShown();
    if (expected.empty()) {
        EXPECT_EQ(report.find("Kelvara:"), std::string::npos) << report;
    } else {
        EXPECT_NE(report.find(Expand(expected)), std::string::npos) << report;
    }
    if (!boxed) {
        EXPECT_TRUE(boxes.empty()) << boxes.front();
        return;
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes.front().find(Expand(expected)), std::string::npos) << boxes.front();
    EXPECT_NE(report.find("Kelvara: " + boxes.front() + "\n"), std::string::npos) << report;
}

class HostileFile : public testing::TestWithParam<HostileCase> {
protected:
    void SetUp() override { TestHome(); }
    // A folder a row shut is opened again, so the test's folder can go.
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::permissions(TestHome() + "/locked", std::filesystem::perms::owner_all,
                                     ignored);
    }
};

TEST_P(HostileFile, StartsAtOnceAndComesBackAsShown) {
    const HostileCase& c = GetParam();
    c.place();
    testing::internal::CaptureStderr();
    const WindowState shown = StateOf(StartKelvara());
    ExpectReport(testing::internal::GetCapturedStderr(), c.startReport, *c.startReport != '\0');
    ASSERT_EQ(shown, c.shown);
    if (c.beforeClose) {
        c.beforeClose();
    }
    testing::internal::CaptureStderr();
    CloseMainWindow();
    const std::string report = testing::internal::GetCapturedStderr();
    const std::string closeReport = c.closeReport;
    // A kept file is named at close on standard error alone, checked below.
    // One problem shows one box: a save that failed for what the start's box
    // told shows none.
    const bool failed = closeReport.find("could not be saved") != std::string::npos ||
                        closeReport.find("were not saved") != std::string::npos;
    ExpectReport(c.keptAs != nullptr && closeReport.empty() ? "" : report, closeReport,
                 failed && *c.startReport == '\0');
    if (!c.fileAfterClose.empty()) {
        EXPECT_EQ(ReadPreferencesFile(), c.fileAfterClose);
    }
    if (c.keptAs != nullptr) {
        const std::string kept = ConfigFolder() + "/" + c.keptAs;
        EXPECT_NE(report.find("It is kept as " + kept + "."), std::string::npos) << report;
        // A copy kept of a file the user may not read is just as closed.
        std::filesystem::permissions(kept, std::filesystem::perms::owner_read,
                                     std::filesystem::perm_options::add);
        EXPECT_TRUE(ReadBytes(kept) == c.keptBytes()) << "the bytes kept differ";
    }
    if (c.afterClose) {
        c.afterClose();
    }
    EXPECT_EQ(StateOf(StartKelvara()), c.shown);
}

// Each row: what it tries; what stands where the file belongs at start, and
// what happens to it while the program runs; what the window shows; what
// the program says at start and at close; the file after the close; where
// the bytes not read are kept, and those bytes; what else holds after the
// close.
// clang-format off
INSTANTIATE_TEST_SUITE_P(PreferencesFile, HostileFile, testing::Values(
    HostileCase{"3000 random bytes are no settings; they are kept beside the new file",
        [] { WriteBytes(kRandomBytes); }, {}, DefaultState(),
        "The preferences file %p cannot be read: it is not a text file. The built-in settings are "
        "used; the file will be kept as %p.not-text when Kelvara closes.", "", kDefaultFile,
        "KelvaraPrefs.txt.not-text", [] { return kRandomBytes; }},
    HostileCase{"an earlier kept copy is never replaced",
        [] { WriteBytes(kJunk); WriteBytes("kept before", PreferencesFilePath() + ".not-text"); },
        [] { EXPECT_EQ(ReadBytes(PreferencesFilePath() + ".not-text"), "kept before"); },
        DefaultState(), "will be kept as %p.not-text-2 when", "", kDefaultFile,
        "KelvaraPrefs.txt.not-text-2",
        [] { return kJunk; }},
    // A close killed after keeping the bytes and before saving left them kept:
    // as the very file, or as a copy where the file system cannot link.
    HostileCase{"bytes kept by a killed close are not kept again",
        [] {
            WriteBytes(kJunk);
            const std::string kept = PreferencesFilePath() + ".not-text";
            if (::link(PreferencesFilePath().c_str(), kept.c_str()) != 0) {
                WriteBytes(kJunk, kept);
            }
        },
        {}, DefaultState(), "cannot be read: it is not a text file. The built-in settings are "
        "used; the file is kept as %p.not-text already.", "", kDefaultFile,
        "KelvaraPrefs.txt.not-text", [] { return kJunk; },
        [] { EXPECT_EQ(FolderListing(ConfigFolder()), (std::vector<std::string>{"KelvaraPrefs.txt", "KelvaraPrefs.txt.not-text"})); }},
    HostileCase{"a file too large to read is kept beside the new file",
        [] { WriteBytes(TooLarge()); }, {}, DefaultState(),
        "%p cannot be read: it is larger than any text file of the program", "", kDefaultFile,
        "KelvaraPrefs.txt.too-large", TooLarge},
    HostileCase{"a file the user may not read is kept beside the new file",
        [] {
            WriteBytes(kMineBytes);
            std::filesystem::permissions(PreferencesFilePath(), std::filesystem::perms::none);
            static testing_support::PermissionsApply permissions; // for the rest of the test
        },
        {}, DefaultState(), "%p cannot be read: Permission denied", "", kDefaultFile,
        "KelvaraPrefs.txt.unreadable", [] { return kMineBytes; }},
    HostileCase{"stray control characters are dropped from their fields, the rest reads",
        [] {
            WriteBytes("Mi\x7Fne,6\f0,0,12,5,120,5,51,.2,33\x1B" "00,0\n" +
                       Lines({kDefaultFile[1], kDefaultFile[2], kDefaultFile[3]}) +
                       "Mine,.6,\x1B" "0,.9,1\n");
        },
        {}, kMineShown, "", "", kFileWithMine},
    HostileCase{"a byte-order mark is no part of the selected diode's name",
        [] { WriteBytes("\xEF\xBB\xBF" + kMineBytes); }, {}, kMineShown, "", "", kFileWithMine},
    HostileCase{"a file deleted while the program runs gets the whole library",
        [] { WriteBytes(kMineBytes); }, [] { std::filesystem::remove(PreferencesFilePath()); },
        kMineShown, "", "", kFileWithMine},
    HostileCase{"junk written over the file while the program runs is kept aside",
        [] { WriteBytes(kMineBytes); }, [] { WriteBytes(kJunk); }, kMineShown, "",
        "%p cannot be read: not a text file", kFileWithMine, "KelvaraPrefs.txt.not-text",
        [] { return kJunk; }},
    HostileCase{"a link to junk in another folder stays a link; the junk is kept beside its file",
        [] {
            std::filesystem::create_directory(ConfigFolder() + "/elsewhere");
            WriteBytes(kJunk, ConfigFolder() + "/elsewhere/prefs.txt");
            std::filesystem::create_symlink(ConfigFolder() + "/elsewhere/prefs.txt", PreferencesFilePath());
        },
        {}, DefaultState(), "will be kept as %c/elsewhere/prefs.txt.not-text when", "", kDefaultFile,
        "elsewhere/prefs.txt.not-text", [] { return kJunk; },
        [] { EXPECT_TRUE(std::filesystem::is_symlink(PreferencesFilePath())); }},
    HostileCase{"a pipe is never opened for reading nor replaced",
        [] { ASSERT_EQ(mkfifo(PreferencesFilePath().c_str(), 0600), 0); }, {}, DefaultState(),
        "%p cannot be read: it is not a regular file. The built-in settings are used; it is left "
        "untouched.", "The preferences could not be saved to %p: it is not a regular file. Nothing "
        "was saved.", {}},
    // The saving side of devices is the pipe's case; the link goes before the
    // close, so that no fault here could ever write to a device.
    HostileCase{"a link to an endless device is not read",
        [] { std::filesystem::create_symlink("/dev/zero", PreferencesFilePath()); },
        [] { std::filesystem::remove(PreferencesFilePath()); }, DefaultState(),
        "%p cannot be read: it is not a regular file", "", kDefaultFile},
    HostileCase{"a link into a missing folder fails the save with its reason",
        [] { std::filesystem::create_symlink(PreferencesFilePath() + ".d/x", PreferencesFilePath()); },
        {}, DefaultState(), "", "could not be saved to %p: No such file or directory. The file on "
        "disk is as it was.", {}},
    HostileCase{"a link to a missing folder fails the save with its reason",
        [] { std::filesystem::create_symlink("../other/missing/", PreferencesFilePath()); },
        {}, DefaultState(), "", "could not be saved to %p: No such file or directory. The file on "
        "disk is as it was.", {}, nullptr, {},
        [] { EXPECT_EQ(FolderListing(ConfigFolder()), std::vector<std::string>{"KelvaraPrefs.txt"}); }},
    // Nothing is written beside a configuration folder that is none, nor in
    // its place.
    HostileCase{"a configuration folder that is a link to nothing",
        [] {
            std::filesystem::remove_all(ConfigFolder());
            std::filesystem::create_symlink(ConfigFolder() + ".gone", ConfigFolder());
        },
        {}, DefaultState(), "The preferences folder cannot be used: %c is a link to nothing, not a "
        "folder. The built-in settings are used, and nothing will be saved.",
        "The preferences were not saved: %c is a link to nothing, not a folder. Nothing was "
        "written anywhere.", {}, nullptr, {},
        [] {
            EXPECT_FALSE(std::filesystem::exists(ConfigFolder() + ".gone"));
            EXPECT_FALSE(std::filesystem::exists(ConfigFolder() + "KelvaraPrefs.txt"));
        }},
    HostileCase{"a configuration folder that becomes a file while the program runs",
        [] {},
        [] {
            std::filesystem::remove_all(ConfigFolder());
            WriteBytes("not a folder", ConfigFolder());
        },
        DefaultState(), "", "The preferences were not saved: %c is a file, not a folder. Nothing "
        "was written anywhere.", {}},
    HostileCase{"a configuration folder that is a file",
        [] {
            std::filesystem::remove_all(ConfigFolder());
            WriteBytes("not a folder", ConfigFolder());
        },
        {}, DefaultState(), "%c is a file, not a folder", "were not saved: %c is a file, not a "
        "folder", {}, nullptr,
        {},
        [] {
            EXPECT_EQ(ReadBytes(ConfigFolder()), "not a folder");
            EXPECT_FALSE(std::filesystem::exists(ConfigFolder() + "KelvaraPrefs.txt"));
        }},
    // A folder that cannot even be examined is no folder either.
    HostileCase{"a configuration folder that is a link to itself",
        [] {
            std::filesystem::remove_all(ConfigFolder());
            std::filesystem::create_symlink(ConfigFolder(), ConfigFolder());
        },
        {}, DefaultState(), "The preferences folder cannot be used: %c is a link that cannot be "
        "followed: Too many levels of symbolic links. The built-in settings are used, and nothing "
        "will be saved.", "were not saved: %c is a link that cannot", {}, nullptr, {},
        [] { EXPECT_EQ(std::filesystem::read_symlink(ConfigFolder()), ConfigFolder()); }},
    HostileCase{"a configuration folder under a link loop",
        [] {
            std::filesystem::create_symlink("loop", TestHome() + "/loop");
            UseConfigFolder(TestHome() + "/loop/cfg");
        },
        {}, DefaultState(), "The preferences folder cannot be used: %c cannot be examined: Too "
        "many levels of symbolic links.", "were not saved: %c cannot be examined", {}, nullptr, {},
        [] { EXPECT_EQ(FolderListing(TestHome()), std::vector<std::string>{"loop"}); }},
    HostileCase{"a configuration folder under a folder this user may not search",
        [] {
            std::filesystem::create_directories(TestHome() + "/locked/cfg");
            std::filesystem::permissions(TestHome() + "/locked", std::filesystem::perms::none);
            static testing_support::PermissionsApply permissions; // for the rest of the test
            UseConfigFolder(TestHome() + "/locked/cfg");
        },
        {}, DefaultState(), "The preferences folder cannot be used: %c cannot be examined: "
        "Permission denied.", "were not saved: %c cannot be examined: Permission denied", {}},
    // Nothing inside a folder that a link names is locked or removed.
    HostileCase{"a link to a folder, written with a trailing slash",
        [] {
            std::filesystem::create_directory(ConfigFolder() + "/elsewhere");
            WriteBytes("mine", ConfigFolder() + "/elsewhere/.lock");
            WriteBytes("mine", ConfigFolder() + "/elsewhere/.saving-Ab12Cd");
            std::filesystem::create_symlink(ConfigFolder() + "/elsewhere/", PreferencesFilePath());
        },
        {}, DefaultState(), "The preferences file %p cannot be read: it is a folder. The built-in "
        "settings are used; it is left untouched.", "The preferences could not be saved to %p: it "
        "is a folder. Nothing was saved.", {}, nullptr, {},
        [] {
            EXPECT_EQ(FolderListing(ConfigFolder() + "/elsewhere"),
                      (std::vector<std::string>{".lock", ".saving-Ab12Cd"}));
            EXPECT_EQ(ReadBytes(ConfigFolder() + "/elsewhere/.lock"), "mine");
        }},
    HostileCase{"Latin-1 names keep their selection",
        [] { WriteBytes("Diod\xE9,60,0,12,5,120,5,51,.2,3300,0\n1N4004,.5,0\nDiod\xE9,.6,0,.9,1\n"); },
        {}, StateWith({"1N4004", "Diod\u00E9"}, 1, {".6|0", ".9|1", "|", "|", "|", "|", "|", "|", "|", "|"}),
        "", "", {"Diod\u00E9,60,0,12,5,120,5,51,.2,3300,0", "1N4004,.5,0", "Diod\u00E9,.6,0,.9,1"}},
    HostileCase{"a field and a name far longer than 32767 characters stay whole",
        [] { WriteBytes(kLongText + ",60,0," + kLongText + ",5,120,5,51,.2,3300,0\n" + kLongText + ",.5,0\n"); },
        {},
        [] {
            WindowState state = StateWith({kLongText}, 0, {".5|0", "|", "|", "|", "|", "|", "|", "|", "|", "|"});
            state.fields[2] = kLongText;
            return state;
        }(),
        "", "", {kLongText + ",60,0," + kLongText + ",5,120,5,51,.2,3300,0", kLongText + ",.5,0"}},
    // Nothing at the lock's place names a live copy: the close neither hangs,
    // nor waits, nor says that another copy holds the lock.
    HostileCase{"a pipe at the lock's place", [] { ASSERT_EQ(mkfifo(LockPath().c_str(), 0600), 0); },
        {}, DefaultState(), "", "", kDefaultFile},
    HostileCase{"a folder at the lock's place", [] { std::filesystem::create_directory(LockPath()); },
        {}, DefaultState(), "", "", kDefaultFile},
    HostileCase{"a dangling link at the lock's place",
        [] { std::filesystem::create_symlink(LockPath() + ".gone", LockPath()); },
        {}, DefaultState(), "", "", kDefaultFile},
    HostileCase{"an empty lock file left by a killed copy", [] { WriteBytes("", LockPath()); },
        {}, DefaultState(), "", "", kDefaultFile},
    HostileCase{"the new file of a copy killed while saving is removed by the next save",
        [] { WriteBytes(kMineBytes, PreferencesFilePath() + ".saving-Ab12Cd"); }, {},
        DefaultState(), "", "", kDefaultFile, nullptr, {},
        [] { EXPECT_FALSE(std::filesystem::exists(PreferencesFilePath() + ".saving-Ab12Cd")); }},
    // A lock file of another account may belong to a live copy: it is waited
    // for, never removed, and the save that follows without it succeeds, so
    // only standard error tells of it.
    HostileCase{"a lock file nobody may open",
        [] {
            WriteBytes("", LockPath());
            std::filesystem::permissions(LockPath(), std::filesystem::perms::none);
            static testing_support::PermissionsApply permissions; // for the rest of the test
        },
        {}, DefaultState(), "", "saving %p without the lock", kDefaultFile, nullptr, {},
        [] { EXPECT_TRUE(std::filesystem::exists(LockPath())); }}),
    [](const testing::TestParamInfo<HostileCase>& info) { return "case" + std::to_string(info.index); });
// clang-format on

// A library just under the largest file the program reads: a save that would
// pass that bound fails like any failed save, so that the next start still
// reads the library instead of starting from the built-in one.
TEST(PreferencesFile, NoSaveWritesAFileTooLargeToReadBack) {
    std::string bytes = Lines(kDefaultFile) + "Big" + std::string(20, ',') + ",";
    bytes += std::string(fw::kMaxTextFileBytes - 10 - bytes.size(), '1') + "\n";
    WriteBytes(bytes);
    MainWindow& window = StartKelvara();
    testing_support::SaveInTheEditor(window, -1, [](VIwindow&) {});

    testing::internal::CaptureStderr();
    CloseMainWindow();
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  PreferencesFilePath() + ": larger than any text file of the program"),
              std::string::npos);
    EXPECT_TRUE(ReadBytes(PreferencesFilePath()) == bytes) << "the file changed";
    EXPECT_EQ(StateOf(StartKelvara()).menuRows,
              (std::vector<std::string>{"1N4004", "1N4148", "SS2H9 (Sch)", "Big"}));
}

// Text that reaches a field through the clipboard, a drop, an assistive tool
// or code: the field shows it without separators and line breaks, the circuit
// is read from what it shows, and the file stores the same, so every other
// setting keeps its place.
TEST(PreferencesFile, TextFromEveryRoadIsStoredWithoutSeparatorsOrLineBreaks) {
    MainWindow& window = StartKelvara();
    window.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.NativeWidget()));
    const auto edit = [&](const char* name) -> QLineEdit& {
        return *static_cast<QLineEdit*>(Find<fw::TextField>(window, name).NativeWidget());
    };

    QLineEdit& frequency = edit("EFLineFreq");
    frequency.setFocus();
    frequency.selectAll();
    // A Unicode space a paste brings (a medium mathematical space from a
    // formula) stays in the field and reads as a blank.
    QApplication::clipboard()->setText("\u205F50\r\n");
    QTest::keyClick(&frequency, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(frequency.text(), "\u205F50");

    QLineEdit& phase = edit("EFLinePhase");
    phase.selectAll();
    phase.del();
    QMimeData dropped;
    dropped.setText("90\n");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&phase, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&phase, &drop);
    EXPECT_EQ(phase.text(), "90");

    QAccessibleInterface* capacitor = QAccessible::queryAccessibleInterface(&edit("EFCapacitor"));
    ASSERT_NE(capacitor, nullptr);
    ASSERT_NE(capacitor->editableTextInterface(), nullptr);
    capacitor->editableTextInterface()->replaceText(0, 4, "3,300\n");
    EXPECT_EQ(Find<fw::TextField>(window, "EFCapacitor").Text(), "3300");

    Find<fw::TextField>(window, "EFLoadR").SetText("8\r2,");
    Find<fw::TextField>(window, "EFNp").SetText("2\n30");
    EXPECT_EQ(Find<fw::TextField>(window, "EFLoadR").Text(), "82");
    EXPECT_EQ(Find<fw::TextField>(window, "EFNp").Text(), "230");

    window.Setup();
    EXPECT_DOUBLE_EQ(window.C, 3300e-6);
    EXPECT_DOUBLE_EQ(window.LoadR, 82);
    EXPECT_DOUBLE_EQ(window.F, 50);

    CloseMainWindow();
    EXPECT_EQ(ReadPreferencesFile().front(), "1N4004,\u205F50,90,82,5,230,5,51,.2,3300,0");
    WindowState expected = DefaultState();
    expected.fields = {"\u205F50", "90", "82", "5", "230", "5", "51", ".2", "3300"};
    EXPECT_EQ(StateOf(StartKelvara()), expected);
}

} // namespace
