#pragma once

// One-pixel lines, drawn as Qt's raster engine draws them: through a painter,
// or, for a line wholly inside an image, by setting the very pixels that the
// painter would set. Never included outside framework/.

#include "framework/color.h"

#include <QPen>

class QImage;
class QPainter;

namespace fw::internal {

// The pen of a line in one colour: one pixel wide, square caps, so that both
// end pixels are set. It is made again only when the colour changes, so that a
// painter given the same pen twice sees nothing to update.
class LinePen {
public:
    const QPen& For(Color colour);

private:
    QPen pen_;
    Color colour_{0, 0, 0};
    bool made_ = false;
};

// Draws the line with the painter, not smoothed, clipped to its device.
void PaintLine(QPainter& painter, const QPen& pen, int x1, int y1, int x2, int y2);

// Sets the pixels of the line in an ARGB32 premultiplied image when every one
// of them lies inside it, and says so; false leaves the image untouched and
// the line to a painter.
bool SetLinePixels(QImage& image, Color colour, int x1, int y1, int x2, int y2);

} // namespace fw::internal
