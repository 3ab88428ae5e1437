#pragma once

#include "framework/control.h"

#include <string>
#include <string_view>

namespace fw {

// A captioned frame. Controls inside its rectangle stay controls of the window.
class GroupBox : public Control {
public:
    GroupBox(Window& owner, std::string name, std::int32_t index);

    std::string Caption() const;
    void SetCaption(std::string_view caption);

    void ApplyDesignProperty(const Property& property) override;

protected:
    void UpdateFont() override;
};

} // namespace fw
