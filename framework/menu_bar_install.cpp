// Builds a window's Qt menu bar from the framework's menu tree.

#include "framework/application.h"
#include "framework/internal/edit_commands.h"
#include "framework/internal/menu_shortcut.h"
#include "framework/internal/qt_bridge.h"
#include "framework/menu.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace fw::internal {
namespace {

// The property that marks an action as a standard edit item with AutoEnable.
constexpr const char* kAutoEditCommand = "fwAutoEditCommand";

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

void UpdateEditItems(QMenu& menu) {
    QLineEdit* field = FocusedTextField();
    for (QAction* action : menu.actions()) {
        const QVariant command = action->property(kAutoEditCommand);
        if (command.isValid()) {
            action->setEnabled(CanAct(static_cast<EditCommand>(command.toInt()), field));
        }
    }
}

// Quitting closes the windows, among them the one whose menu or key press is
// being handled; the framework deletes closed windows only once the event
// loop has left that handling, so quitting right away is safe.
void QuitNow() {
    try {
        Quit(0);
    } catch (...) {
        ReportHandlerException(std::current_exception());
    }
}

void AddItem(QMenu& menu, const MenuItem& item);

// Fills a menu with the children of `parent`. Its edit items follow the
// focused field: checked when the menu opens, and whenever the focus moves,
// so that their shortcuts are live exactly when the items could act.
void FillMenu(QMenu& menu, const MenuItem& parent) {
    menu.setObjectName(ToQString(parent.Name()));
    for (int i = 0; i < parent.Count(); ++i) {
        if (Ref<MenuItem> child = parent.Item(i)) {
            AddItem(menu, *child);
        }
    }
    QMenu* target = &menu;
    QObject::connect(target, &QMenu::aboutToShow, target, [target] { UpdateEditItems(*target); });
    QObject::connect(qApp, &QApplication::focusChanged, target,
                     [target] { UpdateEditItems(*target); });
    UpdateEditItems(menu);
}

void AddItem(QMenu& menu, const MenuItem& item) {
    if (item.Text() == "-") {
        menu.addSeparator();
        return;
    }
    if (item.Count() > 0) {
        FillMenu(*menu.addMenu(ToQString(item.Text())), item);
        return;
    }
    QAction* action = menu.addAction(ToQString(item.Text()));
    action->setObjectName(ToQString(item.Name()));
    action->setShortcut(ShortcutFromText(item.KeyboardShortcut()));
    if (item.IsQuitItem()) {
        action->setMenuRole(QAction::QuitRole);
        QObject::connect(action, &QAction::triggered, action, &QuitNow);
        return;
    }
    const EditCommand command = EditCommandNamed(item.Name());
    if (command == EditCommand::None) {
        return;
    }
    if (item.AutoEnable()) {
        action->setProperty(kAutoEditCommand, static_cast<int>(command));
    }
    QObject::connect(action, &QAction::triggered, action,
                     [command] { Act(command, FocusedTextField()); });
}

} // namespace

void InstallMenuBar(QMainWindow& window, const MenuBar& menuBar) {
    auto* bar = new QMenuBar(&window);
    for (int i = 0; i < menuBar.Count(); ++i) {
        const Ref<MenuItem> menuItem = menuBar.Item(i);
        if (!menuItem) {
            continue;
        }
        FillMenu(*bar->addMenu(ToQString(menuItem->Text())), *menuItem);
    }
    // Replaces the window's menu bar; the old one goes once its own handling
    // is over.
    window.setMenuBar(bar);
}

} // namespace fw::internal
