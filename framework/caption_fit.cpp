#include "framework/internal/caption_fit.h"

#include <QFontMetrics>
#include <QRect>
#include <QRegularExpression>
#include <QStringList>

#include <array>

namespace fw::internal {
namespace {

// Widths tried before the size is reduced, in per cent of the normal width:
// the named QFont stretches from semi-condensed to ultra-condensed.
constexpr std::array kStretchSteps{93, 87, 81, 75, 68, 62, 56, 50};
// Below this pixel size a caption is no longer readable; fitting stops there.
constexpr int kSmallestPixelSize = 6;

} // namespace

bool TextFits(const QFont& font, const QString& text, QSize room, bool wrap) {
    const QFontMetrics metrics(font);
    if (wrap) {
        const QRect bounds =
            metrics.boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap, text);
        if (bounds.height() > room.height()) {
            return false;
        }
        // A single word wider than the room cannot be wrapped; it must fit.
        // The expression is compiled once, at its first use.
        static const QRegularExpression kSpaces(QStringLiteral("\\s+"));
        const QStringList words = text.split(kSpaces, Qt::SkipEmptyParts);
        for (const QString& word : words) {
            if (metrics.horizontalAdvance(word) > room.width()) {
                return false;
            }
        }
        return true;
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (metrics.horizontalAdvance(line) > room.width()) {
            return false;
        }
    }
    return true;
}

QFont FitFont(QFont font, const QString& text, QSize room, bool wrap) {
    if (text.isEmpty() || TextFits(font, text, room, wrap)) {
        return font;
    }
    for (const int stretch : kStretchSteps) {
        font.setStretch(stretch);
        if (TextFits(font, text, room, wrap)) {
            return font;
        }
    }
    const int startSize = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
    for (int size = startSize - 1; size >= kSmallestPixelSize; --size) {
        font.setPixelSize(size);
        if (TextFits(font, text, room, wrap)) {
            return font;
        }
    }
    return font;
}

} // namespace fw::internal
