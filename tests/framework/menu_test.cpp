// The menu model and the Qt menu bar built from it: titles, separators,
// shortcuts, the standard edit items on the focused text field, and the quit
// item.

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/internal/qt_bridge.h"
#include "framework/menu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct ItemDesign {
    const char* name;
    const char* text;
    const char* shortcut;
};

template <class Item = fw::MenuItem>
fw::Ref<fw::MenuItem> NewItem(const ItemDesign& design, bool autoEnable) {
    auto item = fw::New<Item>();
    item->Constructor();
    item->SetName(design.name);
    item->SetAutoEnable(autoEnable);
    item->SetText(design.text);
    item->SetKeyboardShortcut(design.shortcut);
    return item;
}

// The menus of a typical application: File with Quit, Edit with the standard
// edit items around a separator.
fw::Ref<fw::MenuBar> FileAndEditMenus(bool autoEnable = true) {
    auto bar = fw::New<fw::MenuBar>();
    bar->Append(NewItem({"FileMenu", "&File", ""}, autoEnable));
    bar->Child("FileMenu")
        ->Append(NewItem<fw::QuitMenuItem>({"FileQuit", "Quit", "Cmd+Q"}, autoEnable));
    bar->Append(NewItem({"EditMenu", "&Edit", ""}, autoEnable));
    const std::vector<ItemDesign> editItems = {
        {"EditUndo", "Undo", "Cmd+Z"}, {"UntitledMenu0", "-", ""},      {"EditCut", "Cut", "Cmd+X"},
        {"EditCopy", "Copy", "Cmd+C"}, {"EditPaste", "Paste", "Cmd+V"}, {"EditClear", "Clear", ""},
    };
    for (const ItemDesign& design : editItems) {
        bar->Child("EditMenu")->Append(NewItem(design, autoEnable));
    }
    return bar;
}

// ---------------------------------------------------------------- the model

TEST(MenuModel, ChildFindsOnlyDirectChildrenByName) {
    const auto bar = FileAndEditMenus();
    ASSERT_TRUE(bar->Child("FileMenu"));
    EXPECT_EQ(bar->Child("FileMenu")->Text(), "&File");
    EXPECT_EQ(bar->Child("EditMenu")->Child("EditCut")->KeyboardShortcut(), "Cmd+X");
    EXPECT_FALSE(bar->Child("EditCut")) << "a grandchild is not a child";
    EXPECT_FALSE(bar->Child("filemenu")) << "names are case-sensitive";
    EXPECT_FALSE(bar->Child(""));
    EXPECT_FALSE(bar->Child("HelpMenu"));
    EXPECT_THROW(bar->Child("HelpMenu")->Append(fw::New<fw::MenuItem>()), fw::NilObjectException);
}

TEST(MenuModel, ItemByIndexInsideBoundsOnly) {
    const auto edit = FileAndEditMenus()->Child("EditMenu");
    ASSERT_EQ(edit->Count(), 6);
    EXPECT_EQ(edit->Item(0)->Name(), "EditUndo");
    EXPECT_EQ(edit->Item(5)->Name(), "EditClear");
    for (int outside : {-1, 6, 1000}) {
        EXPECT_THROW(edit->Item(outside), fw::OutOfBoundsException) << outside;
    }
    EXPECT_THROW(fw::MenuItem().Item(0), fw::OutOfBoundsException);
}

TEST(MenuModel, OnlyTheQuitItemQuits) {
    const auto bar = FileAndEditMenus();
    EXPECT_TRUE(bar->Child("FileMenu")->Child("FileQuit")->IsQuitItem());
    EXPECT_FALSE(bar->Child("EditMenu")->Child("EditUndo")->IsQuitItem());
    EXPECT_FALSE(bar->IsQuitItem());
}

// ------------------------------------------------------- the built menu bar

