#include "framework/graphics.h"

#include "framework/internal/graphics_target.h"
#include "framework/internal/qt_bridge.h"

#include <QImage>
#include <QPainter>
#include <QRect>

#include <memory>
#include <optional>

namespace fw {
namespace {

// A picture's pixels. Most lines are set into them directly. Opening a
// painter costs more than a line, so one stays open between the drawing calls
// that need it; the image's flush ends it before anyone reads the pixels, and
// it opens again at the next such call.
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

    // Set directly while the painter is open, they are still the pixels it
    // draws on: an image is never shared while a painter is open on it.
    QImage* WritablePixels() override { return &image_.image; }

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
    // Most lines of a picture lie wholly inside it and have their pixels set
    // directly; the painter draws the others and clips them to the target.
    if (QImage* pixels = target_->WritablePixels();
        pixels != nullptr && internal::SetLinePixels(*pixels, foreColor_, x1, y1, x2, y2)) {
        return;
    }
    QPainter* painter = target_->Painter();
    if (painter == nullptr) {
        return;
    }
    internal::PaintLine(*painter, target_->linePen.For(foreColor_), x1, y1, x2, y2);
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
