// Start-up, the event loop, quitting and the exit status, the application
// object, document types and the alert sound.

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/internal/qt_bridge.h"
#include "framework/menu.h"
#include "framework/runtime.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Starts a runtime again after RuntimeExit ended one, so that the tests that
// follow in this process have an application.
void RestartRuntime() {
    static int argc = 1;
    static char name[] = "framework_tests";
    static char* argv[] = {name, nullptr};
    fw::RuntimeInit(argc, argv);
}

// The shape of the program's main: start-up, the loop, the report of an
// exception that escaped either, and the end of the runtime with its status.
int RunProgram(const std::function<void()>& startup) {
    try {
        fw::RunFrameworkInitialization(startup);
        fw::RuntimeRun();
    } catch (...) {
        fw::RuntimeUnhandledException(std::current_exception());
    }
    const int status = fw::RuntimeExit();
    EXPECT_EQ(QCoreApplication::instance(), nullptr) << "the runtime did not end";
    RestartRuntime();
    return status;
}

// Ends a loop that a faulty quit would leave running, and says so.
struct LoopSafetyNet {
    LoopSafetyNet() {
        QTimer::singleShot(5000, QCoreApplication::instance(), [this] {
            fired = true;
            QCoreApplication::exit(99);
        });
    }
    bool fired = false;
};

void Later(std::function<void()> action) {
    QTimer::singleShot(0, QCoreApplication::instance(), std::move(action));
}

// An object whose handling of one event fails.
class FailingObject : public QObject {
protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            throw std::runtime_error("handler failed");
        }
        return QObject::event(event);
    }
};

void PostFailingEvent() {
    static FailingObject target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
}

struct ProgramCase {
    const char* label;
    std::function<void()> startup;
    int exitStatus;
    int reports;
};

void PrintTo(const ProgramCase& row, std::ostream* out) {
    *out << row.label;
}

const std::vector<ProgramCase>& ProgramCases() {
    static const std::vector<ProgramCase> cases = {
        {"QuitDuringStartupSkipsTheLoop", [] { fw::Quit(7); }, 7, 0},
        {"QuitFromTheLoop", [] { Later([] { fw::Quit(3); }); }, 3, 0},
        {"QuitWithZero", [] { Later([] { fw::Quit(0); }); }, 0, 0},
        {"NegativeCode", [] { Later([] { fw::Quit(-2); }); }, -2, 0},
        {"StartupFailureEndsWithOne",
         [] {
             Later([] { fw::Quit(0); });
             throw fw::NilObjectException("no FileMenu in the menu bar");
         },
         1, 1},
        {"StartupFailureAfterQuitStillOne",
         [] {
             fw::Quit(5);
             throw std::runtime_error("late failure");
         },
         1, 1},
        {"HandlerFailuresDuringTheLoopGoOn",
         [] {
             Later([] {
                 fw::internal::ReportHandlerException(
                     std::make_exception_ptr(fw::OutOfBoundsException("row 10")));
                 fw::RuntimeUnhandledException(
                     std::make_exception_ptr(fw::NilObjectException("no picture")));
             });
             Later([] { fw::Quit(4); });
         },
         4, 2},
        {"FailingEventInTheLoopGoesOn",
         [] {
             PostFailingEvent();
             PostFailingEvent();
             Later([] { fw::Quit(0); });
         },
         0, 2},
        {"HandlerFailureDuringStartupGoesOn",
         [] {
             fw::internal::ReportHandlerException(
                 std::make_exception_ptr(fw::NilObjectException("Open handler")));
             Later([] { fw::Quit(0); });
         },
         0, 1},
        {"SecondQuitAfterTheFirstTakesItsCode",
         [] {
             Later([] {
                 fw::Quit(8);
                 fw::Quit(9);
             });
         },
         9, 0},
    };
    return cases;
}

class Program : public testing::TestWithParam<ProgramCase> {};

