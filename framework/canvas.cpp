#include "framework/canvas.h"

#include "framework/graphics.h"
#include "framework/internal/design_values.h"
#include "framework/internal/qt_bridge.h"
#include "framework/picture.h"
#include "framework/window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace fw {

// The one way from the widget's paint event to the canvas.
struct CanvasPainter {
    static void Paint(Canvas& canvas) { canvas.Paint(); }
};

namespace {

class CanvasWidget final : public QWidget {
public:
    CanvasWidget(QWidget* parent, Canvas& canvas)
        : QWidget(parent)
        , canvas_(canvas) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override { CanvasPainter::Paint(canvas_); }
    // A press on the canvas is the canvas's, not the window background's.
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }

private:
    Canvas& canvas_;
};

} // namespace

Canvas::Canvas(Window& owner, std::string name, std::int32_t index)
    : Control(owner, ControlKind::Canvas, std::move(name), index,
              new CanvasWidget(owner.ContentWidget(), *this)) {}

Canvas::~Canvas() = default;

void Canvas::SetBackdrop(Ref<Picture> picture) {
    backdrop_ = std::move(picture);
    Refresh();
}

// Made on first use, when the design has given the canvas its size.
fw::Graphics& Canvas::Graphics() {
    if (!graphics_) {
        graphics_ = internal::NewCanvasGraphics(Width(), Height());
    }
    return *graphics_;
}

void Canvas::Paint() {
    QWidget* widget = NativeWidget();
    QPainter painter(widget);
    painter.fillRect(widget->rect(), widget->palette().window());
    if (backdrop_) {
        const QImage& image = backdrop_->Pixels().Read();
        if (backdrop_->Transparent() == 0) {
            painter.fillRect(QRect(QPoint(0, 0), image.size()), Qt::white);
        }
        painter.drawImage(0, 0, image);
    }
    fw::Graphics& g = Graphics();
    internal::BeginPaint(g, painter);
    RaisePaint(g);
    internal::EndPaint(g);
}

void Canvas::ApplyDesignProperty(const Property& property) {
    Control::ApplyDesignProperty(property);
}

std::vector<std::pair<std::string_view, EventShape>> Canvas::Events() const {
    return {{"Paint", EventShape::Paint}};
}

} // namespace fw
