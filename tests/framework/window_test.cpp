// Windows: construction from a design, window events, closing and the shared
// instance of a window class, keys for the default and cancel buttons, the
// tab order, control lookups and menus.

#include "framework/application.h"
#include "framework/canvas.h"
#include "framework/exceptions.h"
#include "framework/menu.h"
#include "framework/push_button.h"
#include "framework/runtime.h"
#include "framework/static_text.h"
#include "framework/text_field.h"
#include "framework/window.h"
#include "tests/support/designed_window.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using fw::ControlKind;
using kelvara_test::BoolValue;
using kelvara_test::BuildWindow;
using kelvara_test::ControlRow;
using kelvara_test::DesignedWindow;
using kelvara_test::IntValue;
using kelvara_test::TextValue;

std::vector<fw::Property> FixedDesign(const std::string& title, int width, int height) {
    return {TextValue("Title", title),          IntValue("Width", width),
            IntValue("Height", height),         BoolValue("Resizeable", false),
            BoolValue("MinimizeButton", false), BoolValue("MaximizeButton", false)};
}

struct FrameCase {
    const char* label;
    std::vector<fw::Property> design;
    QSize content;
    bool fixed;
    bool close;
    bool minimize;
    bool maximize;
};

void PrintTo(const FrameCase& row, std::ostream* out) {
    *out << row.label;
}

class WindowFrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(WindowFrameTest, DesignSetsSizeButtonsAndTitle) {
    const FrameCase& row = GetParam();
    auto window = BuildWindow(row.design, {});
    QWidget* frame = window->NativeWidget();
    ASSERT_TRUE(kelvara_test::ShowActive(*window));

    EXPECT_EQ(window->ContentWidget()->size(), row.content);
    EXPECT_EQ(window->Width(), row.content.width());
    EXPECT_EQ(window->Height(), row.content.height());
    EXPECT_EQ(frame->minimumSize() == frame->maximumSize(), row.fixed);
    const Qt::WindowFlags flags = frame->windowFlags();
    EXPECT_EQ(flags.testFlag(Qt::WindowCloseButtonHint), row.close);
    EXPECT_EQ(flags.testFlag(Qt::WindowMinimizeButtonHint), row.minimize);
    EXPECT_EQ(flags.testFlag(Qt::WindowMaximizeButtonHint), row.maximize);
    EXPECT_EQ(window->Title(), "Frame");
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Frame"));
}

INSTANTIATE_TEST_SUITE_P(
    Designs, WindowFrameTest,
    testing::Values(
        FrameCase{"fixed_close_box_only",
                  FixedDesign("Frame", 980, 806),
                  {980, 806},
                  true,
                  true,
                  false,
                  false},
        FrameCase{"resizeable_with_all_boxes",
                  {TextValue("Title", "Frame"), IntValue("Width", 361), IntValue("Height", 452)},
                  {361, 452},
                  false,
                  true,
                  true,
                  true},
        FrameCase{"fixed_window_never_gets_a_zoom_box",
                  {TextValue("Title", "Frame"), IntValue("Width", 200), IntValue("Height", 100),
                   BoolValue("Resizeable", false), BoolValue("CloseButton", false)},
                  {200, 100},
                  true,
                  false,
                  true,
                  false}));

TEST(WindowTest, OutlandishSizesAreBounded) {
    auto window = BuildWindow({IntValue("Width", INT32_MAX), IntValue("Height", -40),
                               IntValue("MinWidth", -1), IntValue("MaxHeight", INT32_MIN),
                               BoolValue("Visible", false)},
                              {});
    EXPECT_EQ(window->Width(), 32000);
    EXPECT_EQ(window->Height(), 1);
}

