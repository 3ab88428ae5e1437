// A painter call costs a few hundred nanoseconds whatever the line, while
// the lines of a waveform set two or three pixels each. Which pixels the
// raster engine sets for a line depends only on the offset from its first end
// to its second, as long as no part of it is clipped: so the first line of
// each offset is drawn once through a painter into a scratch image, its pixels
// are remembered, and later lines of that offset that lie wholly inside an
// image get the same pixels set directly.

#include "framework/internal/line_pixels.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace fw::internal {
namespace {

constexpr QImage::Format kDirectFormat = QImage::Format_ARGB32_Premultiplied;
// The longest offset along either axis whose pixels are remembered (pixels):
// any line across the plot. Longer lines go to a painter.
constexpr int kLongestRememberedOffset = 1024;
// The most pixels remembered over all offsets, about 4 MB; lines of offsets
// not yet seen go to a painter once this is reached.
constexpr std::size_t kMostRememberedPixels = 1 << 20;
// Blank pixels around the line in the scratch image (pixels). A pixel set on
// the scratch image's edge could stand for more that fell outside it.
constexpr int kScratchMargin = 2;

struct PixelOffset {
    std::int16_t x;
    std::int16_t y;
};

// The pixels of a line as offsets from its first end, and their extent.
struct LineShape {
    std::vector<PixelOffset> pixels;
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

// Draws the line from (0, 0) to (dx, dy) through a painter and reads back
// which pixels it set; false when some may have fallen outside the scratch.
bool DrawShape(int dx, int dy, LineShape& shape) {
    const int width = std::abs(dx) + 1 + 2 * kScratchMargin;
    const int height = std::abs(dy) + 1 + 2 * kScratchMargin;
    QImage scratch(width, height, kDirectFormat);
    if (scratch.isNull()) {
        return false;
    }
    scratch.fill(Qt::transparent);
    const int x0 = kScratchMargin + std::max(0, -dx);
    const int y0 = kScratchMargin + std::max(0, -dy);
    {
        QPainter painter(&scratch);
        LinePen pen;
        PaintLine(painter, pen.For(RGB(255, 255, 255)), x0, y0, x0 + dx, y0 + dy);
    }
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(row[x]) == 0) {
                continue;
            }
            if (x == 0 || y == 0 || x == width - 1 || y == height - 1) {
                return false;
            }
            const PixelOffset offset{static_cast<std::int16_t>(x - x0),
                                     static_cast<std::int16_t>(y - y0)};
            shape.pixels.push_back(offset);
            shape.left = std::min(shape.left, int{offset.x});
            shape.right = std::max(shape.right, int{offset.x});
            shape.top = std::min(shape.top, int{offset.y});
            shape.bottom = std::max(shape.bottom, int{offset.y});
        }
    }
    return true;
}

// The remembered shape of the offset, drawn now if it is new; none when it
// cannot be remembered.
const LineShape* ShapeOf(int dx, int dy) {
    static std::unordered_map<std::uint64_t, LineShape> shapes;
    static std::size_t rememberedPixels = 0;

    const std::uint64_t key =
        (std::uint64_t{static_cast<std::uint32_t>(dx)} << 32) | static_cast<std::uint32_t>(dy);
    if (const auto found = shapes.find(key); found != shapes.end()) {
        return &found->second;
    }
    const std::size_t pixelsAtMost = std::max(std::abs(dx), std::abs(dy)) + 1;
    if (rememberedPixels + pixelsAtMost > kMostRememberedPixels) {
        return nullptr;
    }
    LineShape shape;
    if (!DrawShape(dx, dy, shape)) {
        return nullptr;
    }
    rememberedPixels += shape.pixels.size();
    return &shapes.emplace(key, std::move(shape)).first->second;
}

} // namespace

const QPen& LinePen::For(Color colour) {
    if (!made_ || colour != colour_) {
        pen_ = QPen(QColor(colour.red, colour.green, colour.blue));
        pen_.setWidth(1);
        pen_.setCapStyle(Qt::SquareCap);
        colour_ = colour;
        made_ = true;
    }
    return pen_;
}

void PaintLine(QPainter& painter, const QPen& pen, int x1, int y1, int x2, int y2) {
    // Each call only changes what differs: the same pen object is no change.
    if (painter.testRenderHint(QPainter::Antialiasing)) {
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    painter.setPen(pen);
    painter.drawLine(x1, y1, x2, y2);
}

bool SetLinePixels(QImage& image, Color colour, int x1, int y1, int x2, int y2) {
    const long long dx = static_cast<long long>(x2) - x1;
    const long long dy = static_cast<long long>(y2) - y1;
    if (image.format() != kDirectFormat || std::llabs(dx) > kLongestRememberedOffset ||
        std::llabs(dy) > kLongestRememberedOffset) {
        return false;
    }
    const LineShape* shape = ShapeOf(static_cast<int>(dx), static_cast<int>(dy));
    if (shape == nullptr || static_cast<long long>(x1) + shape->left < 0 ||
        static_cast<long long>(x1) + shape->right >= image.width() ||
        static_cast<long long>(y1) + shape->top < 0 ||
        static_cast<long long>(y1) + shape->bottom >= image.height()) {
        return false;
    }
    // An opaque colour drawn over any pixel replaces it, and premultiplying
    // leaves it as it is.
    const QRgb pixel = qRgb(colour.red, colour.green, colour.blue);
    uchar* bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    for (const PixelOffset offset : shape->pixels) {
        auto* row = reinterpret_cast<QRgb*>(bits + (y1 + offset.y) * bytesPerLine);
        row[x1 + offset.x] = pixel;
    }
    return true;
}

} // namespace fw::internal
