#include "framework/text_field.h"

#include "framework/internal/design_values.h"
#include "framework/window.h"

#include <QLineEdit>
#include <QValidator>

#include <algorithm>
#include <limits>

namespace fw {
namespace {

// A one-line field holds no line breaks and no other control character but
// tab: the number readers stop at them and the preferences file cannot keep
// them in a field. Tab is kept: the file keeps it.
bool IsControlCharacter(QChar c) {
    return (c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F;
}

// Takes out of the text every character `drop` picks, moving the cursor
// position with the rest. Returns whether anything was taken out.
template <class Drop>
bool DropCharacters(QString& text, int& pos, Drop drop) {
    QString kept;
    kept.reserve(text.size());
    int keptPos = pos;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (drop(text[i])) {
            if (i < pos) {
                --keptPos;
            }
            continue;
        }
        kept.append(text[i]);
    }
    if (kept.size() == text.size()) {
        return false;
    }
    text = kept;
    pos = keptPos;
    return true;
}

// Checks every change of the text, before anything hears of it. The field
// never holds a control character or a refused one, so any in the input came
// with the change.
//
// An edit the user makes (typing, pasting, dropping, QLineEdit::insert) has
// its control characters, line breaks among them, taken out and the rest of
// it kept: a number copied from a spreadsheet cell ends with a line break. An
// edit that would bring in a refused character is refused whole.
//
// Text set as a whole, by QLineEdit::setText from code or from an assistive
// tool, cannot be refused: QLineEdit takes it whatever the validator says,
// but it takes the input as the validator leaves it, so that text is cleaned
// instead and only the clean text is ever announced. Which road a change
// came by shows in QLineEdit's modified flag: setting text as a whole clears
// it, and every edit of the user's raises it before the edit is validated.
class RefusingValidator final : public QValidator {
public:
    explicit RefusingValidator(QLineEdit& edit)
        : QValidator(&edit)
        , edit_(edit) {}

    void SetRefused(QString refused) { refused_ = std::move(refused); }

    bool IsRefused(QChar c) const { return refused_.contains(c); }

    // Takes out of the text everything the field may not hold.
    bool Clean(QString& text, int& pos) const {
        return DropCharacters(text, pos,
                              [this](QChar c) { return IsControlCharacter(c) || IsRefused(c); });
    }