// A window that notes the order of its construction events and what it
// could see at each of them.
class OrderWindow : public fw::Window {
public:
    OrderWindow() {
        InstallEventHandler("Layout", fw::Delegate(this, &OrderWindow::Layout));
        InstallEventHandler("CreateControls", fw::Delegate(this, &OrderWindow::CreateControls));
        InstallEventHandler("Open", fw::Delegate(this, &OrderWindow::Open));
    }
    std::vector<std::string> events;
    bool visibleAtOpen = true;
    bool fieldAtOpen = false;
    bool closeInOpen = false;

private:
    void Layout() {
        events.push_back("Layout");
        fw::_SetProperties(
            *this, fw::BuildDesignRecord(ControlKind::Window, FixedDesign("Order", 200, 100)));
    }
    void CreateControls() {
        events.push_back("CreateControls");
        kelvara_test::CreateControl(
            *this, {ControlKind::TextField, "EFOne", fw::kNoIndex, 10, 10, 100, 22, 1});
    }
    void Open() {
        events.push_back("Open");
        visibleAtOpen = IsVisible();
        fieldAtOpen = FindControl("EFOne") != nullptr;
        if (closeInOpen) {
            Close();
        }
    }
};

TEST(WindowTest, ConstructionRunsLayoutControlsOpenThenShows) {
    OrderWindow window;
    window.Construct();
    window.Construct(); // a second call builds nothing

    EXPECT_EQ(window.events, (std::vector<std::string>{"Layout", "CreateControls", "Open"}));
    EXPECT_FALSE(window.visibleAtOpen);
    EXPECT_TRUE(window.fieldAtOpen);
    EXPECT_TRUE(window.IsVisible());
}

TEST(WindowTest, WindowClosedWhileOpeningNeverShows) {
    OrderWindow window;
    window.closeInOpen = true;
    window.Construct();
    EXPECT_TRUE(window.IsClosed());
    EXPECT_FALSE(window.IsVisible());
}

TEST(WindowTest, DesignThatIsNotVisibleStaysHidden) {
    auto window = BuildWindow({TextValue("Title", "Hidden"), BoolValue("Visible", false)}, {});
    EXPECT_FALSE(window->IsVisible());
    window->Show();
    EXPECT_TRUE(window->IsVisible());
    window->Hide();
    EXPECT_FALSE(window->IsVisible());
    EXPECT_FALSE(window->IsClosed());
}

TEST(WindowTest, DesignValuesAreKeptAsWritten) {
    auto window = BuildWindow(FixedDesign("Kept", 300, 200), {});
    ASSERT_NE(window->DesignValue("MacProcID"), nullptr);
    EXPECT_EQ(std::get<std::int32_t>(*window->DesignValue("MacProcID")), 0);
    EXPECT_EQ(std::get<bool>(*window->DesignValue("Resizeable")), false);
    EXPECT_EQ(window->DesignValue("NoSuchProperty"), nullptr);
}

struct BindingCase {
    const char* label;
    std::string event;
    fw::EventHandler handler;
    bool accepted;
};

void PrintTo(const BindingCase& row, std::ostream* out) {
    *out << row.label;
}

class WindowBindingTest : public testing::TestWithParam<BindingCase> {};

TEST_P(WindowBindingTest, EventsBindByNameAndShape) {
    const BindingCase& row = GetParam();
    DesignedWindow window({}, {});
    if (row.accepted) {
        EXPECT_NO_THROW(window.InstallEventHandler(row.event, row.handler));
    } else {
        EXPECT_THROW(window.InstallEventHandler(row.event, row.handler), std::invalid_argument);
    }
}

const fw::EventHandler kPlain = fw::PlainHandler([](fw::Control*) {});
const fw::EventHandler kMouseDown = fw::MouseDownHandler([](int, int) { return false; });
const fw::EventHandler kPaint = fw::PaintHandler([](fw::Control*, fw::Graphics&) {});

