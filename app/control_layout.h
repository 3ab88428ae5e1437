#pragma once

// Windows are built from layout tables: one row per control, in creation
// order, with its place, caption, font size, tab order, design values and
// event bindings. The rows become design property records, so a window's
// whole look lives in its table and nowhere in its logic.

#include "framework/color.h"
#include "framework/control.h"
#include "framework/design_record.h"
#include "framework/design_schema.h"
#include "framework/events.h"
#include "framework/picture.h"
#include "framework/ref.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace fw {
class Window;
} // namespace fw

// One event of a control and the handler method of window class W it runs.
template <class W>
struct EventBinding {
    const char* event;
    fw::EventHandler (*bind)(W* window);
};

// The binder of a handler method, for EventBinding tables:
//   {"Action", BindTo<MainWindow, &MainWindow::PlotPB_Action>}
template <class W, auto Method>
fw::EventHandler BindTo(W* window) {
    return fw::Delegate(window, Method);
}

struct Box {
    int left;
    int top;
    int width;
    int height;
};

template <class W>
struct ControlRow {
    fw::ControlKind kind;
    const char* name;
    std::int32_t index = fw::kNoIndex;
    Box box;
    const char* text = nullptr; // caption or text, where the kind shows one
    int fontSize = 0;           // 10 or 12; 0 keeps the framework's default size
    int align = -1;             // static texts: 0 left, 1 centre, 2 right
    std::optional<fw::Color> textColor;
    int tabIndex = 0;
    const char* helpTag = nullptr;
    std::vector<fw::Property> more; // the kind's other design values
    std::vector<EventBinding<W>> events;
    fw::Ref<fw::Picture> (*backdrop)() = nullptr; // canvases: the backdrop picture
};

// The design property values of a row, as its record carries them.
std::vector<fw::Property> DesignValuesOf(fw::ControlKind kind, const char* name, std::int32_t index,
                                         Box box, const char* text, int align,
                                         std::optional<fw::Color> textColor, int tabIndex,
                                         const char* helpTag,
                                         const std::vector<fw::Property>& more);

// Creates a control of the kind in the window and registers it under its name
// and index.
fw::Control& NewControlOfKind(fw::Window& window, fw::ControlKind kind, const char* name,
                              std::int32_t index);

// Sets the font size and unit, the backdrop and the design record of a newly
// registered control, looked up again by its name and index.
void ApplyDesignOf(fw::Window& window, fw::ControlKind kind, const char* name, std::int32_t index,
                   int fontSize, fw::Ref<fw::Picture> (*backdrop)(), const std::string& record);

// Creates the controls of the rows, in order. Each control is created,
// registered, given its font size, font unit, backdrop and design record,
// and only then bound to its handlers, so that no handler runs while the
// window is being built.
template <class W>
void CreateControls(W& window, std::span<const ControlRow<W>> rows) {
    for (const ControlRow<W>& row : rows) {
        fw::Control& control = NewControlOfKind(window, row.kind, row.name, row.index);
        const std::string record = fw::BuildDesignRecord(
            row.kind, DesignValuesOf(row.kind, row.name, row.index, row.box, row.text, row.align,
                                     row.textColor, row.tabIndex, row.helpTag, row.more));
        ApplyDesignOf(window, row.kind, row.name, row.index, row.fontSize, row.backdrop, record);
        for (const EventBinding<W>& binding : row.events) {
            control.InstallEventHandler(binding.event, binding.bind(&window));
        }
    }
}
