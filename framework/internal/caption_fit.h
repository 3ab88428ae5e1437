#pragma once

// Framework-internal: fitting a caption into the fixed box of its control.
// Never included outside framework/.

#include <QFont>
#include <QSize>
#include <QString>

namespace fw::internal {

// The font to show `text` in `room`: `font` itself when the text fits, else
// the font condensed step by step and, when even the narrowest width is too
// wide, at smaller pixel sizes. A wrapping text must fit the room's height
// with its words wrapped at the room's width; any other text must fit each of
// its lines into the width. A room that nothing fits into gets the smallest
// font tried.
QFont FitFont(QFont font, const QString& text, QSize room, bool wrap);

// Whether `text` in `font` fits `room`, by the rule above.
bool TextFits(const QFont& font, const QString& text, QSize room, bool wrap);

} // namespace fw::internal