INSTANTIATE_TEST_SUITE_P(
    Events, WindowBindingTest,
    testing::Values(BindingCase{"open", "Open", kPlain, true},
                    BindingCase{"close", "Close", kPlain, true},
                    BindingCase{"activate", "Activate", kPlain, true},
                    BindingCase{"deactivate", "Deactivate", kPlain, true},
                    BindingCase{"minimize", "Minimize", kPlain, true},
                    BindingCase{"mouse_down", "MouseDown", kMouseDown, true},
                    BindingCase{"mouse_down_as_plain", "MouseDown", kPlain, false},
                    BindingCase{"open_as_mouse_down", "Open", kMouseDown, false},
                    BindingCase{"paint_is_no_window_event", "Paint", kPaint, false},
                    BindingCase{"wrong_case", "open", kPlain, false},
                    BindingCase{"empty_name", "", kPlain, false}));

TEST(WindowTest, CloseRaisesCloseOnceAndTheWindowIsNoLongerLive) {
    auto window = BuildWindow(FixedDesign("Closing", 200, 100), {});
    ASSERT_EQ(fw::LiveWindows(), std::vector<fw::Window*>{window.get()});

    window->Close();
    window->Close();

    EXPECT_EQ(window->closes, 1);
    EXPECT_TRUE(window->IsClosed());
    EXPECT_FALSE(window->IsVisible());
    EXPECT_TRUE(fw::LiveWindows().empty());
    window->Show(); // a closed window does not come back
    EXPECT_FALSE(window->IsVisible());
}

TEST(WindowTest, CloseBoxClosesLikeClose) {
    auto window = BuildWindow(FixedDesign("Close box", 200, 100), {});
    ASSERT_TRUE(kelvara_test::ShowActive(*window));
    window->NativeWidget()->close();
    EXPECT_EQ(window->closes, 1);
    EXPECT_TRUE(window->IsClosed());
    EXPECT_TRUE(fw::LiveWindows().empty());
}

TEST(WindowTest, LiveWindowsAreListedInCreationOrder) {
    auto first = BuildWindow(FixedDesign("First", 100, 100), {});
    auto second = BuildWindow(FixedDesign("Second", 100, 100), {});
    auto third = BuildWindow(FixedDesign("Third", 100, 100), {});
    EXPECT_EQ(fw::LiveWindows(),
              (std::vector<fw::Window*>{first.get(), second.get(), third.get()}));
    second->Close();
    EXPECT_EQ(fw::LiveWindows(), (std::vector<fw::Window*>{first.get(), third.get()}));
    third.reset();
    EXPECT_EQ(fw::LiveWindows(), std::vector<fw::Window*>{first.get()});
}

// A window class with one shared instance, counting its instances.
class SharedWindow : public fw::Window {
public:
    static inline int made = 0;
    static inline int destroyed = 0;
    SharedWindow() {
        ++made;
        InstallEventHandler("Layout", fw::Delegate(this, &SharedWindow::Layout));
        InstallEventHandler("CreateControls", fw::Delegate(this, &SharedWindow::CreateControls));
        InstallEventHandler("Close", fw::Delegate(this, &SharedWindow::Closed));
    }
    ~SharedWindow() override { ++destroyed; }
    int closes = 0;
    bool closeOnPress = false;

private:
    void Layout() {
        fw::_SetProperties(
            *this, fw::BuildDesignRecord(ControlKind::Window, FixedDesign("Shared", 200, 100)));
    }
    void CreateControls() {
        auto& button = kelvara_test::CreateControl(*this, {ControlKind::PushButton,
                                                           "ClosePB",
                                                           fw::kNoIndex,
                                                           10,
                                                           10,
                                                           80,
                                                           20,
                                                           1,
                                                           {TextValue("Caption", "Close")}});
        button.InstallEventHandler("Action", fw::Delegate(this, &SharedWindow::ClosePressed));
    }
    // Closes its own window from inside the button's handler, then goes on
    // using the window: it must still be there.
    void ClosePressed() {
        Close();
        SetTitle("Closed from inside");
        ControlByName<fw::PushButton>(*this, "ClosePB").SetCaption("Gone");
    }
    void Closed() { ++closes; }
};