QMenu* MenuTitled(QMainWindow& window, const QString& title) {
    for (QAction* action : window.menuBar()->actions()) {
        if (action->menu() != nullptr && action->text() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

QAction* ActionNamed(QMainWindow& window, const char* name) {
    return window.menuBar()->findChild<QAction*>(name);
}

TEST(InstalledMenuBar, HasTheMenusItemsSeparatorsAndShortcuts) {
    QMainWindow window;
    fw::internal::InstallMenuBar(window, *FileAndEditMenus());

    QStringList titles;
    for (QAction* action : window.menuBar()->actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles, QStringList({"&File", "&Edit"}));

    struct Row {
        const char* menu;
        const char* text; // "-" for a separator
        const char* shortcut;
    };
    const std::vector<Row> expected = {
        {"&File", "Quit", "Ctrl+Q"}, {"&Edit", "Undo", "Ctrl+Z"}, {"&Edit", "-", ""},
        {"&Edit", "Cut", "Ctrl+X"},  {"&Edit", "Copy", "Ctrl+C"}, {"&Edit", "Paste", "Ctrl+V"},
        {"&Edit", "Clear", ""},
    };
    std::map<QString, int> position;
    for (const Row& row : expected) {
        QMenu* menu = MenuTitled(window, row.menu);
        ASSERT_NE(menu, nullptr) << row.menu;
        const int index = position[row.menu]++;
        ASSERT_LT(index, menu->actions().size()) << row.menu << " " << row.text;
        QAction* action = menu->actions().at(index);
        if (std::string(row.text) == "-") {
            EXPECT_TRUE(action->isSeparator()) << row.menu << " item " << index;
            continue;
        }
        EXPECT_FALSE(action->isSeparator());
        EXPECT_EQ(action->text(), row.text);
        EXPECT_EQ(action->shortcut(), QKeySequence(row.shortcut, QKeySequence::PortableText))
            << row.text;
    }
    for (const auto& [menu, count] : position) {
        EXPECT_EQ(MenuTitled(window, menu)->actions().size(), count) << menu.toStdString();
    }
}

TEST(InstalledMenuBar, ReplacesTheMenusInstalledBefore) {
    QMainWindow window;
    fw::internal::InstallMenuBar(window, *FileAndEditMenus());
    auto single = fw::New<fw::MenuBar>();
    single->Append(NewItem({"ViewMenu", "&View", ""}, true));
    single->Child("ViewMenu")->Append(NewItem({"ViewZoom", "Zoom", "Cmd+Shift+Z"}, true));
    fw::internal::InstallMenuBar(window, *single);

    ASSERT_EQ(window.menuBar()->actions().size(), 1);
    QMenu* view = MenuTitled(window, "&View");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->actions().size(), 1);
    EXPECT_EQ(view->actions().at(0)->shortcut(), QKeySequence("Ctrl+Shift+Z"));
    EXPECT_EQ(MenuTitled(window, "&File"), nullptr);
}

TEST(InstalledMenuBar, NestedItemsBecomeSubmenusAndMissingItemsAreSkipped) {
    auto bar = fw::New<fw::MenuBar>();
    bar->Append(NewItem({"FileMenu", "&File", ""}, true));
    bar->Append(nullptr);
    auto recent = NewItem({"FileRecent", "Open Recent", ""}, true);
    recent->Append(NewItem({"FileRecent1", "prefs.txt", "Cmd+1"}, true));
    recent->Append(nullptr);
    bar->Child("FileMenu")->Append(recent);

    QMainWindow window;
    fw::internal::InstallMenuBar(window, *bar);
    ASSERT_EQ(window.menuBar()->actions().size(), 1);
    QMenu* file = MenuTitled(window, "&File");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->actions().size(), 1);
    QMenu* submenu = file->actions().at(0)->menu();
    ASSERT_NE(submenu, nullptr);
    EXPECT_EQ(submenu->title(), "Open Recent");
    ASSERT_EQ(submenu->actions().size(), 1);
    EXPECT_EQ(submenu->actions().at(0)->shortcut(), QKeySequence("Ctrl+1"));
}

// ------------------------------------------------------------- shortcuts

struct ShortcutCase {
    const char* text;
    const char* expected; // Qt's portable text; empty for no shortcut
};

void PrintTo(const ShortcutCase& row, std::ostream* out) {
    *out << '"' << row.text << '"';
}

class Shortcut : public testing::TestWithParam<ShortcutCase> {};

TEST_P(Shortcut, CommandMeansCtrlHere) {
    const ShortcutCase& row = GetParam();
    auto bar = fw::New<fw::MenuBar>();
    bar->Append(NewItem({"Menu", "Menu", ""}, true));
    bar->Child("Menu")->Append(NewItem({"Item", "Item", row.text}, true));
    QMainWindow window;
    fw::internal::InstallMenuBar(window, *bar);
    QAction* item = ActionNamed(window, "Item");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->shortcut(), QKeySequence(row.expected, QKeySequence::PortableText))
        << "got " << item->shortcut().toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Shortcut,
    testing::Values(ShortcutCase{"Cmd+Q", "Ctrl+Q"}, ShortcutCase{"cmd+q", "Ctrl+Q"},
                    ShortcutCase{"Command+S", "Ctrl+S"}, ShortcutCase{" Cmd + Q ", "Ctrl+Q"},
                    ShortcutCase{"Shift+Cmd+Z", "Ctrl+Shift+Z"},
                    ShortcutCase{"Option+Cmd+F", "Ctrl+Alt+F"}, ShortcutCase{"Opt+X", "Alt+X"},
                    ShortcutCase{"Ctrl+Alt+Del", "Ctrl+Alt+Del"},
                    ShortcutCase{"Control+F1", "Ctrl+F1"}, ShortcutCase{"Cmd++", "Ctrl++"},
                    ShortcutCase{"F5", "F5"}, ShortcutCase{"Q", "Q"}, ShortcutCase{"", ""},
                    ShortcutCase{"   ", ""}, ShortcutCase{"Cmd+", ""},
                    ShortcutCase{"Cmd+Shift", ""}, ShortcutCase{"Hyper+Q", ""},
                    ShortcutCase{"Cmd+NoSuchKey", ""}, ShortcutCase{"Cmd+Q+W", ""},
                    ShortcutCase{"Cmd+Meta+Q", ""}),
    [](const auto& info) { return "Row" + std::to_string(info.index); });