TEST_P(Program, EndsWithTheExpectedStatus) {
    const ProgramCase& row = GetParam();
    LoopSafetyNet net;
    const int reportsBefore = fw::UnhandledExceptionCount();
    testing::internal::CaptureStderr();
    const int status = RunProgram(row.startup);
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(net.fired) << "the event loop did not end";
    EXPECT_EQ(status, row.exitStatus);
    EXPECT_EQ(fw::UnhandledExceptionCount() - reportsBefore, row.reports);
    EXPECT_TRUE(fw::QuitRequested() || row.exitStatus == 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, Program, testing::ValuesIn(ProgramCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(Startup, RoutineRunsOnceAndItsFailurePropagates) {
    int calls = 0;
    fw::RunFrameworkInitialization([&calls] { ++calls; });
    EXPECT_EQ(calls, 1);
    EXPECT_THROW(fw::RunFrameworkInitialization([] { throw fw::NilObjectException("startup"); }),
                 fw::NilObjectException);
    EXPECT_THROW(fw::RunFrameworkInitialization(nullptr), fw::NilObjectException);
}

TEST(Startup, FailedStartupNeverEntersTheLoop) {
    bool loopRan = false;
    const int status = RunProgram([&loopRan] {
        Later([&loopRan] {
            loopRan = true;
            fw::Quit(0);
        });
        throw fw::NilObjectException("no EditMenu in the menu bar");
    });
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(loopRan);
    EXPECT_FALSE(fw::QuitRequested());
}

TEST(Startup, QuitBeforeTheLoopReturnsAtOnce) {
    LoopSafetyNet net;
    fw::Quit(0);
    bool loopRan = false;
    Later([&loopRan] { loopRan = true; });
    fw::RuntimeRun();
    EXPECT_FALSE(loopRan);
    EXPECT_FALSE(net.fired);
    // Quitting again without a loop is harmless.
    EXPECT_NO_THROW(fw::Quit(0));
    EXPECT_TRUE(fw::QuitRequested());
}

TEST(ApplicationObject, NoneBeforeRegistrationThenTheRegisteredOne) {
    EXPECT_FALSE(fw::App());
    EXPECT_THROW(fw::App()->MenuBar(), fw::NilObjectException);

    auto app = fw::New<fw::Application>();
    auto menuBar = fw::New<fw::MenuBar>();
    app->SetMenuBar(menuBar);
    fw::RuntimeRegisterAppObject(app);
    EXPECT_TRUE(fw::App() == fw::Ref<fw::Application>(app));
    EXPECT_TRUE(fw::App()->MenuBar() == menuBar);
}

// A sequence of document types converted to text, and what the framework
// lists afterwards.
struct FileTypeCase {
    const char* label;
    std::vector<std::string> conversions; // names, in order; one type per distinct name
    std::vector<std::string> registered;
};

void PrintTo(const FileTypeCase& row, std::ostream* out) {
    *out << row.label;
}

const std::vector<FileTypeCase>& FileTypeCases() {
    static const std::vector<FileTypeCase> cases = {
        {"None", {}, {}},
        {"Once", {"text"}, {"text"}},
        {"SameTypeTwice", {"text", "text"}, {"text"}},
        {"SameTypeThrice", {"text", "text", "text"}, {"text"}},
        {"TwoTypesInOrder", {"text", "csv", "text"}, {"text", "csv"}},
        {"EmptyName", {""}, {""}},
    };
    return cases;
}

class FileTypes : public testing::TestWithParam<FileTypeCase> {};

TEST_P(FileTypes, EachTypeIsRegisteredOnceAndConversionGivesItsName) {
    const FileTypeCase& row = GetParam();
    std::vector<std::unique_ptr<fw::FileType>> types;
    auto typeNamed = [&types](const std::string& name) -> fw::FileType& {
        for (auto& type : types) {
            if (type->Name() == name) {
                return *type;
            }
        }
        types.push_back(std::make_unique<fw::FileType>());
        types.back()->SetName(name);
        return *types.back();
    };
    for (const std::string& name : row.conversions) {
        EXPECT_EQ(typeNamed(name).Register(), name);
    }
    // The framework keeps the declarations after the system lets go of them.
    types.clear();
    std::vector<std::string> listed;
    for (const fw::FileType* type : fw::RegisteredFileTypes()) {
        listed.push_back(type->Name());
    }
    EXPECT_EQ(listed, row.registered);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileTypes, testing::ValuesIn(FileTypeCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(FileTypeDeclaration, KeepsEveryPropertyAsDeclared) {
    fw::FileType text;
    text.SetName("text");
    text.SetExtensions(".txt");
    text.SetMacType("TEXT");
    text.SetMacCreator("????");
    EXPECT_EQ(text.Register(), "text");
    const auto registered = fw::RegisteredFileTypes();
    ASSERT_EQ(registered.size(), 1u);
    EXPECT_EQ(registered[0]->Name(), "text");
    EXPECT_EQ(registered[0]->Extensions(), ".txt");
    EXPECT_EQ(registered[0]->MacType(), "TEXT");
    EXPECT_EQ(registered[0]->MacCreator(), "????");
}

TEST(Beep, EachBeepIsCounted) {
    EXPECT_EQ(fw::BeepCount(), 0);
    fw::Beep();
    fw::Beep();
    EXPECT_EQ(fw::BeepCount(), 2);
}

} // namespace
