#include "framework/window.h"

#include "framework/application.h"
#include "framework/internal/design_values.h"
#include "framework/internal/event_dispatch.h"
#include "framework/internal/qt_bridge.h"
#include "framework/internal/window_registry.h"
#include "framework/menu.h"
#include "framework/push_button.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMouseEvent>
#include <QWidget>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <map>
#include <stdexcept>

namespace fw {
namespace {

// The events a window raises, by name, with their shapes.
constexpr std::pair<std::string_view, EventShape> kWindowEvents[] = {
    {"Layout", EventShape::Plain},   {"CreateControls", EventShape::Plain},
    {"Open", EventShape::Plain},     {"Close", EventShape::Plain},
    {"Activate", EventShape::Plain}, {"Deactivate", EventShape::Plain},
    {"Minimize", EventShape::Plain}, {"MouseDown", EventShape::MouseDown},
};

// The size a design leaves unsaid: a small document window.
constexpr int kDefaultWidth = 300;  // pixels
constexpr int kDefaultHeight = 300; // pixels
// Qt's own upper bound for widget sizes.
constexpr int kLargestSize = QWIDGETSIZE_MAX;

} // namespace

struct Window::Impl {
    explicit Impl(Window& owner);
    ~Impl();

    void RaisePlain(std::string_view event);
    bool RaiseMouseDown(int x, int y);
    bool PressButton(bool cancel);
    void ApplyGeometry();
    void ApplyFlags();
    void ApplyBackground();
    void ApplyMenus();
    void ApplyTabOrder();
    bool DesignBool(std::string_view name, bool fallback) const;

    Window& self;
    QMainWindow* frame;
    QWidget* content;
    std::vector<std::unique_ptr<Control>> controls;
    std::map<std::string, EventHandler, std::less<>> handlers;
    std::map<std::string, PropertyValue, std::less<>> design;
    Ref<fw::MenuBar> menuBar;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = kLargestSize;
    int maxHeight = kLargestSize;
    bool resizeable = true;
    bool constructing = false; // Construct has begun
    bool constructed = false;  // the window is built; design changes apply at once
    bool closing = false;
    bool closed = false;
};

namespace {

// The top-level widget: turns Qt's window events into the window's events,
// and Return, Enter and Escape that no control used into presses of the
// default and cancel buttons.
class WindowFrame final : public QMainWindow {
public:
    explicit WindowFrame(Window::Impl& impl)
        : impl_(impl) {}

protected:
    bool event(QEvent* event) override {
        const bool handled = QMainWindow::event(event);
        if (!impl_.closed) {
            if (event->type() == QEvent::WindowActivate) {
                impl_.RaisePlain("Activate");
            } else if (event->type() == QEvent::WindowDeactivate) {
                impl_.RaisePlain("Deactivate");
            }
        }
        return handled;
    }

    void changeEvent(QEvent* event) override {
        QMainWindow::changeEvent(event);
        if (event->type() == QEvent::WindowStateChange && !impl_.closed) {
            const auto old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
            if (isMinimized() && !(old & Qt::WindowMinimized)) {
                impl_.RaisePlain("Minimize");
            }
        }
    }

    void closeEvent(QCloseEvent* event) override {
        impl_.self.Close();
        event->accept();
    }

    // Key presses get here only when the focused control did not use them.
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (impl_.PressButton(/*cancel=*/false)) {
                return;
            }
            break;
        case Qt::Key_Escape:
            if (impl_.PressButton(/*cancel=*/true)) {
                return;
            }
            break;
        default:
            break;
        }
        QMainWindow::keyPressEvent(event);
    }

private:
    Window::Impl& impl_;
};

// The content area, where the controls stand. Presses that no control took
// are presses on the window's background.
class ContentArea final : public QWidget {
public:
    explicit ContentArea(Window::Impl& impl)
        : impl_(impl) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        if (impl_.RaiseMouseDown(at.x(), at.y())) {
            event->accept();
        } else {
            event->ignore();
        }
    }

private:
    Window::Impl& impl_;
};

} // namespace

Window::Impl::Impl(Window& owner)
    : self(owner)
    , frame(new WindowFrame(*this))
    , content(new ContentArea(*this)) {
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame->setCentralWidget(content);
    content->resize(width, height);
}

Window::Impl::~Impl() {
    // Controls hold pointers to their widgets, which the frame owns: the
    // controls go first.
    while (!controls.empty()) {
        controls.pop_back();
    }
    delete frame;
}

void Window::Impl::RaisePlain(std::string_view event) {
    const auto found = handlers.find(event);
    if (found == handlers.end()) {
        return;
    }
    const auto handler = std::get<PlainHandler>(found->second);
    internal::RunHandler([&] { handler(nullptr); });
}

bool Window::Impl::RaiseMouseDown(int x, int y) {
    const auto found = handlers.find("MouseDown");
    if (found == handlers.end() || closed) {
        return false;
    }
    const auto handler = std::get<MouseDownHandler>(found->second);
    bool consumed = false;
    internal::RunHandler([&] { consumed = handler(x, y); });
    return consumed;
}

