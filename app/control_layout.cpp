#include "app/control_layout.h"

#include "framework/canvas.h"
#include "framework/check_box.h"
#include "framework/group_box.h"
#include "framework/listbox.h"
#include "framework/popup_menu.h"
#include "framework/push_button.h"
#include "framework/radio_button.h"
#include "framework/static_text.h"
#include "framework/text_field.h"
#include "framework/up_down_arrows.h"
#include "framework/window.h"

#include <stdexcept>
#include <string>

using fw::ControlKind;

namespace {

// The property that carries a row's text: a caption for buttons, boxes and
// frames, the text for labels and fields.
const char* TextPropertyOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::StaticText:
    case ControlKind::TextField:
        return "Text";
    case ControlKind::GroupBox:
    case ControlKind::PushButton:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
        return "Caption";
    default:
        return nullptr;
    }
}

bool ShowsText(ControlKind kind) {
    return kind != ControlKind::Canvas && kind != ControlKind::UpDownArrows;
}

} // namespace

std::vector<fw::Property> DesignValuesOf(ControlKind kind, const char* name, std::int32_t index,
                                         Box box, const char* text, int align,
                                         std::optional<fw::Color> textColor, int tabIndex,
                                         const char* helpTag,
                                         const std::vector<fw::Property>& more) {
    std::vector<fw::Property> values = {
        {"Name", std::string(name)}, {"Index", index},
        {"Left", box.left},          {"Top", box.top},
        {"Width", box.width},        {"Height", box.height},
        {"TabIndex", tabIndex},
    };
    if (text != nullptr) {
        const char* property = TextPropertyOf(kind);
        if (property == nullptr) {
            throw std::invalid_argument(std::string("a ") + name + " shows no text");
        }
        values.push_back({property, std::string(text)});
    }
    if (align >= 0) {
        values.push_back({"TextAlign", align});
    }
    if (textColor) {
        values.push_back({"TextColor", *textColor});
    }
    if (helpTag != nullptr) {
        values.push_back({"HelpTag", std::string(helpTag)});
    }
    values.insert(values.end(), more.begin(), more.end());
    return values;
}

fw::Control& NewControlOfKind(fw::Window& window, ControlKind kind, const char* name,
                              std::int32_t index) {
    switch (kind) {
    case ControlKind::GroupBox:
        return window.NewControl<fw::GroupBox>(name, index);
    case ControlKind::Canvas:
        return window.NewControl<fw::Canvas>(name, index);
    case ControlKind::StaticText:
        return window.NewControl<fw::StaticText>(name, index);
    case ControlKind::Listbox:
        return window.NewControl<fw::Listbox>(name, index);
    case ControlKind::TextField:
        return window.NewControl<fw::TextField>(name, index);
    case ControlKind::PushButton:
        return window.NewControl<fw::PushButton>(name, index);
    case ControlKind::UpDownArrows:
        return window.NewControl<fw::UpDownArrows>(name, index);
    case ControlKind::PopupMenu:
        return window.NewControl<fw::PopupMenu>(name, index);
    case ControlKind::RadioButton:
        return window.NewControl<fw::RadioButton>(name, index);
    case ControlKind::CheckBox:
        return window.NewControl<fw::CheckBox>(name, index);
    case ControlKind::Window:
        break;
    }
    throw std::invalid_argument(std::string("no control kind for ") + name);
}

void ApplyDesignOf(fw::Window& window, ControlKind kind, const char* name, std::int32_t index,
                   int fontSize, fw::Ref<fw::Picture> (*backdrop)(), const std::string& record) {
    fw::Control& control = fw::RuntimeWindowControlByNameIndex(window, name, index);
    if (fontSize == 10 || fontSize == 12) {
        control.SetTextSize(fontSize);
    }
    if (ShowsText(kind)) {
        control.SetTextUnit(0);
    }
    if (backdrop != nullptr) {
        dynamic_cast<fw::Canvas&>(control).SetBackdrop(backdrop());
    }
    fw::_SetProperties(control, record);
}
