#include "framework/internal/design_values.h"

#include <stdexcept>
#include <variant>

namespace fw::internal {
namespace {

template <class T>
const T& ValueAs(const Property& property, const char* typeName) {
    if (const auto* value = std::get_if<T>(&property.value)) {
        return *value;
    }
    throw std::invalid_argument("design property '" + property.name + "' needs " + typeName);
}

} // namespace

std::int32_t IntValue(const Property& property) {
    return ValueAs<std::int32_t>(property, "an integer");
}

bool BoolValue(const Property& property) {
    return ValueAs<bool>(property, "a Boolean");
}

const std::string& TextValue(const Property& property) {
    return ValueAs<std::string>(property, "a text");
}

Color ColorValue(const Property& property) {
    return ValueAs<Color>(property, "a colour");
}

QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

QColor ToQColor(Color color) {
    return QColor(color.red, color.green, color.blue);
}

QString CaptionText(std::string_view utf8) {
    return ToQString(utf8).replace(QLatin1Char('&'), QLatin1String("&&"));
}

std::string FromCaptionText(const QString& caption) {
    QString text = caption;
    return ToUtf8(text.replace(QLatin1String("&&"), QLatin1String("&")));
}

std::vector<std::string> SplitDesignLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

} // namespace fw::internal
