// The per-kind property lists and the record builder that layouts use.

#include "framework/design_schema.h"

#include "framework/design_record.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace fw {
namespace {

using namespace std::string_literals;

constexpr ControlKind kAllKinds[] = {
    ControlKind::Window,      ControlKind::GroupBox,     ControlKind::Canvas,
    ControlKind::StaticText,  ControlKind::Listbox,      ControlKind::TextField,
    ControlKind::PushButton,  ControlKind::UpDownArrows, ControlKind::PopupMenu,
    ControlKind::RadioButton, ControlKind::CheckBox,
};

const PropertyValue& ValueOf(const std::vector<Property>& properties, const std::string& name) {
    for (const Property& property : properties) {
        if (property.name == name) {
            return property.value;
        }
    }
    throw std::out_of_range("no property " + name);
}

// The shape of each kind's record: how many entries, and where its own part
// begins and ends. A layout record written for one of these kinds must match.
TEST(DesignSchemaTest, EachKindHasItsEntriesInRecordOrder) {
    struct Row {
        ControlKind kind;
        std::size_t count;
        const char* first; // first entry after the twelve common ones
        const char* last;
    };
    const Row rows[] = {
        {ControlKind::GroupBox, 22, "Caption", "InitialParent"},
        {ControlKind::Canvas, 23, "TabStop", "InitialParent"},
        {ControlKind::StaticText, 27, "Text", "InitialParent"},
        {ControlKind::Listbox, 44, "TabStop", "InitialParent"},
        {ControlKind::TextField, 37, "TabStop", "InitialParent"},
        {ControlKind::PushButton, 25, "TabStop", "InitialParent"},
        {ControlKind::UpDownArrows, 19, "TabStop", "AcceptFocus"},
        {ControlKind::PopupMenu, 26, "TabStop", "InitialParent"},
        {ControlKind::RadioButton, 24, "TabStop", "InitialParent"},
        {ControlKind::CheckBox, 27, "TabStop", "InitialParent"},
    };
    const std::vector<std::string> head = {"Name",      "Index",      "Left",          "Top",
                                           "Width",     "Height",     "LockLeft",      "LockTop",
                                           "LockRight", "LockBottom", "TabPanelIndex", "TabIndex"};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.first + " ... "s + row.last + " kind " +
                     std::to_string(static_cast<int>(row.kind)));
        const std::vector<Property>& properties = DesignDefaults(row.kind);
        ASSERT_EQ(properties.size(), row.count);
        for (std::size_t i = 0; i < head.size(); ++i) {
            EXPECT_EQ(properties[i].name, head[i]);
        }
        EXPECT_EQ(properties[head.size()].name, row.first);
        EXPECT_EQ(properties.back().name, row.last);
    }
    const std::vector<Property>& window = DesignDefaults(ControlKind::Window);
    ASSERT_EQ(window.size(), 21u);
    EXPECT_EQ(window.front().name, "Placement");
    EXPECT_EQ(window.back().name, "MacProcID");
}

TEST(DesignSchemaTest, NoKindHasAPropertyTwice) {
    for (ControlKind kind : kAllKinds) {
        std::map<std::string, int> seen;
        for (const Property& property : DesignDefaults(kind)) {
            EXPECT_EQ(++seen[property.name], 1)
                << property.name << " twice in kind " << static_cast<int>(kind);
        }
    }
}