TEST(WindowTest, SharedInstanceIsMadeOnceAndRebuiltAfterClose) {
    SharedWindow::made = 0;
    SharedWindow::destroyed = 0;
    EXPECT_EQ(fw::LiveInstance<SharedWindow>(), nullptr);

    SharedWindow& first = fw::ImplicitInstance<SharedWindow>();
    SharedWindow& again = fw::ImplicitInstance<SharedWindow>();
    EXPECT_EQ(&first, &again);
    EXPECT_EQ(fw::LiveInstance<SharedWindow>(), &first);
    EXPECT_EQ(SharedWindow::made, 1);
    EXPECT_NE(first.FindControl("ClosePB"), nullptr);

    first.Close();
    EXPECT_EQ(first.closes, 1);
    EXPECT_EQ(fw::LiveInstance<SharedWindow>(), nullptr);
    EXPECT_EQ(SharedWindow::destroyed, 0); // deleted later, not under the caller

    SharedWindow& second = fw::ImplicitInstance<SharedWindow>();
    EXPECT_EQ(SharedWindow::made, 2);
    EXPECT_FALSE(second.IsClosed());
    EXPECT_EQ(fw::LiveInstance<SharedWindow>(), &second);

    EXPECT_TRUE(QTest::qWaitFor([] { return SharedWindow::destroyed == 1; }));
    EXPECT_EQ(fw::LiveInstance<SharedWindow>(), &second);
}

TEST(WindowTest, CloseFromInsideItsOwnHandlerIsSafe) {
    SharedWindow::destroyed = 0;
    SharedWindow& window = fw::ImplicitInstance<SharedWindow>();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    auto& button = fw::ControlByName<fw::PushButton>(window, "ClosePB");

    QTest::mouseClick(button.NativeWidget(), Qt::LeftButton);
    EXPECT_EQ(window.closes, 1);
    EXPECT_EQ(fw::LiveInstance<SharedWindow>(), nullptr);
    // The handler was still running when the window closed; the window and
    // its button lived on until it returned.
    EXPECT_EQ(button.Caption(), "Gone");
    EXPECT_EQ(SharedWindow::destroyed, 0);

    EXPECT_TRUE(QTest::qWaitFor([] { return SharedWindow::destroyed == 1; }));
}

TEST(WindowTest, QuitClosesEveryLiveWindowOnce) {
    auto first = BuildWindow(FixedDesign("First", 100, 100), {});
    auto second = BuildWindow(FixedDesign("Second", 100, 100), {});
    second->Close();

    fw::Quit(0);

    EXPECT_EQ(first->closes, 1);
    EXPECT_EQ(second->closes, 1);
    EXPECT_TRUE(fw::LiveWindows().empty());
}

TEST(WindowTest, ActivationAndDeactivationFollowTheActiveWindow) {
    auto first = BuildWindow(FixedDesign("First", 200, 100), {});
    ASSERT_TRUE(kelvara_test::ShowActive(*first));
    EXPECT_GE(first->activates, 1);
    EXPECT_TRUE(first->IsActive());

    auto second = BuildWindow(FixedDesign("Second", 200, 100), {});
    ASSERT_TRUE(kelvara_test::ShowActive(*second));
    EXPECT_GE(second->activates, 1);
    EXPECT_GE(first->deactivates, 1);
    EXPECT_FALSE(first->IsActive());

    const int before = first->activates;
    ASSERT_TRUE(kelvara_test::ShowActive(*first));
    EXPECT_EQ(first->activates, before + 1);
}

TEST(WindowTest, MinimizingRaisesMinimize) {
    auto window = BuildWindow({TextValue("Title", "Small")}, {});
    ASSERT_TRUE(kelvara_test::ShowActive(*window));
    window->NativeWidget()->showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->minimizes == 1; }));
}

