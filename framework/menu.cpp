// The menu model: items, menus and the menu bar as a tree of named items.

#include "framework/menu.h"

#include "framework/exceptions.h"

#include <string>

namespace fw {

Ref<MenuItem> MenuItem::Child(std::string_view name) const {
    for (const Ref<MenuItem>& child : children_) {
        if (child && child->Name() == name) {
            return child;
        }
    }
    return nullptr;
}

Ref<MenuItem> MenuItem::Item(int index) const {
    if (index < 0 || index >= Count()) {
        throw OutOfBoundsException("menu item " + std::to_string(index) + " of '" + name_ +
                                   "', which has " + std::to_string(Count()) + " items");
    }
    return children_[static_cast<std::size_t>(index)];
}

} // namespace fw
