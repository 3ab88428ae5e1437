#pragma once

#include <concepts>
#include <functional>
#include <string>
#include <variant>

namespace fw {

class Control;
class Graphics;

// The shapes of event that controls and windows raise. A handler is a
// delegate of a window method; the compiler checks the method against the
// shape, and binding it to an event of another shape throws at once.
//   Plain        Action, TextChange, Change, Up, Down, Open, Close, ...
//   Paint        Paint (the graphics context to draw with)
//   CellClick    row, column, x, y of the click; true consumes it
//   CellKeyDown  row, column of the cell being edited, the key's text; true consumes it
//   MouseDown    x, y of a press on a window's background; true consumes it
enum class EventShape { Plain, Paint, CellClick, CellKeyDown, MouseDown };

// `sender` is the control that raised the event, or null for a window event.
using PlainHandler = std::function<void(Control* sender)>;
using PaintHandler = std::function<void(Control* sender, Graphics& g)>;
using CellClickHandler = std::function<bool(Control* sender, int row, int column, int x, int y)>;
using CellKeyDownHandler =
    std::function<bool(Control* sender, int row, int column, const std::string& key)>;
using MouseDownHandler = std::function<bool(int x, int y)>;

// Alternatives in the order of EventShape.
using EventHandler = std::variant<PlainHandler, PaintHandler, CellClickHandler, CellKeyDownHandler,
                                  MouseDownHandler>;

inline EventShape ShapeOf(const EventHandler& handler) {
    return static_cast<EventShape>(handler.index());
}

namespace detail {
[[noreturn]] void ThrowSenderMismatch();
}

template <class W>
EventHandler Delegate(W* target, void (W::*method)()) {
    return PlainHandler([target, method](Control*) { (target->*method)(); });
}

// A handler that also reads the control that raised the event, such as the
// member of a control array that was pressed.
template <class W, class C>
requires std::derived_from<C, Control> EventHandler Delegate(W* target, void (W::*method)(C&)) {
    return PlainHandler([target, method](Control* sender) {
        auto* control = dynamic_cast<C*>(sender);
        if (control == nullptr) {
            detail::ThrowSenderMismatch();
        }
        (target->*method)(*control);
    });
}

template <class W>
EventHandler Delegate(W* target, void (W::*method)(Graphics&)) {
    return PaintHandler([target, method](Control*, Graphics& g) { (target->*method)(g); });
}

template <class W>
EventHandler Delegate(W* target, bool (W::*method)(int, int, int, int)) {
    return CellClickHandler([target, method](Control*, int row, int column, int x, int y) {
        return (target->*method)(row, column, x, y);
    });
}

template <class W>
EventHandler Delegate(W* target, bool (W::*method)(int, int, const std::string&)) {
    return CellKeyDownHandler(
        [target, method](Control*, int row, int column, const std::string& key) {
            return (target->*method)(row, column, key);
        });
}

template <class W>
EventHandler Delegate(W* target, bool (W::*method)(int, int)) {
    return MouseDownHandler([target, method](int x, int y) { return (target->*method)(x, y); });
}

} // namespace fw
