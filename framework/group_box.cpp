#include "framework/group_box.h"

#include "framework/internal/caption_fit.h"
#include "framework/internal/design_values.h"
#include "framework/window.h"

#include <QGroupBox>

#include <algorithm>

namespace fw {
namespace {

QGroupBox& Box(QWidget* widget) {
    return *static_cast<QGroupBox*>(widget);
}

// Room the frame keeps beside the title at each end.
constexpr int kTitleInset = 8; // pixels

} // namespace

// The frame lies beneath every other control: the controls within its
// rectangle are its siblings, and they stay on top of it and clickable.
GroupBox::GroupBox(Window& owner, std::string name, std::int32_t index)
    : Control(owner, ControlKind::GroupBox, std::move(name), index,
              new QGroupBox(owner.ContentWidget())) {
    NativeWidget()->lower();
    UpdateFont();
}

std::string GroupBox::Caption() const {
    return internal::FromCaptionText(Box(NativeWidget()).title());
}

void GroupBox::SetCaption(std::string_view caption) {
    Box(NativeWidget()).setTitle(internal::CaptionText(caption));
    UpdateFont();
}

void GroupBox::UpdateFont() {
    Control::UpdateFont();
    QGroupBox& box = Box(NativeWidget());
    const QSize room(std::max(box.width() - 2 * kTitleInset, 0), box.height());
    box.setFont(internal::FitFont(box.font(), internal::ToQString(Caption()), room, false));
}

void GroupBox::ApplyDesignProperty(const Property& property) {
    if (property.name == "Caption") {
        SetCaption(internal::TextValue(property));
    }
    Control::ApplyDesignProperty(property);
}

} // namespace fw
