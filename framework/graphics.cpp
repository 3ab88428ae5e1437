#include "framework/graphics.h"

#include "framework/internal/graphics_target.h"
#include "framework/internal/qt_bridge.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRect>

#include <memory>
#include <optional>

namespace fw {
namespace {

// A picture's pixels. Opening a painter costs more than a line, so one stays
// open between drawing calls; the image's flush ends it before anyone reads
// the pixels, and it opens again at the next drawing call.
class PictureTarget final : public Graphics::Target {
public:
    explicit PictureTarget(Picture::Image& image)
        : image_(image) {
        image_.flush = [this] { painter_.reset(); };
    }
    ~PictureTarget() override {
        painter_.reset();
        image_.flush = nullptr;
    }

    int Width() const override { return image_.image.width(); }
    int Height() const override { return image_.image.height(); }

    QPainter* Painter() override {
        if (!painter_) {
            painter_.emplace(&image_.image);
        }
        return &*painter_;
    }

    void Clear(QPainter& painter, const QRect& rect) override {
        // Source mode writes the transparent colour instead of blending it.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    const Picture::Image* PictureImage() const override { return &image_; }

private:
    Picture::Image& image_;
    std::optional<QPainter> painter_;
};

// A canvas: it has a painter only while its paint event runs.
class CanvasTarget final : public Graphics::Target {
public:
    CanvasTarget(int width, int height)
        : width_(width)
        , height_(height) {}

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    QPainter* Painter() override { return painter_; }
    void Clear(QPainter& painter, const QRect& rect) override { painter.eraseRect(rect); }
    void BeginPaint(QPainter& painter) override { painter_ = &painter; }
    void EndPaint() override { painter_ = nullptr; }

private:
    int width_;
    int height_;
    QPainter* painter_ = nullptr;
};

QColor ToQColor(Color color) {
    return QColor(color.red, color.green, color.blue);
}

} // namespace

Graphics::Graphics(std::unique_ptr<Target> target)
    : target_(std::move(target)) {}

Graphics::~Graphics() = default;

int Graphics::Width() const {
    return target_->Width();
}

int Graphics::Height() const {
    return target_->Height();
}

void Graphics::DrawLine(int x1, int y1, int x2, int y2) {
    QPainter* painter = target_->Painter();
    if (painter == nullptr) {
        return;
    }
    // A one-pixel pen with square caps, not smoothed, sets both end pixels
    // and a single pixel for equal ends; the painter clips to the target.
    QPen pen(ToQColor(foreColor_));
    pen.setWidth(1);
    pen.setCapStyle(Qt::SquareCap);
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(pen);
    painter->drawLine(x1, y1, x2, y2);
}

void Graphics::ClearRect(int x, int y, int width, int height) {
    QPainter* painter = target_->Painter();
    if (painter == nullptr || width < 1 || height < 1) {
        return;
    }
    target_->Clear(*painter, QRect(x, y, width, height));
}

void Graphics::DrawPicture(const Picture& picture, int x, int y) {
    if (target_->Painter() == nullptr) {
        return;
    }
    // Reading the source ends any painter open on it; that includes this
    // target's own painter when a picture is drawn onto itself, and the
    // copy keeps the drawing from reading pixels it is changing.
    const Picture::Image& source = picture.Pixels();
    QImage pixels = source.Read();
    if (&source == target_->PictureImage()) {
        pixels = pixels.copy();
    }
    QPainter* painter = target_->Painter();
    if (picture.Transparent() != 1) {
        painter->fillRect(QRect(x, y, pixels.width(), pixels.height()), Qt::white);
    }
    painter->drawImage(x, y, pixels);
}

namespace internal {

std::unique_ptr<Graphics> NewPictureGraphics(Picture::Image& image) {
    return std::make_unique<Graphics>(std::make_unique<PictureTarget>(image));
}

std::unique_ptr<Graphics> NewCanvasGraphics(int width, int height) {
    return std::make_unique<Graphics>(std::make_unique<CanvasTarget>(width, height));
}

void BeginPaint(Graphics& graphics, QPainter& painter) {
    graphics.Surface().BeginPaint(painter);
}

void EndPaint(Graphics& graphics) {
    graphics.Surface().EndPaint();
}

} // namespace internal
} // namespace fw
