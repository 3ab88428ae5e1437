#include "framework/design_schema.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace fw {
namespace {

// Rows of the property tables below. Each says the property's type by the
// type of its default, and a text default is spelled as std::string so that
// a string literal can never slip into the variant as a Boolean.
Property I(const char* name, std::int32_t value) {
    return {name, value};
}
Property B(const char* name, bool value) {
    return {name, value};
}
Property T(const char* name, const char* value) {
    return {name, std::string(value)};
}
Property C(const char* name, Color value) {
    return {name, value};
}

constexpr Color kBlack = RGB(0x00, 0x00, 0x00);
constexpr Color kWhite = RGB(0xFF, 0xFF, 0xFF);

// clang-format off
// A plain document window of the framework's default size.
std::vector<Property> WindowProperties() {
    return {
        I("Placement", 0),          I("Width", 600),            I("Height", 400),
        I("MinWidth", 64),          I("MinHeight", 64),         I("MaxWidth", 32000),
        I("MaxHeight", 32000),      I("Frame", 0),              B("Composite", false),
        B("HasBackColor", false),   C("BackColor", kWhite),     T("Title", "Untitled"),
        B("Visible", true),         B("FullScreen", false),     B("MenuBarVisible", true),
        B("CloseButton", true),     B("Resizeable", true),      B("LiveResize", true),
        B("MaximizeButton", true),  B("MinimizeButton", true),  I("MacProcID", 0),
    };
}

// The twelve entries that open the record of every control.
std::vector<Property> ControlHead() {
    return {
        T("Name", ""),           I("Index", kNoIndex),   I("Left", 0),
        I("Top", 0),             I("Width", 0),          I("Height", 0),
        B("LockLeft", false),    B("LockTop", false),    B("LockRight", false),
        B("LockBottom", false),  I("TabPanelIndex", 0),  I("TabIndex", 0),
    };
}

std::vector<Property> ControlTail(ControlKind kind) {
    switch (kind) {
    case ControlKind::Window:
        break;
    case ControlKind::GroupBox:
        return {
            T("Caption", ""),        B("Enabled", true),         B("Visible", true),
            T("HelpTag", ""),        B("AutoDeactivate", true),  T("TextFont", "System"),
            B("Bold", false),        B("Italic", false),         B("Underline", false),
            T("InitialParent", ""),
        };
    case ControlKind::Canvas:
        return {
            B("TabStop", true),          B("Visible", true),      T("HelpTag", ""),
            B("AutoDeactivate", true),   B("Enabled", true),      B("UseFocusRing", true),
            B("AcceptFocus", true),      B("AcceptTabs", false),  B("DoubleBuffer", false),
            B("EraseBackground", true),  T("InitialParent", ""),
        };
    case ControlKind::StaticText:
        return {
            T("Text", ""),          I("TextAlign", 0),          C("TextColor", kBlack),
            B("Multiline", false),  B("Enabled", true),         B("Visible", true),
            T("HelpTag", ""),       B("AutoDeactivate", true),  T("TextFont", "System"),
            B("Bold", false),       B("Italic", false),         B("Underline", false),
            T("DataSource", ""),    T("DataField", ""),         T("InitialParent", ""),
        };
    case ControlKind::Listbox:
        return {
            B("TabStop", true),              B("Visible", true),            T("HelpTag", ""),
            B("AutoDeactivate", true),       B("Enabled", true),            B("Border", true),
            I("ColumnCount", 1),             T("ColumnWidths", ""),         B("HasHeading", false),
            B("UseFocusRing", true),         T("InitialValue", ""),         I("HeadingIndex", -1),
            B("ScrollbarHorizontal", false), B("ScrollBarVertical", true),  I("GridLinesHorizontal", 0),
            I("GridLinesVertical", 0),       I("DefaultRowHeight", -1),     I("_ScrollWidth", -1),
            T("TextFont", "System"),         B("Bold", false),              B("Italic", false),
            B("Underline", false),           B("Hierarchical", false),      B("EnableDrag", false),
            B("EnableDragReorder", false),   B("RequiresSelection", false), I("SelectionType", 0),
            B("ColumnsResizable", false),    B("AutoHideScrollbars", true), T("DataSource", ""),
            T("DataField", ""),              T("InitialParent", ""),
        };
    case ControlKind::TextField:
        return {
            B("TabStop", true),       B("Border", true),          B("Password", false),
            B("UseFocusRing", true),  C("TextColor", kBlack),     C("BackColor", kWhite),
            B("Enabled", true),       T("Format", ""),            B("Visible", true),
            T("HelpTag", ""),         B("AutoDeactivate", true),  T("TextFont", "System"),
            B("Bold", false),         B("Italic", false),         B("Underline", false),
            T("CueText", ""),         T("Text", ""),              T("Mask", ""),
            B("ReadOnly", false),     I("LimitText", 0),          B("AcceptTabs", false),
            I("Alignment", 0),        T("DataSource", ""),        T("DataField", ""),
            T("InitialParent", ""),
        };
    case ControlKind::PushButton:
        return {
            B("TabStop", true),      T("Caption", ""),           B("Default", false),
            B("Cancel", false),      B("Enabled", true),         B("Visible", true),
            T("HelpTag", ""),        B("AutoDeactivate", true),  T("TextFont", "System"),
            B("Bold", false),        B("Italic", false),         B("Underline", false),
            T("InitialParent", ""),
        };
    case ControlKind::UpDownArrows:
        return {
            B("TabStop", true),      T("InitialParent", ""),     B("Visible", true),
            T("HelpTag", ""),        B("AutoDeactivate", true),  B("Enabled", true),
            B("AcceptFocus", true),
        };
    case ControlKind::PopupMenu:
        return {
            B("TabStop", true),         B("Enabled", true),       T("InitialValue", ""),
            I("ListIndex", 0),          B("Visible", true),       T("HelpTag", ""),
            B("AutoDeactivate", true),  T("TextFont", "System"),  B("Bold", false),
            B("Italic", false),         B("Underline", false),    T("DataSource", ""),
            T("DataField", ""),         T("InitialParent", ""),
        };
    case ControlKind::RadioButton:
        return {
            B("TabStop", true),       T("Caption", ""),   B("Enabled", true),
            B("Visible", true),       T("HelpTag", ""),   B("AutoDeactivate", true),
            T("TextFont", "System"),  B("Bold", false),   B("Italic", false),
            B("Underline", false),    B("Value", false),  T("InitialParent", ""),
        };
    case ControlKind::CheckBox:
        return {
            B("TabStop", true),       T("Caption", ""),    B("Enabled", true),
            B("Visible", true),       T("HelpTag", ""),    B("AutoDeactivate", true),
            T("TextFont", "System"),  B("Bold", false),    B("Italic", false),
            B("Underline", false),    I("State", 0),       B("Value", false),
            T("DataSource", ""),      T("DataField", ""),  T("InitialParent", ""),
        };
    }
    return {};
}
// clang-format on

std::vector<Property> KindProperties(ControlKind kind) {
    if (kind == ControlKind::Window) {
        return WindowProperties();
    }
    std::vector<Property> properties = ControlHead();
    std::vector<Property> tail = ControlTail(kind);
    properties.insert(properties.end(), tail.begin(), tail.end());
    return properties;
}

constexpr ControlKind kAllKinds[] = {
    ControlKind::Window,      ControlKind::GroupBox,     ControlKind::Canvas,
    ControlKind::StaticText,  ControlKind::Listbox,      ControlKind::TextField,
    ControlKind::PushButton,  ControlKind::UpDownArrows, ControlKind::PopupMenu,
    ControlKind::RadioButton, ControlKind::CheckBox,
};

PropertyType TypeOfValue(const PropertyValue& value) {
    return static_cast<PropertyType>(value.index());
}

const char* KindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Window:
        return "Window";
    case ControlKind::GroupBox:
        return "GroupBox";
    case ControlKind::Canvas:
        return "Canvas";
    case ControlKind::StaticText:
        return "StaticText";
    case ControlKind::Listbox:
        return "Listbox";
    case ControlKind::TextField:
        return "TextField";
    case ControlKind::PushButton:
        return "PushButton";
    case ControlKind::UpDownArrows:
        return "UpDownArrows";
    case ControlKind::PopupMenu:
        return "PopupMenu";
    case ControlKind::RadioButton:
        return "RadioButton";
    case ControlKind::CheckBox:
        return "CheckBox";
    }
    return "unknown kind";
}

