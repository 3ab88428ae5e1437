#pragma once

// Test windows built the way the system builds its own: the window's design
// record applied in "Layout", each control created in "CreateControls" from a
// row of kind, name, index, box and design values, through BuildDesignRecord
// and _SetProperties.

#include "framework/control.h"
#include "framework/design_schema.h"
#include "framework/window.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace kelvara_test {

// Design values spelled by type, so that a text never turns into a Boolean.
inline fw::Property IntValue(std::string name, std::int32_t value) {
    return {std::move(name), value};
}
inline fw::Property BoolValue(std::string name, bool value) {
    return {std::move(name), value};
}
inline fw::Property TextValue(std::string name, std::string value) {
    return {std::move(name), std::move(value)};
}
inline fw::Property ColorValue(std::string name, fw::Color value) {
    return {std::move(name), value};
}

struct ControlRow {
    fw::ControlKind kind;
    std::string name;
    std::int32_t index = fw::kNoIndex;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int tabIndex = 0;
    // Design values beyond name, index, box and tab index.
    std::vector<fw::Property> values = {};
    // Set before the record, as the system sets 10 or 12; 0 keeps the default.
    int textSize = 0;
};

// The record entries of a row: its name, index, box, tab index and values.
std::vector<fw::Property> RowValues(const ControlRow& row);

// Creates the row's control in the window, registers it and applies its record.
fw::Control& CreateControl(fw::Window& window, const ControlRow& row);

class DesignedWindow : public fw::Window {
public:
    DesignedWindow(std::vector<fw::Property> windowValues, std::vector<ControlRow> rows);

    // Event counts of the window events, for tests.
    int opens = 0;
    int closes = 0;
    int activates = 0;
    int deactivates = 0;
    int minimizes = 0;

private:
    void Layout();
    void CreateControls();
    void Open() { ++opens; }
    void Closed() { ++closes; }
    void Activated() { ++activates; }
    void Deactivated() { ++deactivates; }
    void Minimized() { ++minimizes; }

    std::vector<fw::Property> windowValues_;
    std::vector<ControlRow> rows_;
};

// Builds and constructs a window of the given design.
std::unique_ptr<DesignedWindow> BuildWindow(std::vector<fw::Property> windowValues,
                                            std::vector<ControlRow> rows);

// Shows the window and waits until it is the active window; false when it
// never became active.
bool ShowActive(fw::Window& window);

// The widget that has the keyboard focus within the window, or null.
QWidget* FocusedWidget(const fw::Window& window);

} // namespace kelvara_test
