#pragma once

#include "framework/design_record.h"
#include "framework/design_schema.h"
#include "framework/events.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QWidget;

namespace fw {

class Window;

// A control of a window: a real widget at a fixed pixel position in the
// window's content area, found by its name (and its index when it is a member
// of a control array). The window owns its controls for its whole life.
class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }
    // The member's index in its control array, kNoIndex for a single control.
    std::int32_t Index() const { return index_; }
    Window& Owner() const { return owner_; }

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);

    // The tooltip; shown only while the application's help tags are on.
    const std::string& HelpTag() const { return helpTag_; }
    void SetHelpTag(std::string_view text);

    // Font size in pixels; 0 is the framework's default size. Captions that
    // would not fit their box at the size are narrowed until they fit.
    int TextSize() const { return textSize_; }
    void SetTextSize(int size);
    // Font unit; only the framework's default unit 0 is in use.
    int TextUnit() const { return textUnit_; }
    void SetTextUnit(int unit) { textUnit_ = unit; }
    // Font family; "System" is the application's default family.
    const std::string& TextFont() const { return textFont_; }
    void SetTextFont(std::string_view family);

    // Keyboard focus: TabStop and AcceptFocus from the design decide whether
    // the control ever takes it; TabIndex orders it within the window.
    int TabIndex() const { return tabIndex_; }
    bool TakesFocus() const;
    void SetFocus();
    bool HasFocus() const;

    // Asks for a repaint; it happens when the event loop or the background
    // task next attends to the screen.
    void Refresh(bool eraseBackground = true);

    // Applies one entry of the control's design record. Each kind takes its
    // own properties and hands the rest to this base, which takes the common
    // ones (name, index, position, size, enabled, visible, help tag, tab
    // order, font) and keeps the rest as inert design values.
    virtual void ApplyDesignProperty(const Property& property);
    // The value the design record last gave a property, or null.
    const PropertyValue* DesignValue(std::string_view name) const;

    // Binds a handler to one of the kind's events by the event's name. An
    // unknown event, or a handler of another shape, throws std::invalid_argument.
    void InstallEventHandler(std::string_view event, EventHandler handler);
    bool HasEventHandler(std::string_view event) const;

    // The widget itself, for the framework and for tests.
    QWidget* NativeWidget() const { return widget_; }

protected:
    Control(Window& owner, ControlKind kind, std::string name, std::int32_t index, QWidget* widget);

    // The events of this kind, by name, with their shapes.
    virtual std::vector<std::pair<std::string_view, EventShape>> Events() const { return {}; }

    // Raise an event: nothing happens while no handler is bound; an exception
    // out of the handler goes to the unhandled-exception report and the
    // Boolean events then answer false.
    void RaiseEvent(std::string_view event);
    void RaisePaint(Graphics& g);
    bool RaiseCellClick(int row, int column, int x, int y);
    bool RaiseCellKeyDown(int row, int column, const std::string& key);

    // Recomputes the font from TextSize, Bold, Italic, Underline and fits the
    // caption into the box; kinds call it when their caption or font changes.
    virtual void UpdateFont();
    bool bold_ = false;
    bool italic_ = false;
    bool underline_ = false;

    // Gives the widget the focus policy that TakesFocus asks for; kinds whose
    // focus sits on inner widgets or must not follow clicks override it.
    virtual void ApplyFocusPolicy();

private:
    const EventHandler* FindHandler(std::string_view event) const;

    Window& owner_;
    ControlKind kind_;
    std::string name_;
    std::int32_t index_;
    QWidget* widget_;
    std::string helpTag_;
    std::string textFont_ = "System";
    int textSize_ = 0;
    int textUnit_ = 0;
    int tabIndex_ = 0;
    bool tabStop_ = true;
    bool acceptFocus_ = true;
    std::map<std::string, PropertyValue, std::less<>> design_;
    std::map<std::string, EventHandler, std::less<>> handlers_;
};

} // namespace fw
