// The application object, declared document types, quitting and the alert
// sound.

#include "framework/application.h"

#include "framework/internal/qt_bridge.h"
#include "framework/internal/runtime_state.h"

#include <QApplication>

#include <deque>

namespace fw {
namespace {

Ref<Application>& AppObject() {
    static Ref<Application> app;
    return app;
}

// Copies of the registered types: the framework keeps them as declared, even
// after the system lets its own object go. A deque keeps their addresses.
std::deque<FileType>& FileTypes() {
    static std::deque<FileType> types;
    return types;
}

int& Beeps() {
    static int count = 0;
    return count;
}

} // namespace

void RuntimeRegisterAppObject(Ref<Application> app) {
    AppObject() = std::move(app);
}

Ref<Application> App() {
    return AppObject();
}

std::string FileType::Register() {
    if (!registered_) {
        registered_ = true;
        FileTypes().push_back(*this);
    }
    return name_;
}

std::vector<const FileType*> RegisteredFileTypes() {
    std::vector<const FileType*> types;
    for (const FileType& type : FileTypes()) {
        types.push_back(&type);
    }
    return types;
}

void Quit(int code) {
    internal::RuntimeState& state = internal::Runtime();
    // The main window's Close handler quits too; while the windows are being
    // closed here, that inner request is already being served.
    if (state.quitInProgress) {
        return;
    }
    state.quitRequested = true;
    state.quitCode = code;
    state.quitInProgress = true;
    struct Progress {
        bool& flag;
        ~Progress() { flag = false; }
    } progress{state.quitInProgress};
    try {
        internal::CloseAllWindows();
    } catch (...) {
        // A window that fails to close must not keep the application alive.
        internal::ReportHandlerException(std::current_exception());
    }
    if (state.loopRunning) {
        QCoreApplication::exit(code);
    }
}

bool QuitRequested() {
    return internal::Runtime().quitRequested;
}

void Beep() {
    ++Beeps();
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QApplication::beep();
    }
}

int BeepCount() {
    return Beeps();
}

} // namespace fw
