#include "framework/check_box.h"

#include "framework/internal/button_caption.h"
#include "framework/internal/design_values.h"
#include "framework/window.h"

#include <QCheckBox>

namespace fw {
namespace {

QCheckBox& Box(QWidget* widget) {
    return *static_cast<QCheckBox*>(widget);
}

// The whole box of the control answers a click, not only the mark and the
// caption's text.
class BoxCheckBox final : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& at) const override { return rect().contains(at); }
};

} // namespace

CheckBox::CheckBox(Window& owner, std::string name, std::int32_t index)
    : Control(owner, ControlKind::CheckBox, std::move(name), index,
              new BoxCheckBox(owner.ContentWidget())) {
    QCheckBox& box = Box(NativeWidget());
    QObject::connect(&box, &QCheckBox::toggled, &box, [this](bool) { RaiseEvent("Action"); });
    UpdateFont();
}

std::string CheckBox::Caption() const {
    return internal::ButtonCaption(Box(NativeWidget()));
}

void CheckBox::SetCaption(std::string_view caption) {
    internal::SetButtonCaption(Box(NativeWidget()), caption);
    UpdateFont();
}

bool CheckBox::Value() const {
    return Box(NativeWidget()).isChecked();
}
void CheckBox::SetValue(bool checked) {
    Box(NativeWidget()).setChecked(checked);
}

void CheckBox::UpdateFont() {
    Control::UpdateFont();
    internal::FitButtonCaption(Box(NativeWidget()), QStyle::SE_CheckBoxContents);
}

void CheckBox::ApplyDesignProperty(const Property& property) {
    const std::string& name = property.name;
    if (name == "Caption") {
        SetCaption(internal::TextValue(property));
    } else if (name == "Value") {
        SetValue(internal::BoolValue(property));
    } else if (name == "State") {
        SetState(internal::IntValue(property));
    }
    Control::ApplyDesignProperty(property);
}

std::vector<std::pair<std::string_view, EventShape>> CheckBox::Events() const {
    return {{"Action", EventShape::Plain}};
}

} // namespace fw
