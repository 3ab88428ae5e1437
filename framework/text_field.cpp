#include "framework/text_field.h"

#include "framework/internal/design_values.h"
#include "framework/window.h"

#include <QLineEdit>
#include <QValidator>

#include <algorithm>
#include <limits>

namespace fw {
namespace {

// Checks every edit that typing, pasting, dropping or an assistive tool
// makes. A one-line field holds no line breaks: they are taken out of the
// edit and the rest of it kept (a number copied from a spreadsheet cell ends
// with one). An edit that would bring in more of any refused character than
// the text had before it is refused whole. Text set from code passes
// untouched, and what it brought in does not block later edits.
class RefusingValidator final : public QValidator {
public:
    explicit RefusingValidator(QLineEdit& edit)
        : QValidator(&edit) {
        QObject::connect(&edit, &QLineEdit::textChanged, this,
                         [this](const QString& text) { accepted_ = text; });
    }

    void SetRefused(QString refused) { refused_ = std::move(refused); }
    // Text set from code is taken as it is.
    void SetFromCode(bool fromCode) { fromCode_ = fromCode; }

    State validate(QString& input, int& pos) const override {
        if (fromCode_) {
            return Acceptable;
        }
        DropLineBreaks(input, pos);
        for (const QChar refused : refused_) {
            if (input.count(refused) > accepted_.count(refused)) {
                return Invalid;
            }
        }
        return Acceptable;
    }

private:
    static bool IsLineBreak(QChar c) { return c == u'\n' || c == u'\r'; }

    // Leaves line breaks that were there before the edit (set from code) and
    // takes out those the edit brought in, moving the cursor with the text.
    void DropLineBreaks(QString& input, int& pos) const {
        const auto breaks = [](const QString& text) {
            return std::count_if(text.begin(), text.end(), IsLineBreak);
        };
        if (breaks(input) <= breaks(accepted_)) {
            return;
        }
        QString kept;
        kept.reserve(input.size());
        int keptPos = pos;
        for (qsizetype i = 0; i < input.size(); ++i) {
            if (IsLineBreak(input[i])) {
                if (i < pos) {
                    --keptPos;
                }
                continue;
            }
            kept.append(input[i]);
        }
        input = kept;
        pos = keptPos;
    }

private:
    QString refused_;
    QString accepted_;
    bool fromCode_ = false;
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
    RefusingValidator* validator = ValidatorOf(NativeWidget());
    validator->SetFromCode(true);
    Edit(NativeWidget()).setText(internal::ToQString(text));
    validator->SetFromCode(false);
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
    ValidatorOf(NativeWidget())->SetRefused(internal::ToQString(characters));
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
