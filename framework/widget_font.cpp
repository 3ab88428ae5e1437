#include "framework/internal/widget_font.h"

#include "framework/internal/design_values.h"

#include <QApplication>

#include <algorithm>

namespace fw::internal {

QFont DesignFont(const std::string& family, int pixelSize, bool bold, bool italic, bool underline) {
    QFont font = QApplication::font();
    if (!family.empty() && family != "System") {
        font.setFamily(ToQString(family));
    }
    font.setPixelSize(pixelSize > 0 ? std::min(pixelSize, kLargestTextSize) : kDefaultTextSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

} // namespace fw::internal
