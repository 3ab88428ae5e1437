// The preferences file against what a new user's machine may hold in its
// place, and against text that reaches the input fields by every road: the
// program starts, shows what it can, and a start after the close shows the
// same again; nothing it cannot keep is written.

#include "tests/support/kelvara_fixture.h"

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

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

using testing_support::CloseMainWindow;
using testing_support::DefaultState;
using testing_support::Find;
using testing_support::kDefaultFile;
using testing_support::PreferencesFilePath;
using testing_support::ReadPreferencesFile;
using testing_support::StartKelvara;
using testing_support::StateOf;
using testing_support::WindowState;

namespace {

void WriteBytes(const std::string& bytes) {
    std::ofstream(PreferencesFilePath(), std::ios::binary | std::ios::trunc) << bytes;
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

WindowState StateWith(std::vector<std::string> menuRows, int selected,
                      std::vector<std::string> table) {
    WindowState state = DefaultState();
    state.menuRows = std::move(menuRows);
    state.selected = selected;
    state.table = std::move(table);
    return state;
}

struct HostileCase {
    const char* what;
    std::function<void()> place; // puts the thing where the file belongs
    std::function<void()> beforeClose;
    WindowState shown;
    const char* closeReport; // what standard error says at close, if anything
    std::vector<std::string> fileAfterClose;

    friend void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.what; }
};

class HostileFile : public testing::TestWithParam<HostileCase> {};

TEST_P(HostileFile, StartsAtOnceAndComesBackAsShown) {
    const HostileCase& c = GetParam();
    c.place();
    ASSERT_EQ(StateOf(StartKelvara()), c.shown);
    if (c.beforeClose) {
        c.beforeClose();
    }
    testing::internal::CaptureStderr();
    CloseMainWindow();
    const std::string report = testing::internal::GetCapturedStderr();
    if (*c.closeReport == '\0') {
        EXPECT_EQ(report, "");
        EXPECT_EQ(ReadPreferencesFile(), c.fileAfterClose);
    } else {
        EXPECT_NE(report.find(PreferencesFilePath() + ": " + c.closeReport), std::string::npos)
            << report;
    }
    EXPECT_EQ(StateOf(StartKelvara()), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    PreferencesFile, HostileFile,
    testing::Values(
        HostileCase{"3000 random bytes are no settings and are not written back",
                    [] { WriteBytes(RandomBytes(3000)); },
                    {},
                    DefaultState(),
                    "",
                    kDefaultFile},
        HostileCase{"a pipe is never opened for reading nor replaced",
                    [] { ASSERT_EQ(mkfifo(PreferencesFilePath().c_str(), 0600), 0); },
                    {},
                    DefaultState(),
                    "not a regular file",
                    {}},
        HostileCase{"a link to an endless device is not read",
                    [] { std::filesystem::create_symlink("/dev/zero", PreferencesFilePath()); },
                    // The saving side of devices is the pipe's case; the link
                    // goes, so that no fault here could ever write to a device.
                    [] { std::filesystem::remove(PreferencesFilePath()); }, DefaultState(), "",
                    kDefaultFile},
        HostileCase{"a link into a missing folder fails the save with its reason",
                    [] {
                        std::filesystem::create_symlink(PreferencesFilePath() + ".d/x",
                                                        PreferencesFilePath());
                    },
                    {},
                    DefaultState(),
                    "No such file or directory",
                    {}},
        HostileCase{
            "Latin-1 names keep their selection",
            [] {
                WriteBytes("Diod\xE9,60,0,12,5,120,5,51,.2,3300,0\n1N4004,.5,0\n"
                           "Diod\xE9,.6,0,.9,1\n");
            },
            {},
            StateWith({"1N4004", "Diod\u00E9"}, 1,
                      {".6|0", ".9|1", "|", "|", "|", "|", "|", "|", "|", "|"}),
            "",
            {"Diod\u00E9,60,0,12,5,120,5,51,.2,3300,0", "1N4004,.5,0", "Diod\u00E9,.6,0,.9,1"}},
        HostileCase{
            "a field and a name far longer than 32767 characters stay whole",
            [] {
                WriteBytes(kLongText + ",60,0," + kLongText + ",5,120,5,51,.2,3300,0\n" +
                           kLongText + ",.5,0\n");
            },
            {},
            [] {
                WindowState state = StateWith(
                    {kLongText}, 0, {".5|0", "|", "|", "|", "|", "|", "|", "|", "|", "|"});
                state.fields[2] = kLongText;
                return state;
            }(),
            "",
            {kLongText + ",60,0," + kLongText + ",5,120,5,51,.2,3300,0", kLongText + ",.5,0"}}),
    [](const testing::TestParamInfo<HostileCase>& info) {
        return "case" + std::to_string(info.index);
    });

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
    QApplication::clipboard()->setText("50\r\n");
    QTest::keyClick(&frequency, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(frequency.text(), "50");

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

    CloseMainWindow();
    EXPECT_EQ(ReadPreferencesFile().front(), "1N4004,50,90,82,5,230,5,51,.2,3300,0");
    WindowState expected = DefaultState();
    expected.fields = {"50", "90", "82", "5", "230", "5", "51", ".2", "3300"};
    EXPECT_EQ(StateOf(StartKelvara()), expected);
}

} // namespace
