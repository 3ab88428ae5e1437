#pragma once

#include "framework/control.h"
#include "framework/design_record.h"
#include "framework/events.h"
#include "framework/exceptions.h"
#include "framework/ref.h"

#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

class QWidget;

namespace fw {

class MenuBar;

// A top-level window. A system window class derives from it, binds its window
// events in its constructor and is then built by the framework (Construct):
// the "Layout" event applies the window's design, "CreateControls" creates its
// controls, the tab order follows the controls' TabIndex, "Open" runs, and the
// window shows when its design says Visible.
//
// Window events (all Plain but MouseDown): "Layout", "CreateControls", "Open",
// "Close", "Activate", "Deactivate", "Minimize", "MouseDown".
//
// Keys: Return and Enter press the window's default push button and Escape
// its cancel button, unless the focused control uses the key itself.
class Window {
public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Builds the window; the framework calls it once, from ImplicitInstance.
    void Construct();

    void Show();      // shows, raises and activates
    void Hide();      // the instance and its controls live on
    void Close();     // raises "Close", then the window goes away for good
    void UpdateNow(); // repaints at once
    bool IsVisible() const;
    bool IsActive() const;
    bool IsClosed() const;

    std::string Title() const;
    void SetTitle(std::string_view title);
    int Width() const;  // content area
    int Height() const; // content area

    // The menus this window shows. A window with no menu bar of its own shows
    // the application's while its design says MenuBarVisible.
    Ref<fw::MenuBar> MenuBar() const;
    void SetMenuBar(Ref<fw::MenuBar> menuBar);

    // Applies one entry of the window's design record (size, title, buttons,
    // resizability, visibility, ...).
    void ApplyDesignProperty(const Property& property);
    const PropertyValue* DesignValue(std::string_view name) const;

    // Creates a control of kind T in this window and registers it under its
    // name and index.
    template <class T>
    T& NewControl(std::string name, std::int32_t index = kNoIndex) {
        auto control = std::make_unique<T>(*this, std::move(name), index);
        T& created = *control;
        _AddControl(std::move(control));
        return created;
    }
    // Registers a control; a name and index already taken throw std::invalid_argument.
    void _AddControl(std::unique_ptr<Control> control);
    // The control of that name and index, or null.
    Control* FindControl(std::string_view name, std::int32_t index = kNoIndex) const;
    // Every control, in creation order.
    std::vector<Control*> Controls() const;

    void InstallEventHandler(std::string_view event, EventHandler handler);

    QWidget* NativeWidget() const;  // the top-level widget
    QWidget* ContentWidget() const; // the area the controls stand in

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// Applies a design property record, entry by entry in record order.
void _SetProperties(Window& window, std::string_view record);
void _SetProperties(Control& control, std::string_view record);

// Control lookups; a control that is not there raises NilObjectException
// naming the control and the window.
Control& RuntimeWindowControlByName(const Window& window, std::string_view name);
Control& RuntimeWindowControlByNameIndex(const Window& window, std::string_view name,
                                         std::int32_t index);

namespace detail {
[[noreturn]] void ThrowWrongKind(std::string_view name, std::int32_t index);
[[noreturn]] void ThrowWrongKind(const Window& window, std::string_view name, std::int32_t index);
Window* FindImplicitWindow(std::type_index type);
void AdoptImplicitWindow(std::type_index type, std::unique_ptr<Window> window);
} // namespace detail

// The lookups above, as a control of the expected kind; a control of another
// kind counts as not there.
template <class T>
T& ControlByName(const Window& window, std::string_view name) {
    auto* control = dynamic_cast<T*>(&RuntimeWindowControlByName(window, name));
    if (control == nullptr) {
        detail::ThrowWrongKind(window, name, kNoIndex);
    }
    return *control;
}

template <class T>
T& ControlByNameIndex(const Window& window, std::string_view name, std::int32_t index) {
    auto* control = dynamic_cast<T*>(&RuntimeWindowControlByNameIndex(window, name, index));
    if (control == nullptr) {
        detail::ThrowWrongKind(window, name, index);
    }
    return *control;
}

// The one shared instance of a window class: the live one, or a new one,
// created and built on first use. A closed window is no longer live, so the
// next call builds a new instance.
template <class W>
W& ImplicitInstance() {
    if (auto* live = detail::FindImplicitWindow(typeid(W))) {
        return static_cast<W&>(*live);
    }
    auto window = std::make_unique<W>();
    W& created = *window;
    detail::AdoptImplicitWindow(typeid(W), std::move(window));
    created.Construct();
    return created;
}

// The live shared instance of a window class, or null; never creates one.
template <class W>
W* LiveInstance() {
    return static_cast<W*>(detail::FindImplicitWindow(typeid(W)));
}

// Every live window, in the order they were created.
std::vector<Window*> LiveWindows();

} // namespace fw
