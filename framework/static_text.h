#pragma once

#include "framework/color.h"
#include "framework/control.h"

#include <string>
#include <string_view>

namespace fw {

// A label. A carriage return (or a line feed) in the text starts a new line
// while the label is Multiline.
class StaticText : public Control {
public:
    enum Align { AlignLeft = 0, AlignCenter = 1, AlignRight = 2 };

    StaticText(Window& owner, std::string name, std::int32_t index);

    const std::string& Text() const { return text_; }
    void SetText(std::string_view text);
    int TextAlign() const { return align_; }
    void SetTextAlign(int align);
    Color TextColor() const { return color_; }
    void SetTextColor(Color color);
    bool Multiline() const { return multiline_; }
    void SetMultiline(bool multiline);
    bool Bold() const { return bold_; }
    bool Underline() const { return underline_; }

    void ApplyDesignProperty(const Property& property) override;

protected:
    void UpdateFont() override;

private:
    void ShowText();

    std::string text_;
    int align_ = AlignLeft;
    Color color_{0, 0, 0};
    bool multiline_ = false;
};

} // namespace fw