// The one type of every property name, gathered from all kinds' lists. A name
// that two kinds give different types would make records ambiguous, so it is
// a mistake in the tables above and stops the first use.
const std::map<std::string, PropertyType, std::less<>>& PropertyTypes() {
    static const auto types = [] {
        std::map<std::string, PropertyType, std::less<>> gathered;
        for (ControlKind kind : kAllKinds) {
            for (const Property& property : DesignDefaults(kind)) {
                auto [at, added] = gathered.emplace(property.name, TypeOfValue(property.value));
                if (!added && at->second != TypeOfValue(property.value)) {
                    throw std::logic_error("design property '" + property.name + "' has two types");
                }
            }
        }
        return gathered;
    }();
    return types;
}

} // namespace

// Declared with the record codec, which needs it; answered from the kinds'
// lists so that each name's type is written down exactly once.
std::optional<PropertyType> TypeOfProperty(std::string_view name) {
    const auto& types = PropertyTypes();
    if (auto found = types.find(name); found != types.end()) {
        return found->second;
    }
    return std::nullopt;
}

const std::vector<Property>& DesignDefaults(ControlKind kind) {
    static const auto all = [] {
        std::map<ControlKind, std::vector<Property>> lists;
        for (ControlKind each : kAllKinds) {
            lists.emplace(each, KindProperties(each));
        }
        return lists;
    }();
    return all.at(kind);
}

std::string BuildDesignRecord(ControlKind kind, const std::vector<Property>& values) {
    std::vector<Property> record = DesignDefaults(kind);
    for (const Property& value : values) {
        auto slot = std::find_if(record.begin(), record.end(),
                                 [&](const Property& p) { return p.name == value.name; });
        if (slot == record.end()) {
            throw std::invalid_argument(std::string(KindName(kind)) + " has no property '" +
                                        value.name + "'");
        }
        if (slot->value.index() != value.value.index()) {
            throw std::invalid_argument("property '" + value.name + "' of " + KindName(kind) +
                                        " given a value of the wrong type");
        }
        slot->value = value.value;
    }
    return EncodeDesignRecord(record);
}

} // namespace fw
