#pragma once

// What a drawing context draws on: the pixels of a picture, or a canvas while
// it paints. Never included outside framework/.

#include "framework/graphics.h"
#include "framework/internal/line_pixels.h"
#include "framework/picture.h"

#include <memory>

class QImage;
class QPainter;
class QRect;

namespace fw {

struct Graphics::Target {
    virtual ~Target() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // The painter to draw with now, or null while nothing can be drawn.
    virtual QPainter* Painter() = 0;
    // Makes the rectangle blank with the painter that Painter() gave.
    virtual void Clear(QPainter& painter, const QRect& rect) = 0;
    // The pixels drawn on, when they are a picture's.
    virtual const Picture::Image* PictureImage() const { return nullptr; }
    // Pixels that may be set directly, beside what the painter draws; null
    // when there are none.
    virtual QImage* WritablePixels() { return nullptr; }

    // The pen of the latest line drawn through the painter.
    internal::LinePen linePen;

    // A canvas draws through the painter of its paint event between these.
    virtual void BeginPaint(QPainter& /*painter*/) {}
    virtual void EndPaint() {}
};

namespace internal {

// The drawing context of a picture's pixels. It keeps one painter open on the
// image between drawing calls and installs the image's flush to end it.
std::unique_ptr<Graphics> NewPictureGraphics(Picture::Image& image);

} // namespace internal
} // namespace fw
