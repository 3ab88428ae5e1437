#pragma once

#include "framework/color.h"

#include <memory>

namespace fw {

class Picture;

// A drawing context: of a picture (it draws into the picture's pixels) or of
// a canvas (it draws on the screen while the canvas paints). Lines are one
// pixel wide and not smoothed.
class Graphics {
public:
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    Color ForeColor() const { return foreColor_; }
    void SetForeColor(Color color) { foreColor_ = color; }
    // Accepted for the sake of older drawing code; drawing is the same either way.
    bool UseOldRenderer() const { return useOldRenderer_; }
    void SetUseOldRenderer(bool old) { useOldRenderer_ = old; }

    int Width() const;
    int Height() const;

    // A line in the fore colour between two pixels, both ends included; equal
    // ends set one pixel. What falls outside the target is clipped.
    void DrawLine(int x1, int y1, int x2, int y2);
    // Makes a rectangle blank again (blank pixels are transparent).
    void ClearRect(int x, int y, int width, int height);
    // Draws a whole picture at its natural size with its top left corner at
    // (x, y). While the picture's Transparent is 1 its blank pixels let what
    // is beneath show through; while it is 0 they are drawn white.
    void DrawPicture(const Picture& picture, int x, int y);

    struct Target;
    explicit Graphics(std::unique_ptr<Target> target);
    Target& Surface() const { return *target_; } // the framework's access to what it draws on

private:
    std::unique_ptr<Target> target_;
    Color foreColor_{0, 0, 0};
    bool useOldRenderer_ = false;
};

} // namespace fw
