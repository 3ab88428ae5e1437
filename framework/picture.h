#pragma once

#include "framework/color.h"
#include "framework/graphics.h"
#include "framework/ref.h"

#include <memory>

namespace fw {

// An off-screen picture. It starts blank: every pixel transparent.
class Picture {
public:
    // Use NewPicture; a size below 1 by 1 is not a picture.
    Picture(int width, int height, int depth);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    int Width() const;
    int Height() const;
    int Depth() const { return depth_; }

    // 1: blank pixels are transparent when the picture is drawn; 0: white.
    int Transparent() const { return transparent_; }
    void SetTransparent(int transparent) { transparent_ = transparent; }

    // The picture's drawing context, the same one at every request, so a fore
    // colour set through one request holds for the next.
    fw::Graphics& Graphics();

    // Reading pixels back: the colour at (x, y), and whether the pixel is
    // blank. Outside the picture: OutOfBoundsException.
    Color Pixel(int x, int y) const;
    bool IsBlank(int x, int y) const;

    struct Image;
    Image& Pixels() const; // the framework's access to the pixels

private:
    std::unique_ptr<Image> image_;
    std::unique_ptr<fw::Graphics> graphics_;
    int depth_;
    int transparent_ = 0;
};

// A new blank picture; none when width or height is below 1, or when the
// picture would be too large to hold.
Ref<Picture> NewPicture(int width, int height, int depth);

// A screen of the machine.
class ScreenInfo {
public:
    ScreenInfo(int depth, int width, int height)
        : depth_(depth)
        , width_(width)
        , height_(height) {}
    int Depth() const { return depth_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int depth_;
    int width_;
    int height_;
};

// Screen number index, 0 the main screen; none past the last.
Ref<ScreenInfo> Screen(int index);

} // namespace fw
