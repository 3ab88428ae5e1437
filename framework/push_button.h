#pragma once

#include "framework/control.h"

#include <string>
#include <string_view>

namespace fw {

// A push button. Events: "Action" when pressed by the mouse, by the keyboard,
// as the window's default button (Return) or cancel button (Escape), or by Push.
class PushButton : public Control {
public:
    PushButton(Window& owner, std::string name, std::int32_t index);

    std::string Caption() const;
    void SetCaption(std::string_view caption);
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool isCancel);
    // Presses the button as a click would, when it is enabled.
    void Push();

    void ApplyDesignProperty(const Property& property) override;

protected:
    std::vector<std::pair<std::string_view, EventShape>> Events() const override;
    void UpdateFont() override;

private:
    bool default_ = false;
    bool cancel_ = false;
};

} // namespace fw