bool Window::Impl::PressButton(bool cancel) {
    for (const auto& control : controls) {
        auto* button = dynamic_cast<PushButton*>(control.get());
        if (button == nullptr || !(cancel ? button->Cancel() : button->Default())) {
            continue;
        }
        if (button->Enabled() && button->Visible()) {
            button->Push();
            return true;
        }
    }
    return false;
}

// A fixed window holds its content at the design size; a resizeable one
// starts at it and keeps to the design's minimum and maximum.
void Window::Impl::ApplyGeometry() {
    content->setFixedSize(width, height);
    if (!resizeable) {
        frame->layout()->setSizeConstraint(QLayout::SetFixedSize);
        return;
    }
    frame->layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    content->setMinimumSize(std::min(minWidth, width), std::min(minHeight, height));
    content->setMaximumSize(std::clamp(maxWidth, width, kLargestSize),
                            std::clamp(maxHeight, height, kLargestSize));
    // The menu bar stands above the content and adds to the window's height.
    const QWidget* menus = frame->menuWidget();
    const int menuHeight = menus != nullptr && !menus->isHidden() ? menus->sizeHint().height() : 0;
    frame->resize(width, height + menuHeight);
}

void Window::Impl::ApplyFlags() {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (DesignBool("CloseButton", true)) {
        flags |= Qt::WindowCloseButtonHint;
    }
    if (DesignBool("MinimizeButton", true)) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (DesignBool("MaximizeButton", true) && resizeable) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    if (frame->windowFlags() == flags) {
        return;
    }
    // New flags hide a shown window; it shows again with them.
    const bool shown = frame->isVisible();
    frame->setWindowFlags(flags);
    if (shown) {
        frame->show();
    }
}

void Window::Impl::ApplyBackground() {
    const bool own = DesignBool("HasBackColor", false);
    const auto found = design.find("BackColor");
    content->setAutoFillBackground(own);
    if (own && found != design.end()) {
        if (const auto* color = std::get_if<Color>(&found->second)) {
            QPalette palette = content->palette();
            palette.setColor(QPalette::Window, internal::ToQColor(*color));
            content->setPalette(palette);
        }
    }
}

void Window::Impl::ApplyMenus() {
    if (menuBar) {
        internal::InstallMenuBar(*frame, *menuBar);
        return;
    }
    const Ref<Application> app = App();
    if (DesignBool("MenuBarVisible", true) && app && app->MenuBar()) {
        internal::InstallMenuBar(*frame, *app->MenuBar());
    } else {
        frame->setMenuWidget(nullptr);
    }
}

// Focus moves through the controls by ascending TabIndex; controls that take
// no focus stay out of the chain (their widgets have no focus policy).
void Window::Impl::ApplyTabOrder() {
    std::vector<Control*> chain;
    for (const auto& control : controls) {
        if (control->TakesFocus()) {
            chain.push_back(control.get());
        }
    }
    std::stable_sort(chain.begin(), chain.end(),
                     [](Control* a, Control* b) { return a->TabIndex() < b->TabIndex(); });
    for (std::size_t i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i - 1]->NativeWidget(), chain[i]->NativeWidget());
    }
}

bool Window::Impl::DesignBool(std::string_view name, bool fallback) const {
    const auto found = design.find(name);
    if (found == design.end()) {
        return fallback;
    }
    const auto* value = std::get_if<bool>(&found->second);
    return value != nullptr ? *value : fallback;
}

Window::Window()
    : impl_(std::make_unique<Impl>(*this)) {
    internal::RegisterLiveWindow(*this);
}

Window::~Window() {
    internal::ForgetWindow(*this);
    impl_.reset();
}

void Window::Construct() {
    if (impl_->constructing) {
        return;
    }
    impl_->constructing = true;
    impl_->RaisePlain("Layout");
    impl_->RaisePlain("CreateControls");
    impl_->ApplyTabOrder();
    impl_->ApplyMenus();
    impl_->ApplyFlags();
    impl_->ApplyGeometry();
    impl_->constructed = true;
    impl_->RaisePlain("Open");
    if (!impl_->closed && impl_->DesignBool("Visible", true)) {
        Show();
    }
}

void Window::Show() {
    if (impl_->closed) {
        return;
    }
    if (impl_->DesignBool("FullScreen", false)) {
        impl_->frame->showFullScreen();
    } else {
        impl_->frame->show();
    }
    impl_->frame->raise();
    impl_->frame->activateWindow();
}

void Window::Hide() {
    impl_->frame->hide();
}

void Window::Close() {
    if (impl_->closing || impl_->closed) {
        return;
    }
    impl_->closing = true;
    impl_->RaisePlain("Close");
    impl_->closed = true;
    impl_->frame->hide();
    internal::RetireWindow(*this); // may schedule the deletion of this window
}

void Window::UpdateNow() {
    if (impl_->frame->isVisible()) {
        impl_->frame->repaint();
    }
}

bool Window::IsVisible() const {
    return impl_->frame->isVisible();
}
bool Window::IsActive() const {
    return impl_->frame->isActiveWindow();
}
bool Window::IsClosed() const {
    return impl_->closed;
}

