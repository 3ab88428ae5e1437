#include "app/menu_bar.h"

#include "framework/exceptions.h"

#include <vector>

namespace {

fw::Ref<MenuBar1> sharedMenuBar;

struct ItemDesign {
    const char* name;
    const char* text;
    const char* shortcut; // null: the item gets no shortcut at all
};

const ItemDesign kFileMenu = {"FileMenu", "&File", ""};
const ItemDesign kFileQuit = {"FileQuit", "Quit", "Cmd+Q"};
const ItemDesign kEditMenu = {"EditMenu", "&Edit", ""};
const std::vector<ItemDesign> kEditItems = {
    {"EditUndo", "Undo", "Cmd+Z"}, {"UntitledMenu0", "-", nullptr}, {"EditCut", "Cut", "Cmd+X"},
    {"EditCopy", "Copy", "Cmd+C"}, {"EditPaste", "Paste", "Cmd+V"}, {"EditClear", "Clear", ""},
};

template <class Item = fw::MenuItem>
fw::Ref<fw::MenuItem> NewItem(const ItemDesign& design) {
    fw::Ref<fw::MenuItem> item = fw::New<Item>();
    item->Constructor();
    item->SetName(design.name);
    item->SetAutoEnable(true);
    item->SetText(design.text);
    if (design.shortcut != nullptr) {
        item->SetKeyboardShortcut(design.shortcut);
    }
    return item;
}

fw::MenuItem& ChildMenu(const fw::MenuItem& bar, const char* name) {
    fw::Ref<fw::MenuItem> menu = bar.Child(name);
    if (!menu) {
        throw fw::NilObjectException(std::string("the menu bar has no menu ") + name);
    }
    return *menu;
}

} // namespace

fw::Ref<MenuBar1> MenuBar1::Instance() {
    if (!sharedMenuBar) {
        sharedMenuBar = fw::New<MenuBar1>();
        sharedMenuBar->Constructor();
    }
    return sharedMenuBar;
}

void MenuBar1::Release() {
    sharedMenuBar = nullptr;
}

void MenuBar1::Constructor() {
    Untitled1();
    Untitled2();
}

void MenuBar1::Untitled1() {
    Append(NewItem(kFileMenu));
    fw::Ref<fw::MenuItem> quit = NewItem<fw::QuitMenuItem>(kFileQuit);
    ChildMenu(*this, kFileMenu.name).Append(quit);
}

void MenuBar1::Untitled2() {
    Append(NewItem(kEditMenu));
    for (const ItemDesign& design : kEditItems) {
        fw::Ref<fw::MenuItem> item = NewItem(design);
        ChildMenu(*this, kEditMenu.name).Append(item);
    }
}
