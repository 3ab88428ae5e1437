#pragma once

#include "framework/ref.h"

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// An item of a menu, a menu, or (MenuBar) the bar itself. A Text of "-" makes
// a separator line. A KeyboardShortcut such as "Cmd+Q" uses the platform's
// command modifier (Ctrl here). With AutoEnable the framework enables the item
// whenever it can act: the standard edit items EditUndo, EditCut, EditCopy,
// EditPaste and EditClear act on the focused text field.
class MenuItem {
public:
    MenuItem() = default;
    virtual ~MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    // Builds the item's own content; a plain item has none.
    virtual void Constructor() {}

    const std::string& Name() const { return name_; }
    void SetName(std::string_view name) { name_ = name; }
    const std::string& Text() const { return text_; }
    void SetText(std::string_view text) { text_ = text; }
    const std::string& KeyboardShortcut() const { return shortcut_; }
    void SetKeyboardShortcut(std::string_view shortcut) { shortcut_ = shortcut; }
    bool AutoEnable() const { return autoEnable_; }
    void SetAutoEnable(bool autoEnable) { autoEnable_ = autoEnable; }

    void Append(Ref<MenuItem> item) { children_.push_back(std::move(item)); }
    // The direct child of that name; none when there is no such child.
    Ref<MenuItem> Child(std::string_view name) const;
    int Count() const { return static_cast<int>(children_.size()); }
    // OutOfBoundsException outside 0 to Count() - 1.
    Ref<MenuItem> Item(int index) const;

    // The framework's quit item quits the application when chosen.
    virtual bool IsQuitItem() const { return false; }

private:
    std::string name_;
    std::string text_;
    std::string shortcut_;
    bool autoEnable_ = false;
    std::vector<Ref<MenuItem>> children_;
};

// Chosen, it quits the application: every window closes first (so that their
// Close handlers run), then the event loop ends.
class QuitMenuItem : public MenuItem {
public:
    bool IsQuitItem() const override { return true; }
};

// The menus of the menu bar are its children.
class MenuBar : public MenuItem {};

} // namespace fw