// A window that notes the presses on its background.
class MouseWindow : public DesignedWindow {
public:
    explicit MouseWindow(bool consume)
        : DesignedWindow(FixedDesign("Mouse", 300, 200),
                         {{ControlKind::PushButton,
                           "OKPB",
                           fw::kNoIndex,
                           200,
                           150,
                           80,
                           20,
                           1,
                           {TextValue("Caption", "OK")}},
                          {ControlKind::Canvas, "Canvas1", fw::kNoIndex, 10, 100, 50, 50, 2}})
        , consume_(consume) {
        InstallEventHandler("MouseDown", fw::Delegate(this, &MouseWindow::MouseDown));
    }
    std::vector<QPoint> presses;
    bool throws = false;

private:
    bool MouseDown(int x, int y) {
        presses.emplace_back(x, y);
        if (throws) {
            throw std::runtime_error("mouse handler failed");
        }
        return consume_;
    }
    bool consume_;
};

TEST(WindowTest, PressesOnTheBackgroundRaiseMouseDownWithContentPosition) {
    MouseWindow window(/*consume=*/true);
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));

    QTest::mouseClick(window.ContentWidget(), Qt::LeftButton, {}, QPoint(30, 40));
    QTest::mouseClick(window.FindControl("OKPB")->NativeWidget(), Qt::LeftButton);
    QTest::mouseClick(window.FindControl("Canvas1")->NativeWidget(), Qt::LeftButton);

    EXPECT_EQ(window.presses, std::vector<QPoint>{QPoint(30, 40)});
}

