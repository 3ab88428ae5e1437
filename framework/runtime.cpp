// Start-up, the event loop and the end of the runtime.

#include "framework/runtime.h"

#include "framework/exceptions.h"
#include "framework/internal/qt_bridge.h"
#include "framework/internal/runtime_state.h"
#include "framework/system_functions.h"

#include <QApplication>

#include <csignal>
#include <memory>
#include <string>
#include <vector>

namespace fw {
namespace {

// The application of the framework. An exception that leaves an event
// handler must not travel on through Qt's event loop; it ends that handler
// only and goes to the unhandled-exception report, and the program goes on.
class FrameworkApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            internal::ReportHandlerException(std::current_exception());
            return false;
        }
    }
};

} // namespace

namespace internal {

RuntimeState& Runtime() {
    static RuntimeState state;
    return state;
}

void EnsureApplication(int& argc, char** argv) {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    // QApplication keeps a reference to argc and the argv array for its whole
    // life, so both are copied into storage that outlives it.
    static std::vector<std::string> arguments;
    static std::vector<char*> argumentPointers;
    static int argumentCount = 0;
    arguments.clear();
    for (int i = 0; i < argc && argv != nullptr && argv[i] != nullptr; ++i) {
        arguments.emplace_back(argv[i]);
    }
    if (arguments.empty()) {
        arguments.emplace_back("kelvara");
    }
    argumentPointers.clear();
    for (std::string& argument : arguments) {
        argumentPointers.push_back(argument.data());
    }
    argumentPointers.push_back(nullptr);
    argumentCount = static_cast<int>(arguments.size());

    // The application lives until the process ends: windows held by
    // module-level objects are released during static destruction, and
    // their widgets need the application while they go.
    new FrameworkApplication(argumentCount, argumentPointers.data());
}

} // namespace internal

void RuntimeInit(int& argc, char** argv) {
    // A write beyond the file size limit then fails like any other failed
    // write, and the program goes on with the old file, instead of ending.
    std::signal(SIGXFSZ, SIG_IGN);
    internal::EnsureApplication(argc, argv);
    RegisterLibraryFunction<int(bool)>("HMSetHelpTagsDisplayed", "Carbon.framework",
                                       [](bool displayed) {
                                           SetHelpTagsDisplayed(displayed);
                                           return 0;
                                       });
}

void RunFrameworkInitialization(const std::function<void()>& startup) {
    int argc = 0;
    internal::EnsureApplication(argc, nullptr);
    if (!startup) {
        throw NilObjectException("no start-up routine was given to the framework");
    }
    startup();
}

void RuntimeRun() {
    internal::RuntimeState& state = internal::Runtime();
    if (state.quitRequested || QCoreApplication::instance() == nullptr) {
        return;
    }
    // Clears the flag also when an exception leaves the loop.
    struct LoopScope {
        explicit LoopScope(bool& running)
            : running_(running) {
            running_ = true;
        }
        ~LoopScope() { running_ = false; }
        bool& running_;
    } scope(state.loopRunning);
    QApplication::exec();
}

int RuntimeExitStatus() {
    const internal::RuntimeState& state = internal::Runtime();
    if (state.endedByException) {
        return 1;
    }
    return state.quitCode;
}

int RuntimeExit() {
    internal::WaitForFatalReport();
    const int status = RuntimeExitStatus();
    // Qt's per-thread data is gone once main has returned, so every widget
    // must go before: deleting the application runs the framework's clean-up
    // routines, which destroy the windows, while Qt still stands. An
    // application that the framework did not make is left to its maker.
    if (auto* application = dynamic_cast<FrameworkApplication*>(QCoreApplication::instance())) {
        internal::DeleteReports();
        delete application;
    }
    return status;
}

} // namespace fw
