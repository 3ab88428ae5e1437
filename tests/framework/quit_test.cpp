// Quitting with real windows: every window closes first and runs its Close
// handler once, also when that handler quits itself; and the end of the
// runtime destroys what is left while Qt still stands.

#include "framework/application.h"
#include "framework/menu.h"
#include "framework/runtime.h"
#include "framework/window.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

std::vector<std::string>& CloseLog() {
    static std::vector<std::string> log;
    return log;
}

// Like an application's main window: closing it saves and quits.
class MainWindow : public fw::Window {
public:
    MainWindow() { InstallEventHandler("Close", fw::Delegate(this, &MainWindow::Closed)); }

private:
    void Closed() {
        CloseLog().push_back("main");
        fw::Quit(0);
    }
};

// A second window that only notes its closing.
class EditorWindow : public fw::Window {
public:
    EditorWindow() { InstallEventHandler("Close", fw::Delegate(this, &EditorWindow::Closed)); }

private:
    void Closed() { CloseLog().push_back("editor"); }
};

fw::Ref<fw::MenuBar> QuitMenu() {
    auto bar = fw::New<fw::MenuBar>();
    auto file = fw::New<fw::MenuItem>();
    file->SetName("FileMenu");
    file->SetText("&File");
    bar->Append(file);
    auto quit = fw::New<fw::QuitMenuItem>();
    quit->SetName("FileQuit");
    quit->SetAutoEnable(true);
    quit->SetText("Quit");
    quit->SetKeyboardShortcut("Cmd+Q");
    file->Append(quit);
    return bar;
}

struct QuitCase {
    const char* label;
    std::function<void(MainWindow&, EditorWindow&)> act;
    std::vector<std::string> closes;
    int status;
};

void PrintTo(const QuitCase& row, std::ostream* out) {
    *out << row.label;
}

const std::vector<QuitCase>& QuitCases() {
    static const std::vector<QuitCase> cases = {
        {"QuitClosesEveryWindowFirst",
         [](MainWindow&, EditorWindow&) { fw::Quit(3); },
         {"main", "editor"},
         3},
        {"ClosingTheMainWindowQuits",
         [](MainWindow& main, EditorWindow&) { main.Close(); },
         {"main", "editor"},
         0},
        {"CloseBoxOfTheMainWindowQuits",
         [](MainWindow& main, EditorWindow&) { main.NativeWidget()->close(); },
         {"main", "editor"},
         0},
        {"WindowClosedBeforeIsNotClosedAgain",
         [](MainWindow&, EditorWindow& editor) {
             editor.Close();
             fw::Quit(2);
         },
         {"editor", "main"},
         2},
        {"HiddenWindowClosesToo",
         [](MainWindow&, EditorWindow& editor) {
             editor.Hide();
             fw::Quit(0);
         },
         {"main", "editor"},
         0},
        {"QuitTwiceClosesOnce",
         [](MainWindow&, EditorWindow&) {
             fw::Quit(4);
             fw::Quit(4);
         },
         {"main", "editor"},
         4},
        {"CtrlQOnTheMainWindow",
         [](MainWindow& main, EditorWindow&) {
             main.Show();
             ASSERT_TRUE(QTest::qWaitForWindowActive(main.NativeWidget()));
             QTest::keyClick(main.NativeWidget(), Qt::Key_Q, Qt::ControlModifier);
         },
         {"main", "editor"},
         0},
        {"QuitInsideTheEventLoop",
         [](MainWindow& main, EditorWindow&) {
             bool safetyNetFired = false;
             QTimer::singleShot(5000, QCoreApplication::instance(), [&safetyNetFired] {
                 safetyNetFired = true;
                 QCoreApplication::exit(99);
             });
             QTimer::singleShot(0, QCoreApplication::instance(), [&main] { main.Close(); });
             fw::RuntimeRun();
             EXPECT_FALSE(safetyNetFired) << "the event loop did not end";
         },
         {"main", "editor"},
         0},
    };
    return cases;
}

class Quitting : public testing::TestWithParam<QuitCase> {};

TEST_P(Quitting, ClosesEveryWindowOnceBeforeTheEnd) {
    const QuitCase& row = GetParam();
    auto app = fw::New<fw::Application>();
    app->SetMenuBar(QuitMenu());
    fw::RuntimeRegisterAppObject(app);

    MainWindow& main = fw::ImplicitInstance<MainWindow>();
    EditorWindow& editor = fw::ImplicitInstance<EditorWindow>();
    ASSERT_EQ(fw::LiveWindows().size(), 2u);
    CloseLog().clear();

    row.act(main, editor);

    EXPECT_EQ(CloseLog(), row.closes);
    EXPECT_TRUE(fw::QuitRequested());
    EXPECT_EQ(fw::RuntimeExitStatus(), row.status);
    EXPECT_TRUE(fw::LiveWindows().empty());
    EXPECT_EQ(fw::LiveInstance<MainWindow>(), nullptr);
    // The event loop, when it runs now, ends at once.
    fw::RuntimeRun();
}

INSTANTIATE_TEST_SUITE_P(Ways, Quitting, testing::ValuesIn(QuitCases()),
                         [](const auto& info) { return std::string(info.param.label); });

int& WindowsDestroyed() {
    static int count = 0;
    return count;
}

// A window that notes its destruction.
class CountedWindow : public fw::Window {
public:
    ~CountedWindow() override { ++WindowsDestroyed(); }
};

TEST(RuntimeEnd, DestroysTheWindowsLeftAndTheApplicationOnce) {
    fw::ImplicitInstance<CountedWindow>().Show();
    fw::Quit(6);

    EXPECT_EQ(fw::RuntimeExit(), 6);
    EXPECT_EQ(WindowsDestroyed(), 1);
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
    // Ending again only answers the status.
    EXPECT_EQ(fw::RuntimeExit(), 6);

    // The test program goes on with a runtime of its own.
    static int argc = 1;
    static char name[] = "framework_tests";
    static char* argv[] = {name, nullptr};
    fw::RuntimeInit(argc, argv);
    EXPECT_NE(QCoreApplication::instance(), nullptr);
}

} // namespace
