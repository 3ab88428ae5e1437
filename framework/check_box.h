#pragma once

#include "framework/control.h"

#include <string>
#include <string_view>

namespace fw {

// A check box. Events: "Action" whenever its value changes, by a click or
// from code.
class CheckBox : public Control {
public:
    CheckBox(Window& owner, std::string name, std::int32_t index);

    std::string Caption() const;
    void SetCaption(std::string_view caption);
    bool Value() const;
    void SetValue(bool checked);
    // 0 unchecked, 1 checked.
    int State() const { return Value() ? 1 : 0; }
    void SetState(int state) { SetValue(state != 0); }

    void ApplyDesignProperty(const Property& property) override;

protected:
    std::vector<std::pair<std::string_view, EventShape>> Events() const override;
    void UpdateFont() override;
};

} // namespace fw
