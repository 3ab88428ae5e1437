#include "framework/control.h"

#include "framework/internal/design_values.h"
#include "framework/internal/event_dispatch.h"
#include "framework/internal/widget_font.h"
#include "framework/window.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <stdexcept>

namespace fw {

Control::Control(Window& owner, ControlKind kind, std::string name, std::int32_t index,
                 QWidget* widget)
    : owner_(owner)
    , kind_(kind)
    , name_(std::move(name))
    , index_(index)
    , widget_(widget) {
    widget_->setObjectName(internal::ToQString(name_));
    widget_->show();
    Control::ApplyFocusPolicy();
}

Control::~Control() {
    // The widget may still emit while it goes (focus moves, models empty);
    // nothing of this control may hear it any more.
    widget_->blockSignals(true);
    delete widget_;
}

int Control::Left() const {
    return widget_->x();
}
int Control::Top() const {
    return widget_->y();
}
int Control::Width() const {
    return widget_->width();
}
int Control::Height() const {
    return widget_->height();
}

bool Control::Enabled() const {
    return widget_->isEnabledTo(widget_->parentWidget());
}
void Control::SetEnabled(bool enabled) {
    widget_->setEnabled(enabled);
}

// Visible is the control's own setting; a control of a hidden window still
// counts as visible.
bool Control::Visible() const {
    return !widget_->isHidden();
}
void Control::SetVisible(bool visible) {
    widget_->setVisible(visible);
}

void Control::SetHelpTag(std::string_view text) {
    helpTag_ = text;
    widget_->setToolTip(internal::ToQString(text));
}

void Control::SetTextSize(int size) {
    textSize_ = std::max(size, 0);
    UpdateFont();
}

void Control::SetTextFont(std::string_view family) {
    textFont_ = family;
    UpdateFont();
}

bool Control::TakesFocus() const {
    if (kind_ == ControlKind::StaticText || kind_ == ControlKind::GroupBox) {
        return false;
    }
    return tabStop_ && acceptFocus_;
}

void Control::SetFocus() {
    widget_->setFocus(Qt::OtherFocusReason);
}

// The focus of the control's window, whether or not the window is active
// right now; a control with inner widgets has the focus when one of them has.
bool Control::HasFocus() const {
    const QWidget* focused = widget_->window()->focusWidget();
    return focused != nullptr && (focused == widget_ || widget_->isAncestorOf(focused));
}

void Control::Refresh(bool /*eraseBackground*/) {
    widget_->update();
}

void Control::ApplyFocusPolicy() {
    widget_->setFocusPolicy(TakesFocus() ? Qt::StrongFocus : Qt::NoFocus);
}

void Control::UpdateFont() {
    widget_->setFont(internal::DesignFont(textFont_, textSize_, bold_, italic_, underline_));
}

void Control::ApplyDesignProperty(const Property& property) {
    const std::string& name = property.name;
    if (name == "Name") {
        if (internal::TextValue(property) != name_) {
            throw std::invalid_argument("design record of '" + internal::TextValue(property) +
                                        "' applied to the control '" + name_ + "'");
        }
    } else if (name == "Index") {
        if (internal::IntValue(property) != index_) {
            throw std::invalid_argument(
                "design record of index " + std::to_string(internal::IntValue(property)) +
                " applied to the control '" + name_ + "' of index " + std::to_string(index_));
        }
    } else if (name == "Left") {
        widget_->move(internal::IntValue(property), widget_->y());
    } else if (name == "Top") {
        widget_->move(widget_->x(), internal::IntValue(property));
    } else if (name == "Width") {
        widget_->resize(std::max(internal::IntValue(property), 0), widget_->height());
        UpdateFont();
    } else if (name == "Height") {
        widget_->resize(widget_->width(), std::max(internal::IntValue(property), 0));
        UpdateFont();
    } else if (name == "Enabled") {
        SetEnabled(internal::BoolValue(property));
    } else if (name == "Visible") {
        SetVisible(internal::BoolValue(property));
    } else if (name == "HelpTag") {
        SetHelpTag(internal::TextValue(property));
    } else if (name == "TabIndex") {
        tabIndex_ = internal::IntValue(property);
    } else if (name == "TabStop") {
        tabStop_ = internal::BoolValue(property);
        ApplyFocusPolicy();
    } else if (name == "AcceptFocus") {
        acceptFocus_ = internal::BoolValue(property);
        ApplyFocusPolicy();
    } else if (name == "TextFont") {
        SetTextFont(internal::TextValue(property));
    } else if (name == "TextSize") {
        SetTextSize(internal::IntValue(property));
    } else if (name == "TextUnit") {
        SetTextUnit(internal::IntValue(property));
    } else if (name == "Bold") {
        bold_ = internal::BoolValue(property);
        UpdateFont();
    } else if (name == "Italic") {
        italic_ = internal::BoolValue(property);
        UpdateFont();
    } else if (name == "Underline") {
        underline_ = internal::BoolValue(property);
        UpdateFont();
    }
    design_.insert_or_assign(name, property.value);
}

const PropertyValue* Control::DesignValue(std::string_view name) const {
    const auto found = design_.find(name);
    return found == design_.end() ? nullptr : &found->second;
}

void Control::InstallEventHandler(std::string_view event, EventHandler handler) {
    const auto events = Events();
    const auto known = std::find_if(events.begin(), events.end(),
                                    [event](const auto& entry) { return entry.first == event; });
    if (known == events.end()) {
        throw std::invalid_argument("the control '" + name_ + "' has no event '" +
                                    std::string(event) + "'");
    }
    if (known->second != ShapeOf(handler)) {
        throw std::invalid_argument("the handler does not fit the event '" + std::string(event) +
                                    "' of the control '" + name_ + "'");
    }
    handlers_.insert_or_assign(std::string(event), std::move(handler));
}

bool Control::HasEventHandler(std::string_view event) const {
    return FindHandler(event) != nullptr;
}

const EventHandler* Control::FindHandler(std::string_view event) const {
    const auto found = handlers_.find(event);
    return found == handlers_.end() ? nullptr : &found->second;
}

// Each raise copies the handler first: the handler may bind another one to
// the same event while it runs.
void Control::RaiseEvent(std::string_view event) {
    const EventHandler* found = FindHandler(event);
    if (found == nullptr) {
        return;
    }
    const auto handler = std::get<PlainHandler>(*found);
    internal::RunHandler([&] { handler(this); });
}

void Control::RaisePaint(Graphics& g) {
    const EventHandler* found = FindHandler("Paint");
    if (found == nullptr) {
        return;
    }
    const auto handler = std::get<PaintHandler>(*found);
    internal::RunHandler([&] { handler(this, g); });
}

bool Control::RaiseCellClick(int row, int column, int x, int y) {
    const EventHandler* found = FindHandler("CellClick");
    if (found == nullptr) {
        return false;
    }
    const auto handler = std::get<CellClickHandler>(*found);
    bool consumed = false;
    internal::RunHandler([&] { consumed = handler(this, row, column, x, y); });
    return consumed;
}

bool Control::RaiseCellKeyDown(int row, int column, const std::string& key) {
    const EventHandler* found = FindHandler("CellKeyDown");
    if (found == nullptr) {
        return false;
    }
    const auto handler = std::get<CellKeyDownHandler>(*found);
    bool consumed = false;
    internal::RunHandler([&] { consumed = handler(this, row, column, key); });
    return consumed;
}

void _SetProperties(Control& control, std::string_view record) {
    for (const Property& property : DecodeDesignRecord(record)) {
        control.ApplyDesignProperty(property);
    }
}

} // namespace fw