// One name has one type in every kind, and the codec knows every name.
TEST(DesignSchemaTest, EveryPropertyHasTheTypeTheCodecGivesItsName) {
    for (ControlKind kind : kAllKinds) {
        for (const Property& property : DesignDefaults(kind)) {
            SCOPED_TRACE(property.name);
            const std::optional<PropertyType> type = TypeOfProperty(property.name);
            ASSERT_TRUE(type.has_value());
            EXPECT_EQ(static_cast<std::size_t>(*type), property.value.index());
        }
    }
    const std::vector<std::pair<const char*, std::optional<PropertyType>>> names = {
        {"Index", PropertyType::Integer},
        {"_ScrollWidth", PropertyType::Integer},
        {"State", PropertyType::Integer},
        {"Value", PropertyType::Boolean},
        {"ScrollBarVertical", PropertyType::Boolean},
        {"ScrollbarHorizontal", PropertyType::Boolean},
        {"Format", PropertyType::Text},
        {"InitialValue", PropertyType::Text},
        {"BackColor", PropertyType::Color},
        {"TextColor", PropertyType::Color},
        {"Backdrop", std::nullopt},
        {"TextSize", std::nullopt},
        {"textcolor", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [name, type] : names) {
        EXPECT_EQ(TypeOfProperty(name), type) << name;
    }
}

TEST(DesignSchemaTest, DefaultsAreThoseOfAnUnconfiguredControl) {
    struct Row {
        ControlKind kind;
        const char* name;
        PropertyValue value;
    };
    const std::vector<Row> rows = {
        {ControlKind::StaticText, "Index", std::int32_t{kNoIndex}},
        {ControlKind::StaticText, "Left", std::int32_t{0}},
        {ControlKind::StaticText, "LockRight", false},
        {ControlKind::StaticText, "TextColor", RGB(0, 0, 0)},
        {ControlKind::StaticText, "TextFont", "System"s},
        {ControlKind::StaticText, "HelpTag", ""s},
        {ControlKind::TextField, "BackColor", RGB(255, 255, 255)},
        {ControlKind::TextField, "Border", true},
        {ControlKind::TextField, "TabStop", true},
        {ControlKind::TextField, "Enabled", true},
        {ControlKind::TextField, "Visible", true},
        {ControlKind::TextField, "AutoDeactivate", true},
        {ControlKind::TextField, "Underline", false},
        {ControlKind::PopupMenu, "ListIndex", std::int32_t{0}},
        {ControlKind::Canvas, "AcceptFocus", true},
        {ControlKind::UpDownArrows, "AcceptFocus", true},
        {ControlKind::Listbox, "DataSource", ""s},
        {ControlKind::CheckBox, "Value", false},
        {ControlKind::RadioButton, "Value", false},
        {ControlKind::PushButton, "Default", false},
        {ControlKind::Window, "BackColor", RGB(255, 255, 255)},
        {ControlKind::Window, "CloseButton", true},
        {ControlKind::Window, "Visible", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ValueOf(DesignDefaults(row.kind), row.name), row.value);
    }
}

TEST(DesignSchemaTest, BuilderPutsTheGivenValuesInPlaceOfTheDefaults) {
    const std::string record =
        BuildDesignRecord(ControlKind::StaticText, {
                                                       {"TextColor", RGB(0xFF, 0, 0)},
                                                       {"Name", "Yright"s},
                                                       {"Index", std::int32_t{3}},
                                                       {"Top", std::int32_t{540}},
                                                       {"Text", "0"s},
                                                   });
    const std::vector<Property> decoded = DecodeDesignRecord(record);
    const std::vector<Property>& defaults = DesignDefaults(ControlKind::StaticText);
    ASSERT_EQ(decoded.size(), defaults.size());
    const std::map<std::string, PropertyValue> given = {
        {"TextColor", RGB(0xFF, 0, 0)}, {"Name", "Yright"s}, {"Index", std::int32_t{3}},
        {"Top", std::int32_t{540}},     {"Text", "0"s},
    };
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        SCOPED_TRACE(defaults[i].name);
        EXPECT_EQ(decoded[i].name, defaults[i].name); // record order, not the order given
        const auto override = given.find(defaults[i].name);
        EXPECT_EQ(decoded[i].value, override != given.end() ? override->second : defaults[i].value);
    }
}

TEST(DesignSchemaTest, BuilderRejectsWhatTheKindDoesNotHave) {
    struct Row {
        ControlKind kind;
        Property value;
    };
    const std::vector<Row> rows = {
        {ControlKind::Canvas, {"Caption", "Plot"s}},      // a name of another kind
        {ControlKind::StaticText, {"Title", "Kelvara"s}}, // a window's name
        {ControlKind::Window, {"Name", "MainWindow"s}},   // a control's name
        {ControlKind::PushButton, {"NoSuchName", true}},
        {ControlKind::TextField, {"Text", true}}, // wrong type
        {ControlKind::CheckBox, {"State", true}},
        {ControlKind::Listbox, {"ColumnCount", "2"s}},
        {ControlKind::StaticText, {"TextColor", std::int32_t{0xFF0000}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value.name);
        try {
            BuildDesignRecord(row.kind, {row.value});
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(row.value.name), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace fw