// ---------------------------------------------- edit items on a text field

// A window with the menus, a text field and a button that takes the focus
// away from the field.
class EditMenu : public testing::Test {
protected:
    void SetUp() override {
        auto* content = new QWidget(&window);
        auto* layout = new QVBoxLayout(content);
        field = new QLineEdit(content);
        button = new QPushButton("Plot", content);
        button->setFocusPolicy(Qt::StrongFocus);
        layout->addWidget(field);
        layout->addWidget(button);
        window.setCentralWidget(content);
        fw::internal::InstallMenuBar(window, *menus);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QGuiApplication::clipboard()->clear();
        field->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), field);
    }

    QAction* Action(const char* name) { return ActionNamed(window, name); }

    // What the user sees on opening the Edit menu.
    std::vector<bool> EnabledOnOpening() {
        QMenu* edit = MenuTitled(window, "&Edit");
        emit edit->aboutToShow();
        std::vector<bool> enabled;
        for (const char* name : {"EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear"}) {
            enabled.push_back(Action(name)->isEnabled());
        }
        return enabled;
    }

    fw::Ref<fw::MenuBar> menus = FileAndEditMenus();
    QMainWindow window;
    QLineEdit* field = nullptr;
    QPushButton* button = nullptr;
};

struct EnableCase {
    const char* label;
    std::function<void(QLineEdit&, QPushButton&)> prepare;
    std::vector<bool> enabled; // Undo, Cut, Copy, Paste, Clear
};

void PrintTo(const EnableCase& row, std::ostream* out) {
    *out << row.label;
}

void SetClipboard(const char* text) {
    QGuiApplication::clipboard()->setText(text);
}

