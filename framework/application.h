#pragma once

#include "framework/ref.h"

#include <string>
#include <string_view>
#include <vector>

namespace fw {

class MenuBar;

// The application object. A system derives its own and registers one
// instance with RuntimeRegisterAppObject.
class Application {
public:
    virtual ~Application() = default;

    Ref<fw::MenuBar> MenuBar() const { return menuBar_; }
    void SetMenuBar(Ref<fw::MenuBar> menuBar) { menuBar_ = std::move(menuBar); }

private:
    Ref<fw::MenuBar> menuBar_;
};

void RuntimeRegisterAppObject(Ref<Application> app);
// The registered application object; none before registration.
Ref<Application> App();

// A document type the application declares.
class FileType {
public:
    const std::string& Name() const { return name_; }
    void SetName(std::string_view name) { name_ = name; }
    const std::string& Extensions() const { return extensions_; }
    void SetExtensions(std::string_view extensions) { extensions_ = extensions; }
    const std::string& MacType() const { return macType_; }
    void SetMacType(std::string_view type) { macType_ = type; }
    const std::string& MacCreator() const { return macCreator_; }
    void SetMacCreator(std::string_view creator) { macCreator_ = creator; }

    // The type's conversion to text: registers the type with the framework
    // the first time and returns its name.
    std::string Register();

private:
    std::string name_;
    std::string extensions_;
    std::string macType_;
    std::string macCreator_;
    bool registered_ = false;
};

// The document types registered so far, in order, as they were declared when
// registered; the framework keeps its own copies.
std::vector<const FileType*> RegisteredFileTypes();

// Quits the application with an exit code: every window closes first (each
// raises "Close"), then the event loop ends, or does not start when it is not
// running yet. A quit from inside a Close handler is part of the quit in
// progress: it closes no window a second time and keeps that quit's code.
void Quit(int code = 0);
bool QuitRequested();

// The system's alert sound.
void Beep();
// How often Beep has sounded in this process, for tests.
int BeepCount();

} // namespace fw
