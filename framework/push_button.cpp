#include "framework/push_button.h"

#include "framework/internal/button_caption.h"
#include "framework/internal/design_values.h"
#include "framework/window.h"

#include <QPushButton>

namespace fw {
namespace {

QPushButton& Button(QWidget* widget) {
    return *static_cast<QPushButton*>(widget);
}

} // namespace

PushButton::PushButton(Window& owner, std::string name, std::int32_t index)
    : Control(owner, ControlKind::PushButton, std::move(name), index,
              new QPushButton(owner.ContentWidget())) {
    QPushButton& button = Button(NativeWidget());
    button.setAutoDefault(false);
    QObject::connect(&button, &QPushButton::clicked, &button, [this] { RaiseEvent("Action"); });
    UpdateFont();
}

std::string PushButton::Caption() const {
    return internal::ButtonCaption(Button(NativeWidget()));
}

void PushButton::SetCaption(std::string_view caption) {
    internal::SetButtonCaption(Button(NativeWidget()), caption);
    UpdateFont();
}

// The default button carries Qt's default look; the window presses it for
// Return and Enter.
void PushButton::SetDefault(bool isDefault) {
    default_ = isDefault;
    Button(NativeWidget()).setDefault(isDefault);
    UpdateFont();
}

void PushButton::SetCancel(bool isCancel) {
    cancel_ = isCancel;
}

void PushButton::Push() {
    if (Enabled()) {
        Button(NativeWidget()).click();
    }
}

void PushButton::UpdateFont() {
    Control::UpdateFont();
    internal::FitButtonCaption(Button(NativeWidget()), QStyle::SE_PushButtonContents);
}

void PushButton::ApplyDesignProperty(const Property& property) {
    const std::string& name = property.name;
    if (name == "Caption") {
        SetCaption(internal::TextValue(property));
    } else if (name == "Default") {
        SetDefault(internal::BoolValue(property));
    } else if (name == "Cancel") {
        SetCancel(internal::BoolValue(property));
    }
    Control::ApplyDesignProperty(property);
}

std::vector<std::pair<std::string_view, EventShape>> PushButton::Events() const {
    return {{"Action", EventShape::Plain}};
}

} // namespace fw