const std::vector<EnableCase>& EnableCases() {
    static const std::vector<EnableCase> cases = {
        {"EmptyField", [](QLineEdit&, QPushButton&) {}, {false, false, false, false, false}},
        {"TextWithoutSelection",
         [](QLineEdit& f, QPushButton&) { f.setText("12"); },
         {false, false, false, false, false}},
        {"Selection",
         [](QLineEdit& f, QPushButton&) {
             f.setText("120");
             f.selectAll();
         },
         {false, true, true, false, true}},
        {"ClipboardText",
         [](QLineEdit&, QPushButton&) { SetClipboard("3300"); },
         {false, false, false, true, false}},
        {"Typed",
         [](QLineEdit& f, QPushButton&) { QTest::keyClicks(&f, "60"); },
         {true, false, false, false, false}},
        {"TypedThenSelectedWithClipboard",
         [](QLineEdit& f, QPushButton&) {
             QTest::keyClicks(&f, "60");
             f.setSelection(0, 1);
             SetClipboard("5");
         },
         {true, true, true, true, true}},
        {"ReadOnlySelection",
         [](QLineEdit& f, QPushButton&) {
             f.setText("1N4004");
             f.setReadOnly(true);
             f.selectAll();
             SetClipboard("x");
         },
         {false, false, true, false, false}},
        {"PasswordSelection",
         [](QLineEdit& f, QPushButton&) {
             f.setEchoMode(QLineEdit::Password);
             f.setText("secret");
             f.selectAll();
         },
         {false, false, false, false, true}},
        {"FocusOnAButton",
         [](QLineEdit& f, QPushButton& b) {
             QTest::keyClicks(&f, "60");
             f.selectAll();
             SetClipboard("5");
             b.setFocus();
         },
         {false, false, false, false, false}},
    };
    return cases;
}

class EditItemsEnabled : public EditMenu, public testing::WithParamInterface<EnableCase> {};

TEST_P(EditItemsEnabled, FollowTheFocusedField) {
    const EnableCase& row = GetParam();
    row.prepare(*field, *button);
    EXPECT_EQ(EnabledOnOpening(), row.enabled);
}

INSTANTIATE_TEST_SUITE_P(States, EditItemsEnabled, testing::ValuesIn(EnableCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(EditMenu, MovingTheFocusUpdatesTheItemsWithoutOpeningTheMenu) {
    SetClipboard("470");
    EXPECT_TRUE(EnabledOnOpening()[3]);
    button->setFocus();
    EXPECT_FALSE(Action("EditPaste")->isEnabled());
    field->setFocus();
    EXPECT_TRUE(Action("EditPaste")->isEnabled());
}

TEST_F(EditMenu, QuitAndMenusStayEnabled) {
    button->setFocus();
    EXPECT_TRUE(Action("FileQuit")->isEnabled());
    EXPECT_TRUE(MenuTitled(window, "&Edit")->menuAction()->isEnabled());
}

// The text, selection and clipboard before choosing an item, and after.
struct ActCase {
    const char* label;
    const char* item;
    const char* text;
    int selectionStart; // -1: no selection, the cursor at selectionLength
    int selectionLength;
    const char* clipboard;
    const char* textAfter;
    const char* clipboardAfter;
};

void PrintTo(const ActCase& row, std::ostream* out) {
    *out << row.label;
}

const std::vector<ActCase>& ActCases() {
    static const std::vector<ActCase> cases = {
        {"CutAll", "EditCut", "123", 0, 3, "", "", "123"},
        {"CutPart", "EditCut", "3300", 2, 2, "old", "33", "00"},
        {"CopyPart", "EditCopy", "3300", 0, 2, "", "3300", "33"},
        {"PasteAtCursor", "EditPaste", "10", -1, 2, "4.7", "104.7", "4.7"},
        {"PasteOverSelection", "EditPaste", "120", 0, 3, "60", "60", "60"},
        {"ClearSelection", "EditClear", "123", 1, 1, "keep", "13", "keep"},
        {"ClearWithoutSelectionDoesNothing", "EditClear", "123", -1, 1, "keep", "123", "keep"},
        {"CutWithoutSelectionDoesNothing", "EditCut", "123", -1, 3, "keep", "123", "keep"},
        {"CopyWithoutSelectionDoesNothing", "EditCopy", "123", -1, 0, "keep", "123", "keep"},
        {"PasteEmptyClipboardDoesNothing", "EditPaste", "12", -1, 1, "", "12", ""},
        {"UndoWithoutHistoryDoesNothing", "EditUndo", "12", -1, 2, "", "12", ""},
    };
    return cases;
}

// Items without AutoEnable stay enabled, so choosing one that cannot act
// reaches the framework, which must then do nothing.
class EditItemsAct : public EditMenu, public testing::WithParamInterface<ActCase> {
protected:
    EditItemsAct() { menus = FileAndEditMenus(/*autoEnable=*/false); }
};

TEST_P(EditItemsAct, ChangeTheFocusedFieldAndClipboard) {
    const ActCase& row = GetParam();
    field->setText(row.text);
    if (row.selectionStart >= 0) {
        field->setSelection(row.selectionStart, row.selectionLength);
    } else {
        field->setCursorPosition(row.selectionLength);
    }
    SetClipboard(row.clipboard);
    ASSERT_TRUE(Action(row.item)->isEnabled());

    Action(row.item)->trigger();
    EXPECT_EQ(field->text(), row.textAfter);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), row.clipboardAfter);
}