TEST(WindowTest, FailingMouseDownIsReportedAndTheWindowGoesOn) {
    MouseWindow window(/*consume=*/true);
    window.Construct();
    window.throws = true;
    const int reportsBefore = fw::UnhandledExceptionCount();

    QTest::mouseClick(window.ContentWidget(), Qt::LeftButton, {}, QPoint(5, 5));

    EXPECT_EQ(fw::UnhandledExceptionCount(), reportsBefore + 1);
    ASSERT_TRUE(fw::LastUnhandledException().has_value());
    EXPECT_EQ(fw::LastUnhandledException()->message, "mouse handler failed");
    window.throws = false;
    QTest::mouseClick(window.ContentWidget(), Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(window.presses.size(), 2u);
}

// A window with a default and a cancel button, counting their presses.
class KeyWindow : public DesignedWindow {
public:
    explicit KeyWindow(bool defaultEnabled = true)
        : DesignedWindow(FixedDesign("Keys", 300, 200),
                         {{ControlKind::TextField, "EFName", fw::kNoIndex, 10, 10, 114, 22, 1},
                          {ControlKind::PushButton,
                           "SavePB",
                           fw::kNoIndex,
                           196,
                           160,
                           80,
                           20,
                           2,
                           {TextValue("Caption", "Save"), BoolValue("Default", true),
                            BoolValue("Enabled", defaultEnabled)}},
                          {ControlKind::PushButton,
                           "CancelPB",
                           fw::kNoIndex,
                           85,
                           160,
                           80,
                           20,
                           3,
                           {TextValue("Caption", "Cancel"), BoolValue("Cancel", true)}},
                          {ControlKind::PushButton,
                           "OtherPB",
                           fw::kNoIndex,
                           10,
                           60,
                           80,
                           20,
                           4,
                           {TextValue("Caption", "Other")}}}) {}

    void Construct() {
        fw::Window::Construct();
        for (const char* name : {"SavePB", "CancelPB", "OtherPB"}) {
            FindControl(name)->InstallEventHandler("Action",
                                                   fw::PlainHandler([this](fw::Control* sender) {
                                                       pressed.push_back(sender->Name());
                                                   }));
        }
    }
    std::vector<std::string> pressed;
};

struct KeyCase {
    const char* label;
    const char* focus; // control that has the focus
    Qt::Key key;
    bool defaultEnabled;
    std::vector<std::string> pressed;
};

void PrintTo(const KeyCase& row, std::ostream* out) {
    *out << row.label;
}

class WindowKeyTest : public testing::TestWithParam<KeyCase> {};

TEST_P(WindowKeyTest, ReturnPressesTheDefaultButtonAndEscapeTheCancelButton) {
    const KeyCase& row = GetParam();
    KeyWindow window(row.defaultEnabled);
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    QWidget* focus = window.FindControl(row.focus)->NativeWidget();
    focus->setFocus();
    ASSERT_TRUE(focus->hasFocus());

    QTest::keyClick(focus, row.key);

    EXPECT_EQ(window.pressed, row.pressed);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, WindowKeyTest,
    testing::Values(
        KeyCase{"return_in_text_field", "EFName", Qt::Key_Return, true, {"SavePB"}},
        KeyCase{"enter_in_text_field", "EFName", Qt::Key_Enter, true, {"SavePB"}},
        KeyCase{"escape_in_text_field", "EFName", Qt::Key_Escape, true, {"CancelPB"}},
        KeyCase{"return_on_other_button", "OtherPB", Qt::Key_Return, true, {"SavePB"}},
        KeyCase{"space_presses_focused_button", "OtherPB", Qt::Key_Space, true, {"OtherPB"}},
        KeyCase{"disabled_default_is_not_pressed", "EFName", Qt::Key_Return, false, {}},
        KeyCase{"letters_press_nothing", "EFName", Qt::Key_A, true, {}}));

TEST(WindowTest, TypingIntoAFieldThenReturnKeepsTheText) {
    KeyWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    auto& field = fw::ControlByName<fw::TextField>(window, "EFName");
    field.SetFocus();
    QTest::keyClicks(field.NativeWidget(), "abc");
    QTest::keyClick(field.NativeWidget(), Qt::Key_Return);
    EXPECT_EQ(field.Text(), "abc");
    EXPECT_EQ(window.pressed, std::vector<std::string>{"SavePB"});
}

TEST(WindowTest, TabMovesThroughTheControlsByTabIndex) {
    // Created in another order than the tab order; the texts, the group box,
    // the canvas and the arrows, and the field without a tab stop never take
    // the focus.
    auto window =
        BuildWindow(FixedDesign("Tabs", 400, 300),
                    {{ControlKind::GroupBox,
                      "GroupBox1",
                      fw::kNoIndex,
                      200,
                      10,
                      150,
                      150,
                      3,
                      {TextValue("Caption", "Group")}},
                     {ControlKind::TextField, "EFThird", fw::kNoIndex, 10, 90, 100, 22, 50},
                     {ControlKind::Canvas,
                      "Canvas1",
                      fw::kNoIndex,
                      10,
                      200,
                      50,
                      50,
                      2,
                      {BoolValue("AcceptFocus", false)}},
                     {ControlKind::TextField, "EFFirst", fw::kNoIndex, 10, 10, 100, 22, 5},
                     {ControlKind::StaticText,
                      "Label",
                      fw::kNoIndex,
                      120,
                      10,
                      60,
                      20,
                      1,
                      {TextValue("Text", "Label")}},
                     {ControlKind::UpDownArrows,
                      "Arrows",
                      fw::kNoIndex,
                      120,
                      60,
                      13,
                      23,
                      6,
                      {BoolValue("AcceptFocus", false)}},
                     {ControlKind::TextField,
                      "EFNoStop",
                      fw::kNoIndex,
                      10,
                      130,
                      100,
                      22,
                      7,
                      {BoolValue("TabStop", false)}},
                     {ControlKind::PushButton,
                      "LastPB",
                      fw::kNoIndex,
                      10,
                      170,
                      80,
                      20,
                      99,
                      {TextValue("Caption", "Last")}},
                     {ControlKind::RadioButton,
                      "Radio",
                      0,
                      220,
                      40,
                      100,
                      20,
                      8,
                      {TextValue("Caption", "Radio")}},
                     {ControlKind::TextField, "EFSecond", fw::kNoIndex, 10, 50, 100, 22, 9}});
    ASSERT_TRUE(kelvara_test::ShowActive(*window));

    std::vector<std::string> visited;
    window->FindControl("EFFirst")->SetFocus();
    for (int step = 0; step < 6; ++step) {
        QWidget* focused = kelvara_test::FocusedWidget(*window);
        ASSERT_NE(focused, nullptr);
        visited.push_back(focused->objectName().toStdString());
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"EFFirst", "Radio", "EFSecond", "EFThird",
                                                 "LastPB", "EFFirst"}));

    for (const char* name : {"GroupBox1", "Canvas1", "Label", "Arrows", "EFNoStop"}) {
        EXPECT_FALSE(window->FindControl(name)->TakesFocus()) << name;
    }
}

