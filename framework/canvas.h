#pragma once

#include "framework/control.h"
#include "framework/ref.h"

#include <memory>

namespace fw {

class Graphics;
class Picture;

// A drawing area. Each paint erases it, draws the backdrop picture (when
// there is one) at its top left corner and raises "Paint" with a graphics
// context for the canvas.
class Canvas : public Control {
public:
    Canvas(Window& owner, std::string name, std::int32_t index);
    ~Canvas() override;

    Ref<Picture> Backdrop() const { return backdrop_; }
    void SetBackdrop(Ref<Picture> picture);

    // The canvas's own drawing context, the same one every time. While the
    // canvas paints it draws on the screen; outside a paint it keeps its
    // settings but draws nothing.
    fw::Graphics& Graphics();

    void ApplyDesignProperty(const Property& property) override;

protected:
    std::vector<std::pair<std::string_view, EventShape>> Events() const override;

private:
    friend struct CanvasPainter;
    void Paint(); // called by the widget's paint
    Ref<Picture> backdrop_;
    std::unique_ptr<fw::Graphics> graphics_;
};

} // namespace fw
