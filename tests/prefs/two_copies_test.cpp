// Two copies of the program on one preferences folder, as two real
// processes: each is this test program again, running one of the disabled
// "copy" tests below in a folder the parent shares with it.

#include "tests/support/kelvara_fixture.h"

#include "diode_editor/vi_window.h"

#include "framework/file_lock.h"
#include "framework/push_button.h"
#include "framework/text_field.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

using testing_support::CloseMainWindow;
using testing_support::Find;
using testing_support::PreferencesFilePath;
using testing_support::ReadPreferencesFile;
using testing_support::StartKelvara;

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

// Waits for a file that another process makes; false after a minute.
bool WaitForFile(const std::string& path) {
    for (int waited = 0; waited < kCopyTimeoutMs; waited += 10) {
        if (std::filesystem::exists(path)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Starts this test program running one copy test, in the shared folder.
std::unique_ptr<QProcess> StartCopy(const char* test, const std::string& sharedFolder) {
    auto copy = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kSharedFolderVariable, QString::fromStdString(sharedFolder));
    copy->setProcessEnvironment(environment);
    copy->setProcessChannelMode(QProcess::ForwardedChannels);
    copy->start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", QString("--gtest_filter=") + test});
    EXPECT_TRUE(copy->waitForStarted(kCopyTimeoutMs));
    return copy;
}

void ExpectEndsWell(QProcess& copy) {
    ASSERT_TRUE(copy.waitForFinished(kCopyTimeoutMs));
    EXPECT_EQ(copy.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(copy.exitCode(), 0);
}

} // namespace

// Copy A: adds a diode through the editor and closes.
TEST(DISABLED_Copy, AddsADiode) {
    JoinSharedFolder();
    MainWindow& window = StartKelvara();
    Find<fw::PushButton>(window, "NewDiodePB").Push();
    VIwindow& editor = VIwindow::Instance();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.NativeWidget()));
    testing_support::ProcessEvents();
    Find<fw::TextField>(editor, "EFNewDiode").SetText("OnlyInA");
    Find<fw::PushButton>(editor, "SavePB").Push();
    ASSERT_EQ(window.Prefs.back().rfind("OnlyInA,", 0), 0u);
    CloseMainWindow();
}

// Copy B: started before A saves, closes after it with a field changed.
TEST(DISABLED_Copy, ChangesAFieldAfterTheOtherClosed) {
    JoinSharedFolder();
    MainWindow& window = StartKelvara();
    Touch(SharedFolder() + "/B.started");
    ASSERT_TRUE(WaitForFile(SharedFolder() + "/B.go"));
    Find<fw::TextField>(window, "EFLoadR").SetText("47");
    CloseMainWindow();
}

// A copy that crashes while it holds the lock.
TEST(DISABLED_Copy, CrashesHoldingTheLock) {
    JoinSharedFolder();
    static fw::FileLock lock(PreferencesFilePath());
    ASSERT_TRUE(lock.TryLock(std::chrono::milliseconds(0)));
    std::_Exit(0);
}

TEST(TwoCopies, NeitherLosesWhatTheOtherSaved) {
    const std::string shared = std::string(std::getenv("XDG_CONFIG_HOME")) + "/shared";
    std::filesystem::create_directories(shared);

    std::unique_ptr<QProcess> b =
        StartCopy("DISABLED_Copy.ChangesAFieldAfterTheOtherClosed", shared);
    ASSERT_TRUE(WaitForFile(shared + "/B.started"));
    std::unique_ptr<QProcess> a = StartCopy("DISABLED_Copy.AddsADiode", shared);
    ExpectEndsWell(*a);
    Touch(shared + "/B.go");
    ExpectEndsWell(*b);

    setenv("XDG_CONFIG_HOME", shared.c_str(), 1);
    const std::vector<std::string> file = ReadPreferencesFile();
    ASSERT_EQ(file.size(), 5u);
    EXPECT_EQ(file.front(), "1N4004,60,0,47,5,120,5,51,.2,3300,0");
    EXPECT_EQ(file.back(), "OnlyInA,,,,,,,,,,,,,,,,,,,,");

    testing_support::WindowState expected = testing_support::DefaultState();
    expected.fields[2] = "47";
    expected.menuRows.push_back("OnlyInA");
    EXPECT_EQ(testing_support::StateOf(StartKelvara()), expected);
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