INSTANTIATE_TEST_SUITE_P(Items, EditItemsAct, testing::ValuesIn(ActCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(EditMenu, UndoTakesBackTyping) {
    QTest::keyClicks(field, "47");
    EnabledOnOpening();
    Action("EditUndo")->trigger();
    EXPECT_EQ(field->text(), "");
}

TEST_F(EditMenu, ItemsDoNothingWithoutAFocusedField) {
    field->setText("123");
    field->selectAll();
    SetClipboard("9");
    button->setFocus();
    for (const char* name : {"EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear"}) {
        Action(name)->trigger();
    }
    EXPECT_EQ(field->text(), "123");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "9");
}

// Counts the presses of one key that reach a widget itself.
class KeyCounter : public QObject {
public:
    explicit KeyCounter(Qt::Key key)
        : key_(key) {}
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == key_) {
            ++presses;
        }
        return false;
    }

private:
    Qt::Key key_;
};

struct KeyCase {
    const char* label;
    Qt::Key key;
    const char* textAfter;
    const char* clipboardAfter;
};

void PrintTo(const KeyCase& row, std::ostream* out) {
    *out << row.label;
}

class EditKeys : public EditMenu, public testing::WithParamInterface<KeyCase> {};

// The field's own handling of the standard keys wins over the menu's
// shortcuts, whose items would do the same.
TEST_P(EditKeys, ReachTheFocusedFieldItself) {
    const KeyCase& row = GetParam();
    QTest::keyClicks(field, "1234");
    field->setSelection(1, 2);
    SetClipboard("9");
    EnabledOnOpening();
    int triggered = 0;
    for (QAction* action : window.menuBar()->findChildren<QAction*>()) {
        QObject::connect(action, &QAction::triggered, [&triggered] { ++triggered; });
    }
    KeyCounter counter(row.key);
    field->installEventFilter(&counter);

    QTest::keyClick(field, row.key, Qt::ControlModifier);
    EXPECT_EQ(counter.presses, 1);
    EXPECT_EQ(triggered, 0);
    EXPECT_EQ(field->text(), row.textAfter);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), row.clipboardAfter);
}

INSTANTIATE_TEST_SUITE_P(Keys, EditKeys,
                         testing::Values(KeyCase{"Copy", Qt::Key_C, "1234", "23"},
                                         KeyCase{"Cut", Qt::Key_X, "14", "23"},
                                         KeyCase{"Paste", Qt::Key_V, "194", "9"},
                                         KeyCase{"Undo", Qt::Key_Z, "", "9"}),
                         [](const auto& info) { return std::string(info.param.label); });

// ------------------------------------------------------------ the quit item

TEST_F(EditMenu, CtrlQOnTheWindowQuits) {
    EXPECT_FALSE(fw::QuitRequested());
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(fw::QuitRequested());
}

TEST_F(EditMenu, CtrlQFromTheFocusedFieldQuits) {
    QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(fw::QuitRequested());
    EXPECT_EQ(field->text(), "") << "the shortcut typed nothing";
}

TEST_F(EditMenu, ChoosingQuitQuits) {
    Action("FileQuit")->trigger();
    EXPECT_TRUE(fw::QuitRequested());
}

TEST_F(EditMenu, PlainKeysTypeAndDoNotQuit) {
    QTest::keyClicks(field, "q");
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(field->text(), "q");
    EXPECT_FALSE(fw::QuitRequested());
}

} // namespace
