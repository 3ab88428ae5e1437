#include "framework/radio_button.h"

#include "framework/internal/button_caption.h"
#include "framework/internal/design_values.h"
#include "framework/window.h"

#include <QRadioButton>

namespace fw {
namespace {

QRadioButton& Radio(QWidget* widget) {
    return *static_cast<QRadioButton*>(widget);
}

// The whole box of the control answers a click, not only the mark and the
// caption's text.
class BoxRadioButton final : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& at) const override { return rect().contains(at); }
};

} // namespace

// Every radio button is a child of its window's content area; Qt's automatic
// exclusivity among siblings makes them the window's one group.
RadioButton::RadioButton(Window& owner, std::string name, std::int32_t index)
    : Control(owner, ControlKind::RadioButton, std::move(name), index,
              new BoxRadioButton(owner.ContentWidget())) {
    QRadioButton& radio = Radio(NativeWidget());
    radio.setAutoExclusive(true);
    QObject::connect(&radio, &QRadioButton::toggled, &radio, [this](bool selected) {
        if (selected) {
            RaiseEvent("Action");
        }
    });
    UpdateFont();
}

std::string RadioButton::Caption() const {
    return internal::ButtonCaption(Radio(NativeWidget()));
}

void RadioButton::SetCaption(std::string_view caption) {
    internal::SetButtonCaption(Radio(NativeWidget()), caption);
    UpdateFont();
}

bool RadioButton::Value() const {
    return Radio(NativeWidget()).isChecked();
}

// Qt keeps the selected member of an exclusive group selected; clearing it
// from code lifts the exclusivity for that one step.
void RadioButton::SetValue(bool selected) {
    QRadioButton& radio = Radio(NativeWidget());
    if (selected || !radio.isChecked()) {
        radio.setChecked(selected);
        return;
    }
    radio.setAutoExclusive(false);
    radio.setChecked(false);
    radio.setAutoExclusive(true);
}

void RadioButton::UpdateFont() {
    Control::UpdateFont();
    internal::FitButtonCaption(Radio(NativeWidget()), QStyle::SE_RadioButtonContents);
}

void RadioButton::ApplyDesignProperty(const Property& property) {
    const std::string& name = property.name;
    if (name == "Caption") {
        SetCaption(internal::TextValue(property));
    } else if (name == "Value") {
        SetValue(internal::BoolValue(property));
    }
    Control::ApplyDesignProperty(property);
}

std::vector<std::pair<std::string_view, EventShape>> RadioButton::Events() const {
    return {{"Action", EventShape::Plain}};
}

} // namespace fw