TEST(WindowTest, ControlsAreFoundByNameAndIndex) {
    auto window =
        BuildWindow(FixedDesign("Kelvara", 300, 200),
                    {{ControlKind::StaticText, "StaticText1", 0, 10, 10, 80, 20, 1},
                     {ControlKind::StaticText, "StaticText1", 1, 10, 40, 80, 20, 2},
                     {ControlKind::TextField, "EFLoadR", fw::kNoIndex, 10, 70, 100, 22, 3}});

    EXPECT_EQ(fw::RuntimeWindowControlByName(*window, "EFLoadR").Name(), "EFLoadR");
    EXPECT_EQ(fw::RuntimeWindowControlByNameIndex(*window, "StaticText1", 1).Top(), 40);
    EXPECT_EQ(fw::ControlByNameIndex<fw::StaticText>(*window, "StaticText1", 0).Top(), 10);
    EXPECT_EQ(&fw::ControlByName<fw::TextField>(*window, "EFLoadR"),
              window->FindControl("EFLoadR"));
    EXPECT_EQ(window->Controls().size(), 3u);
}

struct MissingCase {
    const char* label;
    std::function<void(const fw::Window&)> lookup;
    std::vector<std::string> named; // what the message must name
};

void PrintTo(const MissingCase& row, std::ostream* out) {
    *out << row.label;
}

class MissingControlTest : public testing::TestWithParam<MissingCase> {};

