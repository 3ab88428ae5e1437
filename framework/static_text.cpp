#include "framework/static_text.h"

#include "framework/internal/caption_fit.h"
#include "framework/internal/design_values.h"
#include "framework/window.h"

#include <QLabel>

namespace fw {
namespace {

QLabel& Label(QWidget* widget) {
    return *static_cast<QLabel*>(widget);
}

Qt::Alignment HorizontalAlignment(int align) {
    switch (align) {
    case StaticText::AlignCenter:
        return Qt::AlignHCenter;
    case StaticText::AlignRight:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace

StaticText::StaticText(Window& owner, std::string name, std::int32_t index)
    : Control(owner, ControlKind::StaticText, std::move(name), index,
              new QLabel(owner.ContentWidget())) {
    QLabel& label = Label(NativeWidget());
    label.setTextFormat(Qt::PlainText);
    label.setMargin(0);
    SetTextColor(color_);
    ShowText();
}

void StaticText::SetText(std::string_view text) {
    text_ = text;
    ShowText();
}

void StaticText::SetTextAlign(int align) {
    align_ = align;
    ShowText();
}

void StaticText::SetTextColor(Color color) {
    color_ = color;
    QPalette palette = NativeWidget()->palette();
    palette.setColor(QPalette::WindowText, internal::ToQColor(color));
    NativeWidget()->setPalette(palette);
}

void StaticText::SetMultiline(bool multiline) {
    multiline_ = multiline;
    ShowText();
}

// A multi-line label breaks at its line ends and wraps its words, from the
// top of its box; a one-line label shows its line ends as blanks, centred
// in the height of its box.
void StaticText::ShowText() {
    QLabel& label = Label(NativeWidget());
    QString text = internal::ToQString(text_);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!multiline_) {
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    label.setWordWrap(multiline_);
    label.setAlignment(HorizontalAlignment(align_) |
                       (multiline_ ? Qt::AlignTop : Qt::AlignVCenter));
    label.setText(text);
    UpdateFont();
}

void StaticText::UpdateFont() {
    Control::UpdateFont();
    QLabel& label = Label(NativeWidget());
    label.setFont(
        internal::FitFont(label.font(), label.text(), label.contentsRect().size(), multiline_));
}

void StaticText::ApplyDesignProperty(const Property& property) {
    const std::string& name = property.name;
    if (name == "Text") {
        SetText(internal::TextValue(property));
    } else if (name == "TextAlign") {
        SetTextAlign(internal::IntValue(property));
    } else if (name == "TextColor") {
        SetTextColor(internal::ColorValue(property));
    } else if (name == "Multiline") {
        SetMultiline(internal::BoolValue(property));
    }
    Control::ApplyDesignProperty(property);
}

} // namespace fw
