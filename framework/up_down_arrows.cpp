#include "framework/up_down_arrows.h"

#include "framework/window.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

namespace fw {
namespace {

// A held arrow repeats after this delay, at this interval.
constexpr int kRepeatDelay = 400;    // milliseconds
constexpr int kRepeatInterval = 100; // milliseconds

QToolButton* NewArrow(QWidget& box, Qt::ArrowType arrow) {
    auto* button = new QToolButton(&box);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(kRepeatDelay);
    button->setAutoRepeatInterval(kRepeatInterval);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return button;
}

QWidget* NewArrowBox(QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(NewArrow(*box, Qt::UpArrow));
    layout->addWidget(NewArrow(*box, Qt::DownArrow));
    return box;
}

QToolButton* ArrowAt(QWidget* box, int position) {
    return static_cast<QToolButton*>(box->layout()->itemAt(position)->widget());
}

} // namespace

UpDownArrows::UpDownArrows(Window& owner, std::string name, std::int32_t index)
    : Control(owner, ControlKind::UpDownArrows, std::move(name), index,
              NewArrowBox(owner.ContentWidget())) {
    QObject::connect(ArrowAt(NativeWidget(), 0), &QToolButton::clicked, NativeWidget(),
                     [this] { RaiseEvent("Up"); });
    QObject::connect(ArrowAt(NativeWidget(), 1), &QToolButton::clicked, NativeWidget(),
                     [this] { RaiseEvent("Down"); });
    ApplyFocusPolicy();
}

QWidget* UpDownArrows::UpButton() const {
    return ArrowAt(NativeWidget(), 0);
}
QWidget* UpDownArrows::DownButton() const {
    return ArrowAt(NativeWidget(), 1);
}

// The focus sits on the arrows; the box hands it to the up arrow.
void UpDownArrows::ApplyFocusPolicy() {
    const Qt::FocusPolicy policy = TakesFocus() ? Qt::TabFocus : Qt::NoFocus;
    NativeWidget()->setFocusPolicy(Qt::NoFocus);
    UpButton()->setFocusPolicy(policy);
    DownButton()->setFocusPolicy(policy);
    NativeWidget()->setFocusProxy(TakesFocus() ? UpButton() : nullptr);
}

void UpDownArrows::ApplyDesignProperty(const Property& property) {
    Control::ApplyDesignProperty(property);
}

std::vector<std::pair<std::string_view, EventShape>> UpDownArrows::Events() const {
    return {{"Up", EventShape::Plain}, {"Down", EventShape::Plain}};
}

} // namespace fw