std::string Window::Title() const {
    return internal::ToUtf8(impl_->frame->windowTitle());
}
void Window::SetTitle(std::string_view title) {
    impl_->frame->setWindowTitle(internal::ToQString(title));
}

int Window::Width() const {
    return impl_->content->width();
}
int Window::Height() const {
    return impl_->content->height();
}

Ref<fw::MenuBar> Window::MenuBar() const {
    if (impl_->menuBar) {
        return impl_->menuBar;
    }
    const Ref<Application> app = App();
    if (impl_->DesignBool("MenuBarVisible", true) && app) {
        return app->MenuBar();
    }
    return {};
}

void Window::SetMenuBar(Ref<fw::MenuBar> menuBar) {
    impl_->menuBar = std::move(menuBar);
    impl_->ApplyMenus();
    if (impl_->constructed) {
        impl_->ApplyGeometry();
    }
}

void Window::ApplyDesignProperty(const Property& property) {
    const std::string& name = property.name;
    impl_->design.insert_or_assign(name, property.value);
    if (name == "Width") {
        impl_->width = std::max(internal::IntValue(property), 1);
        impl_->content->resize(impl_->width, impl_->content->height());
    } else if (name == "Height") {
        impl_->height = std::max(internal::IntValue(property), 1);
        impl_->content->resize(impl_->content->width(), impl_->height);
    } else if (name == "MinWidth") {
        impl_->minWidth = std::max(internal::IntValue(property), 0);
    } else if (name == "MinHeight") {
        impl_->minHeight = std::max(internal::IntValue(property), 0);
    } else if (name == "MaxWidth") {
        impl_->maxWidth = std::max(internal::IntValue(property), 1);
    } else if (name == "MaxHeight") {
        impl_->maxHeight = std::max(internal::IntValue(property), 1);
    } else if (name == "Resizeable") {
        impl_->resizeable = internal::BoolValue(property);
    } else if (name == "Title") {
        SetTitle(internal::TextValue(property));
    } else if (name == "HasBackColor" || name == "BackColor") {
        impl_->ApplyBackground();
    }
    // Before the window is built these settings wait for the end of the
    // construction; afterwards they take effect at once.
    if (!impl_->constructed) {
        return;
    }
    if (name == "Width" || name == "Height" || name == "MinWidth" || name == "MinHeight" ||
        name == "MaxWidth" || name == "MaxHeight" || name == "Resizeable") {
        impl_->ApplyGeometry();
    }
    if (name == "CloseButton" || name == "MinimizeButton" || name == "MaximizeButton" ||
        name == "Resizeable") {
        impl_->ApplyFlags();
    } else if (name == "MenuBarVisible") {
        impl_->ApplyMenus();
        impl_->ApplyGeometry();
    } else if (name == "Visible") {
        internal::BoolValue(property) ? Show() : Hide();
    }
}

const PropertyValue* Window::DesignValue(std::string_view name) const {
    const auto found = impl_->design.find(name);
    return found == impl_->design.end() ? nullptr : &found->second;
}

void Window::_AddControl(std::unique_ptr<Control> control) {
    if (!control) {
        throw std::invalid_argument("no control to add to the window '" + Title() + "'");
    }
    if (&control->Owner() != this) {
        throw std::invalid_argument("the control '" + control->Name() +
                                    "' belongs to another window");
    }
    if (FindControl(control->Name(), control->Index()) != nullptr) {
        throw std::invalid_argument("the window '" + Title() + "' already has a control '" +
                                    control->Name() + "' of that index");
    }
    impl_->controls.push_back(std::move(control));
}

Control* Window::FindControl(std::string_view name, std::int32_t index) const {
    for (const auto& control : impl_->controls) {
        if (control->Index() == index && control->Name() == name) {
            return control.get();
        }
    }
    return nullptr;
}

std::vector<Control*> Window::Controls() const {
    std::vector<Control*> all;
    all.reserve(impl_->controls.size());
    for (const auto& control : impl_->controls) {
        all.push_back(control.get());
    }
    return all;
}

void Window::InstallEventHandler(std::string_view event, EventHandler handler) {
    const auto known = std::find_if(std::begin(kWindowEvents), std::end(kWindowEvents),
                                    [event](const auto& entry) { return entry.first == event; });
    if (known == std::end(kWindowEvents)) {
        throw std::invalid_argument("a window has no event '" + std::string(event) + "'");
    }
    if (known->second != ShapeOf(handler)) {
        throw std::invalid_argument("the handler does not fit the window event '" +
                                    std::string(event) + "'");
    }
    impl_->handlers.insert_or_assign(std::string(event), std::move(handler));
}

QWidget* Window::NativeWidget() const {
    return impl_->frame;
}
QWidget* Window::ContentWidget() const {
    return impl_->content;
}

void _SetProperties(Window& window, std::string_view record) {
    for (const Property& property : DecodeDesignRecord(record)) {
        window.ApplyDesignProperty(property);
    }
}

} // namespace fw
