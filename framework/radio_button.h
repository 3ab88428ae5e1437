#pragma once

#include "framework/control.h"

#include <string>
#include <string_view>

namespace fw {

// A radio button. All radio buttons of a window form one exclusive group:
// selecting one, by a click or by SetValue(true), clears the others.
// Events: "Action" when the button becomes selected.
class RadioButton : public Control {
public:
    RadioButton(Window& owner, std::string name, std::int32_t index);

    std::string Caption() const;
    void SetCaption(std::string_view caption);
    bool Value() const;
    void SetValue(bool selected);

    void ApplyDesignProperty(const Property& property) override;

protected:
    std::vector<std::pair<std::string_view, EventShape>> Events() const override;
    void UpdateFont() override;
};

} // namespace fw
