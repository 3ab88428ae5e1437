#pragma once

// Framework-internal conversions between design values, texts and Qt types.
// Never included outside framework/.

#include "framework/color.h"
#include "framework/design_record.h"

#include <QColor>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw::internal {

// The value of a design property as the type its name calls for; a value of
// another type is a mistake in the layout and throws std::invalid_argument.
std::int32_t IntValue(const Property& property);
bool BoolValue(const Property& property);
const std::string& TextValue(const Property& property);
Color ColorValue(const Property& property);

QString ToQString(std::string_view utf8);
std::string ToUtf8(const QString& text);
QColor ToQColor(Color color);

// A caption for a button-like widget: an ampersand shows as itself instead
// of marking a keyboard mnemonic.
QString CaptionText(std::string_view utf8);
std::string FromCaptionText(const QString& caption);

// The rows of a design text that lists one row per line; a line ends at a
// carriage return, a line feed or both. A final line end adds no empty row.
std::vector<std::string> SplitDesignLines(std::string_view text);

} // namespace fw::internal
