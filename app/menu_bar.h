#pragma once

#include "framework/menu.h"
#include "framework/ref.h"

// The one menu bar of the application: "&File" with "Quit", and "&Edit" with
// the standard editing items. The application and the main window share it.
class MenuBar1 : public fw::MenuBar {
public:
    // The shared instance, built on first use.
    static fw::Ref<MenuBar1> Instance();
    // Lets the shared instance go at shutdown.
    static void Release();

    void Constructor() override;
    void Untitled1(); // the File menu
    void Untitled2(); // the Edit menu
};
