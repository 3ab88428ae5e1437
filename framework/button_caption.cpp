#include "framework/internal/button_caption.h"

#include "framework/internal/caption_fit.h"
#include "framework/internal/design_values.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QStyleOptionButton>

#include <algorithm>

namespace fw::internal {
namespace {

// Room kept clear between a push button's caption and its frame.
constexpr int kPushButtonPadding = 2; // pixels on each side

} // namespace

std::string ButtonCaption(const QAbstractButton& button) {
    return FromCaptionText(button.text());
}

void SetButtonCaption(QAbstractButton& button, std::string_view caption) {
    button.setText(CaptionText(caption));
}

void FitButtonCaption(QAbstractButton& button, QStyle::SubElement contents) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    if (const auto* push = qobject_cast<const QPushButton*>(&button)) {
        if (push->isDefault()) {
            option.features |= QStyleOptionButton::DefaultButton;
        }
        if (push->autoDefault()) {
            option.features |= QStyleOptionButton::AutoDefaultButton;
        }
    }
    QSize room = button.style()->subElementRect(contents, &option, &button).size();
    if (contents == QStyle::SE_PushButtonContents) {
        room.setWidth(std::max(room.width() - 2 * kPushButtonPadding, 0));
    }
    const QString text = QString(button.text()).replace(QLatin1String("&&"), QLatin1String("&"));
    button.setFont(FitFont(button.font(), text, room, /*wrap=*/false));
}

} // namespace fw::internal