    State validate(QString& input, int& pos) const override {
        if (!edit_.isModified()) {
            Clean(input, pos);
            return Acceptable;
        }
        DropCharacters(input, pos, IsControlCharacter);
        const bool bringsRefused =
            std::any_of(input.begin(), input.end(), [this](QChar c) { return IsRefused(c); });
        return bringsRefused ? Invalid : Acceptable;
    }

private:
    const QLineEdit& edit_;
    QString refused_;
};

QLineEdit& Edit(QWidget* widget) {
    return *static_cast<QLineEdit*>(widget);
}

RefusingValidator* ValidatorOf(QWidget* widget) {
    return const_cast<RefusingValidator*>(
        static_cast<const RefusingValidator*>(Edit(widget).validator()));
}

// The design's Alignment: 0 default, 1 left, 2 centre, 3 right.
Qt::Alignment AlignmentOf(std::int32_t alignment) {
    switch (alignment) {
    case 2:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case 3:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// The design's LimitText 0: no limit. QLineEdit's own default, 32767, would
// cut longer text set from a stored file and so lose it at the next save.
constexpr int kUnlimitedLength = std::numeric_limits<int>::max();

} // namespace

TextField::TextField(Window& owner, std::string name, std::int32_t index)
    : Control(owner, ControlKind::TextField, std::move(name), index,
              new QLineEdit(owner.ContentWidget())) {
    QLineEdit& edit = Edit(NativeWidget());
    edit.setMaxLength(kUnlimitedLength);
    edit.setValidator(new RefusingValidator(edit));
    QObject::connect(&edit, &QLineEdit::textChanged, &edit,
                     [this](const QString&) { RaiseEvent("TextChange"); });
    SetTextColor(textColor_);
    SetBackColor(backColor_);
    UpdateFont();
}

std::string TextField::Text() const {
    return internal::ToUtf8(Edit(NativeWidget()).text());
}

void TextField::SetText(std::string_view text) {
    Edit(NativeWidget()).setText(internal::ToQString(text));
}

int TextField::SelStart() const {
    const QLineEdit& edit = Edit(NativeWidget());
    return edit.hasSelectedText() ? edit.selectionStart() : edit.cursorPosition();
}

void TextField::SetSelStart(int start) {
    QLineEdit& edit = Edit(NativeWidget());
    edit.setCursorPosition(std::clamp(start, 0, static_cast<int>(edit.text().size())));
}

int TextField::SelLength() const {
    return Edit(NativeWidget()).selectionLength();
}

void TextField::SetSelLength(int length) {
    QLineEdit& edit = Edit(NativeWidget());
    const int start = SelStart();
    const int available = static_cast<int>(edit.text().size()) - start;
    edit.setSelection(start, std::clamp(length, 0, available));
}

std::string TextField::SelText() const {
    return internal::ToUtf8(Edit(NativeWidget()).selectedText());
}

void TextField::SelectAll() {
    Edit(NativeWidget()).selectAll();
}

void TextField::SetBold(bool bold) {
    bold_ = bold;
    UpdateFont();
}

bool TextField::ReadOnly() const {
    return Edit(NativeWidget()).isReadOnly();
}
void TextField::SetReadOnly(bool readOnly) {
    Edit(NativeWidget()).setReadOnly(readOnly);
}

void TextField::SetTextColor(Color color) {
    textColor_ = color;
    QPalette palette = NativeWidget()->palette();
    palette.setColor(QPalette::Text, internal::ToQColor(color));
    NativeWidget()->setPalette(palette);
}

void TextField::SetBackColor(Color color) {
    backColor_ = color;
    QPalette palette = NativeWidget()->palette();
    palette.setColor(QPalette::Base, internal::ToQColor(color));
    NativeWidget()->setPalette(palette);
}

void TextField::SetRefusedCharacters(std::string_view characters) {
    refused_ = characters;
    RefusingValidator* validator = ValidatorOf(NativeWidget());
    validator->SetRefused(internal::ToQString(characters));
    // The text may already hold a character refused from now on: it is set
    // again without it, the cursor staying by the same characters.
    QLineEdit& edit = Edit(NativeWidget());
    QString text = edit.text();
    int pos = edit.cursorPosition();
    if (validator->Clean(text, pos)) {
        edit.setText(text);
        edit.setCursorPosition(pos);
    }
}

void TextField::ApplyDesignProperty(const Property& property) {
    const std::string& name = property.name;
    QLineEdit& edit = Edit(NativeWidget());
    if (name == "Text") {
        SetText(internal::TextValue(property));
    } else if (name == "TextColor") {
        SetTextColor(internal::ColorValue(property));
    } else if (name == "BackColor") {
        SetBackColor(internal::ColorValue(property));
    } else if (name == "ReadOnly") {
        SetReadOnly(internal::BoolValue(property));
    } else if (name == "Border") {
        edit.setFrame(internal::BoolValue(property));
    } else if (name == "Password") {
        edit.setEchoMode(internal::BoolValue(property) ? QLineEdit::Password : QLineEdit::Normal);
    } else if (name == "LimitText") {
        const std::int32_t limit = internal::IntValue(property);
        edit.setMaxLength(limit > 0 ? std::min(limit, kUnlimitedLength) : kUnlimitedLength);
    } else if (name == "CueText") {
        edit.setPlaceholderText(internal::ToQString(internal::TextValue(property)));
    } else if (name == "Alignment") {
        edit.setAlignment(AlignmentOf(internal::IntValue(property)));
    }
    Control::ApplyDesignProperty(property);
}

std::vector<std::pair<std::string_view, EventShape>> TextField::Events() const {
    return {{"TextChange", EventShape::Plain}};
}

} // namespace fw