TEST_P(MissingControlTest, LookupThatFindsNothingRaisesNilObjectNamingIt) {
    const MissingCase& row = GetParam();
    auto window =
        BuildWindow(FixedDesign("Kelvara", 300, 200),
                    {{ControlKind::StaticText, "StaticText1", 0, 10, 10, 80, 20, 1},
                     {ControlKind::TextField, "EFLoadR", fw::kNoIndex, 10, 70, 100, 22, 3}});
    try {
        row.lookup(*window);
        ADD_FAILURE() << "no exception";
    } catch (const fw::NilObjectException& error) {
        const std::string message = error.what();
        for (const std::string& part : row.named) {
            EXPECT_NE(message.find(part), std::string::npos) << message << " lacks " << part;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, MissingControlTest,
    testing::Values(
        MissingCase{"unknown_name",
                    [](const fw::Window& w) { fw::RuntimeWindowControlByName(w, "EFLoad"); },
                    {"EFLoad", "Kelvara"}},
        MissingCase{"array_name_without_index",
                    [](const fw::Window& w) { fw::RuntimeWindowControlByName(w, "StaticText1"); },
                    {"StaticText1", "Kelvara"}},
        MissingCase{
            "index_past_the_members",
            [](const fw::Window& w) { fw::RuntimeWindowControlByNameIndex(w, "StaticText1", 20); },
            {"StaticText1", "20", "Kelvara"}},
        MissingCase{
            "single_control_with_an_index",
            [](const fw::Window& w) { fw::RuntimeWindowControlByNameIndex(w, "EFLoadR", 0); },
            {"EFLoadR", "0", "Kelvara"}},
        MissingCase{"control_of_another_kind",
                    [](const fw::Window& w) { fw::ControlByName<fw::PushButton>(w, "EFLoadR"); },
                    {"EFLoadR", "Kelvara"}},
        MissingCase{
            "member_of_another_kind",
            [](const fw::Window& w) { fw::ControlByNameIndex<fw::TextField>(w, "StaticText1", 0); },
            {"StaticText1", "0", "Kelvara"}}));

TEST(WindowTest, NameAndIndexAreRegisteredOnlyOnce) {
    DesignedWindow window({}, {});
    window.NewControl<fw::StaticText>("Label", 0);
    window.NewControl<fw::StaticText>("Label", 1);
    window.NewControl<fw::StaticText>("Label");
    EXPECT_THROW(window.NewControl<fw::StaticText>("Label", 1), std::invalid_argument);
    EXPECT_THROW(window.NewControl<fw::TextField>("Label"), std::invalid_argument);
    EXPECT_EQ(window.Controls().size(), 3u);

    DesignedWindow other({}, {});
    EXPECT_THROW(window._AddControl(std::make_unique<fw::StaticText>(other, "Stray", fw::kNoIndex)),
                 std::invalid_argument);
    EXPECT_THROW(window._AddControl(nullptr), std::invalid_argument);
}

fw::Ref<fw::MenuBar> MenusNamed(std::vector<std::string> titles) {
    auto bar = fw::New<fw::MenuBar>();
    for (const std::string& title : titles) {
        auto menu = fw::New<fw::MenuItem>();
        menu->SetName(title);
        menu->SetText(title);
        auto item = fw::New<fw::MenuItem>();
        item->SetName(title + "Item");
        item->SetText("Item");
        menu->Append(item);
        bar->Append(menu);
    }
    return bar;
}

std::vector<std::string> MenuTitles(const fw::Window& window) {
    std::vector<std::string> titles;
    auto* frame = static_cast<QMainWindow*>(window.NativeWidget());
    if (auto* bar = qobject_cast<QMenuBar*>(frame->menuWidget())) {
        for (QAction* action : bar->actions()) {
            titles.push_back(action->text().toStdString());
        }
    }
    return titles;
}

TEST(WindowTest, WindowShowsTheApplicationMenusUnlessItHasItsOwn) {
    auto app = fw::New<fw::Application>();
    app->SetMenuBar(MenusNamed({"&File", "&Edit"}));
    fw::RuntimeRegisterAppObject(app);

    auto shared = BuildWindow(FixedDesign("Shared menus", 200, 100), {});
    EXPECT_EQ(MenuTitles(*shared), (std::vector<std::string>{"&File", "&Edit"}));
    EXPECT_EQ(shared->MenuBar(), app->MenuBar());

    auto hidden =
        BuildWindow({TextValue("Title", "No menus"), BoolValue("MenuBarVisible", false)}, {});
    EXPECT_TRUE(MenuTitles(*hidden).empty());
    EXPECT_FALSE(hidden->MenuBar());

    const auto own = MenusNamed({"Own"});
    shared->SetMenuBar(own);
    EXPECT_EQ(MenuTitles(*shared), std::vector<std::string>{"Own"});
    EXPECT_EQ(shared->MenuBar(), own);
    // The menu bar sits above the content, which keeps its design size, in
    // a fixed window as in a resizeable one.
    auto resizeable = BuildWindow(
        {TextValue("Title", "Resizeable"), IntValue("Width", 361), IntValue("Height", 452)}, {});
    ASSERT_TRUE(kelvara_test::ShowActive(*shared));
    ASSERT_TRUE(kelvara_test::ShowActive(*resizeable));
    EXPECT_EQ(MenuTitles(*resizeable), (std::vector<std::string>{"&File", "&Edit"}));
    EXPECT_EQ(QSize(shared->Width(), shared->Height()), QSize(200, 100));
    EXPECT_EQ(QSize(resizeable->Width(), resizeable->Height()), QSize(361, 452));
}

} // namespace
