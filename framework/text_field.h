#pragma once

#include "framework/color.h"
#include "framework/control.h"

#include <string>
#include <string_view>

namespace fw {

// A one-line edit field. It never holds a line break or another control
// character but tab, nor a refused character, however the text came in.
// Events: "TextChange" on every change of its text, typed or set from code,
// raised for the text the field then holds.
class TextField : public Control {
public:
    TextField(Window& owner, std::string name, std::int32_t index);

    std::string Text() const;
    // Sets the text without the characters the field may not hold.
    void SetText(std::string_view text);

    // Selection in characters. A start past the end puts the insertion point
    // at the end; a length past the end selects to the end.
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    std::string SelText() const;
    void SelectAll();

    bool Bold() const { return bold_; }
    void SetBold(bool bold);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    Color TextColor() const { return textColor_; }
    void SetTextColor(Color color);
    Color BackColor() const { return backColor_; }
    void SetBackColor(Color color);

    // Characters the text may not hold. A typed, pasted or dropped edit that
    // would bring one in is refused whole and the text stays as it was; text
    // set from code or by an assistive tool is taken without them, as are
    // line breaks and other control characters from anywhere. Text the field
    // already holds loses them at once.
    void SetRefusedCharacters(std::string_view characters);
    const std::string& RefusedCharacters() const { return refused_; }

    void ApplyDesignProperty(const Property& property) override;

protected:
    std::vector<std::pair<std::string_view, EventShape>> Events() const override;

private:
    Color textColor_{0, 0, 0};
    Color backColor_{255, 255, 255};
    std::string refused_;
};

} // namespace fw
