#pragma once

// Framework-internal: captions of push buttons, check boxes, radio buttons.
// Never included outside framework/.

#include <QStyle>

#include <string>
#include <string_view>

class QAbstractButton;

namespace fw::internal {

// The caption of a button as the system wrote it.
std::string ButtonCaption(const QAbstractButton& button);
void SetButtonCaption(QAbstractButton& button, std::string_view caption);

// Narrows the button's font until its caption fits the part of the button
// that the style keeps for the text (`contents`).
void FitButtonCaption(QAbstractButton& button, QStyle::SubElement contents);

} // namespace fw::internal
