#pragma once

#include "framework/control.h"

namespace fw {

// A pair of small arrow buttons, up above down. Events: "Up" and "Down", one
// per press (a held arrow repeats). The arrows never take the focus while the
// design says AcceptFocus false.
class UpDownArrows : public Control {
public:
    UpDownArrows(Window& owner, std::string name, std::int32_t index);

    // The arrow buttons, for tests that click them.
    QWidget* UpButton() const;
    QWidget* DownButton() const;

    void ApplyDesignProperty(const Property& property) override;

protected:
    std::vector<std::pair<std::string_view, EventShape>> Events() const override;
    void ApplyFocusPolicy() override;
};

} // namespace fw
