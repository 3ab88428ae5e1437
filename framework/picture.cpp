#include "framework/picture.h"

#include "framework/exceptions.h"
#include "framework/internal/graphics_target.h"
#include "framework/internal/qt_bridge.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QScreen>

#include <string>

namespace fw {
namespace {

constexpr QImage::Format kPictureFormat = QImage::Format_ARGB32_Premultiplied;
constexpr int kBytesPerPixel = 4;

// The largest picture the framework makes: the same limit that Qt puts on an
// image read from a file, so that a mistaken size is refused instead of
// exhausting the memory.
bool FitsTheAllocationLimit(int width, int height) {
    const long long limitBytes = static_cast<long long>(QImageReader::allocationLimit()) << 20;
    // Both sides are at most 2^62, so neither can overflow.
    return limitBytes <= 0 || static_cast<long long>(width) * height <= limitBytes / kBytesPerPixel;
}

std::string SizeText(int width, int height) {
    return std::to_string(width) + " by " + std::to_string(height);
}

QRgb PixelAt(const QImage& image, int x, int y) {
    if (!image.valid(x, y)) {
        throw OutOfBoundsException("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                   ") outside a picture of " +
                                   SizeText(image.width(), image.height()));
    }
    return image.pixel(x, y);
}

} // namespace

Picture::Picture(int width, int height, int depth)
    : image_(std::make_unique<Image>())
    , depth_(depth) {
    if (width < 1 || height < 1 || !FitsTheAllocationLimit(width, height)) {
        throw OutOfBoundsException("no picture can be " + SizeText(width, height));
    }
    image_->image = QImage(width, height, kPictureFormat);
    if (image_->image.isNull()) {
        throw OutOfBoundsException("no memory for a picture of " + SizeText(width, height));
    }
    image_->image.fill(Qt::transparent);
    graphics_ = internal::NewPictureGraphics(*image_);
}

Picture::~Picture() {
    // The graphics may hold a painter open on the image: it goes first.
    graphics_.reset();
}

int Picture::Width() const {
    return image_->image.width();
}

int Picture::Height() const {
    return image_->image.height();
}

fw::Graphics& Picture::Graphics() {
    return *graphics_;
}

Picture::Image& Picture::Pixels() const {
    return *image_;
}

Color Picture::Pixel(int x, int y) const {
    const QRgb pixel = PixelAt(image_->Read(), x, y); // not premultiplied
    return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

bool Picture::IsBlank(int x, int y) const {
    return qAlpha(PixelAt(image_->Read(), x, y)) == 0;
}

Ref<Picture> NewPicture(int width, int height, int depth) {
    if (width < 1 || height < 1 || !FitsTheAllocationLimit(width, height)) {
        return nullptr;
    }
    try {
        return New<Picture>(width, height, depth);
    } catch (const OutOfBoundsException&) {
        return nullptr; // the memory ran out
    }
}

Ref<ScreenInfo> Screen(int index) {
    if (qGuiApp == nullptr) {
        return nullptr;
    }
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (index < 0 || index >= screens.size()) {
        return nullptr;
    }
    const QScreen* screen = screens[index];
    return New<ScreenInfo>(screen->depth(), screen->geometry().width(),
                           screen->geometry().height());
}

namespace internal {

Ref<Picture> PictureFromImage(QImage image) {
    QImage pixels = image.convertToFormat(kPictureFormat);
    if (pixels.isNull()) {
        return nullptr;
    }
    Ref<Picture> picture = NewPicture(pixels.width(), pixels.height(), pixels.depth());
    if (picture) {
        picture->Pixels().image = std::move(pixels);
    }
    return picture;
}

} // namespace internal
} // namespace fw
