#include "app/startup.h"

#include "app/app.h"
#include "app/file_types.h"
#include "app/main_window.h"
#include "app/menu_bar.h"

#include "framework/application.h"
#include "framework/runtime.h"

#include <exception>

void _InitFileTypes() {
    FileTypes::_Initialize();
}

void _NewAppInstance() {
    fw::Ref<App> app = fw::New<App>();
    app->SetMenuBar(MenuBar1::Instance());
    fw::RuntimeRegisterAppObject(app);
}

// The application installs no menu handlers of its own: the framework's
// quit item and editing items do all the menus need.
void _ApplicationAddMenuHandlers() {}

void _MakeDefaultView() {
    static_cast<void>(MainWindow::Instance());
}

void _Startup() {
    _InitFileTypes();
    _NewAppInstance();
    _ApplicationAddMenuHandlers();
    _MakeDefaultView();
}

int RunKelvara(int& argc, char** argv) {
    fw::RuntimeInit(argc, argv);
    bool started = false;
    try {
        fw::RunFrameworkInitialization(_Startup);
        started = true;
    } catch (...) {
        fw::RuntimeUnhandledException(std::current_exception());
    }
    if (started) {
        try {
            fw::RuntimeRun();
        } catch (...) {
            fw::RuntimeUnhandledException(std::current_exception());
        }
    }
    FileTypes::Release();
    MenuBar1::Release();
    return fw::RuntimeExit();
}
