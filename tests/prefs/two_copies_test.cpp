// Two copies of the program on one preferences folder, as two real
// processes: each is this test program again, running one of the disabled
// "copy" tests below in a folder the parent shares with it.

#include "tests/support/kelvara_fixture.h"
#include "tests/support/test_process.h"

#include "diode_editor/vi_window.h"
#include "prefs/save_seam.h"

#include "framework/file_lock.h"
#include "framework/listbox.h"
#include "framework/text_field.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include <signal.h>

using testing_support::CloseMainWindow;
using testing_support::Find;
using testing_support::PreferencesFilePath;
using testing_support::ReadPreferencesFile;
using testing_support::SaveInTheEditor;
using testing_support::StartKelvara;
using testing_support::WaitForFile;

namespace {

constexpr const char* kSharedFolderVariable = "KELVARA_TEST_SHARED_CONFIG";
constexpr int kCopyTimeoutMs = 60000;

std::string SharedFolder() {
    const char* folder = std::getenv(kSharedFolderVariable);
    return folder != nullptr ? folder : "";
}

// A copy works in the folder its parent shares with it.
void JoinSharedFolder() {
    ASSERT_FALSE(SharedFolder().empty()) << "run only by the two-copies tests";
    setenv("XDG_CONFIG_HOME", SharedFolder().c_str(), 1);
}

void Touch(const std::string& path) {
    std::ofstream{path};
}

// Starts this test program running one copy test, in the shared folder.
std::unique_ptr<QProcess> StartCopy(const char* test, const std::string& sharedFolder) {
    return testing_support::StartThisProgram(test, kSharedFolderVariable, sharedFolder);
}

// Names a diode in the editor.
auto Named(const char* name) {
    return [name](VIwindow& editor) { Find<fw::TextField>(editor, "EFNewDiode").SetText(name); };
}

void ExpectEndsWell(QProcess& copy) {
    ASSERT_TRUE(copy.waitForFinished(kCopyTimeoutMs));
    EXPECT_EQ(copy.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(copy.exitCode(), 0);
}

} // namespace

// Copy A: changes a point of "1N4004", deletes "1N4148", adds a diode and
// closes. When told to, it stops while saving, right after reading the file
// again, until its parent lets it go on.
TEST(DISABLED_Copy, EditsTheLibrary) {
    JoinSharedFolder();
    MainWindow& window = StartKelvara();
    SaveInTheEditor(window, 0, [](VIwindow& editor) {
        Find<fw::Listbox>(editor, "VIListbox").SetCell(0, 0, ".45");
    });
    SaveInTheEditor(window, 1, Named(""));
    SaveInTheEditor(window, -1, Named("OnlyInA"));
    ASSERT_EQ(window.Prefs.size(), 3u);
    if (std::filesystem::exists(SharedFolder() + "/stall")) {
        prefs::AfterRereadingForSave = [stalled = false]() mutable {
            if (!std::exchange(stalled, true)) {
                Touch(SharedFolder() + "/A.stalled");
                std::raise(SIGSTOP);
            }
        };
    }
    CloseMainWindow();
}

// Copy B: started before A saves, it changes a field and adds a diode when
// its parent says so, and closes.
TEST(DISABLED_Copy, EditsWhenTold) {
    JoinSharedFolder();
    MainWindow& window = StartKelvara();
    Touch(SharedFolder() + "/B.started");
    ASSERT_TRUE(WaitForFile(SharedFolder() + "/B.go"));
    Find<fw::TextField>(window, "EFLoadR").SetText("47");
    SaveInTheEditor(window, -1, Named("OnlyInB"));
    CloseMainWindow();
}

// Copy C: started before the others, it changes nothing and closes when its
// parent says so.
TEST(DISABLED_Copy, StaysIdle) {
    JoinSharedFolder();
    StartKelvara();
    Touch(SharedFolder() + "/C.started");
    ASSERT_TRUE(WaitForFile(SharedFolder() + "/C.go"));
    CloseMainWindow();
}

// A copy that crashes while it holds the lock.
TEST(DISABLED_Copy, CrashesHoldingTheLock) {
    JoinSharedFolder();
    static fw::FileLock lock(PreferencesFilePath());
    ASSERT_TRUE(lock.TryLock(std::chrono::milliseconds(0)));
    std::_Exit(0);
}

namespace {

const std::string kChanged1N4004 =
    "1N4004,.45,0,.7,.01,.8,.12,.9,.7,1,2,1.1,3.2,1.2,5.2,1.3,7.3,1.4,10.5,,";

// The shared folder for the copies, with the file already there or not.
std::string SharedFolderWith(const std::vector<std::string>& file) {
    const std::string shared = std::string(std::getenv("XDG_CONFIG_HOME")) + "/shared";
    std::filesystem::create_directories(shared);
    if (!file.empty()) {
        std::ofstream out(shared + "/KelvaraPrefs.txt");
        for (const std::string& line : file) {
            out << line << "\n";
        }
    }
    return shared;
}

// What the folder's file holds, and what a start on it shows: the load and
// the library saved, with a diode selected whose points are all empty.
void ExpectSaved(const std::string& shared, const std::vector<std::string>& file, const char* loadR,
                 const std::vector<std::string>& menuRows, int selected) {
    setenv("XDG_CONFIG_HOME", shared.c_str(), 1);
    EXPECT_EQ(ReadPreferencesFile(), file);
    testing_support::WindowState expected = testing_support::DefaultState();
    expected.fields[2] = loadR;
    expected.menuRows = menuRows;
    expected.selected = selected;
    expected.table.assign(10, "|");
    EXPECT_EQ(testing_support::StateOf(StartKelvara()), expected);
}

} // namespace

// Three copies start without a file. The built-in diodes are what each
// started with, so B, which did not touch them, brings back none that A
// deleted and doubles none that A changed; C, which changed nothing at all,
// closes last and undoes neither's design.
TEST(TwoCopies, NeitherUndoesWhatTheOtherSaved) {
    const std::string shared = SharedFolderWith({});
    std::unique_ptr<QProcess> c = StartCopy("DISABLED_Copy.StaysIdle", shared);
    ASSERT_TRUE(WaitForFile(shared + "/C.started"));
    std::unique_ptr<QProcess> b = StartCopy("DISABLED_Copy.EditsWhenTold", shared);
    ASSERT_TRUE(WaitForFile(shared + "/B.started"));
    std::unique_ptr<QProcess> a = StartCopy("DISABLED_Copy.EditsTheLibrary", shared);
    ExpectEndsWell(*a);
    Touch(shared + "/B.go");
    ExpectEndsWell(*b);
    Touch(shared + "/C.go");
    ExpectEndsWell(*c);

    const std::vector<std::string> defaults = testing_support::kDefaultFile;
    ExpectSaved(shared,
                {"OnlyInB,60,0,47,5,120,5,51,.2,3300,0", kChanged1N4004, defaults[3],
                 "OnlyInB" + std::string(20, ','), "OnlyInA" + std::string(20, ',')},
                "47", {"1N4004", "SS2H9 (Sch)", "OnlyInB", "OnlyInA"}, 2);
}

// A holds the lock and stands still between reading the file again and
// replacing it. B gives up waiting for the lock and saves its diode; when A
// goes on, it finds the file changed and merges again, so B's diode stays.
TEST(TwoCopies, ACopyThatStallsWhileSavingKeepsTheOthersSave) {
    const std::string shared = SharedFolderWith(testing_support::kDefaultFile);
    Touch(shared + "/stall");
    std::unique_ptr<QProcess> b = StartCopy("DISABLED_Copy.EditsWhenTold", shared);
    ASSERT_TRUE(WaitForFile(shared + "/B.started"));
    std::unique_ptr<QProcess> a = StartCopy("DISABLED_Copy.EditsTheLibrary", shared);
    ASSERT_TRUE(WaitForFile(shared + "/A.stalled"));
    Touch(shared + "/B.go");
    ExpectEndsWell(*b);
    ::kill(static_cast<pid_t>(a->processId()), SIGCONT);
    ExpectEndsWell(*a);

    const std::vector<std::string> defaults = testing_support::kDefaultFile;
    ExpectSaved(shared,
                {"OnlyInA,60,0,12,5,120,5,51,.2,3300,0", kChanged1N4004, defaults[3],
                 "OnlyInA" + std::string(20, ','), "OnlyInB" + std::string(20, ',')},
                "12", {"1N4004", "SS2H9 (Sch)", "OnlyInA", "OnlyInB"}, 2);
}

TEST(TwoCopies, ALockLeftByACrashedCopyIsTakenOver) {
    const std::string folder = std::getenv("XDG_CONFIG_HOME");
    std::unique_ptr<QProcess> crashed = StartCopy("DISABLED_Copy.CrashesHoldingTheLock", folder);
    ExpectEndsWell(*crashed);
    ASSERT_TRUE(std::filesystem::exists(PreferencesFilePath() + ".lock"));

    StartKelvara();
    testing::internal::CaptureStderr();
    CloseMainWindow();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(ReadPreferencesFile().size(), 4u);
    EXPECT_FALSE(std::filesystem::exists(PreferencesFilePath() + ".lock"));
}
