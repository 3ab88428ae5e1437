// The main window as the program opens it: its design, its creation, its
// menus, keyboard, help tags and the handlers that belong to the window.

#include "tests/support/kelvara_fixture.h"

#include "app/main_window.h"
#include "app/menu_bar.h"

#include "framework/application.h"
#include "framework/check_box.h"
#include "framework/listbox.h"
#include "framework/menu.h"
#include "framework/popup_menu.h"
#include "framework/push_button.h"
#include "framework/radio_button.h"
#include "framework/runtime.h"
#include "framework/static_text.h"
#include "framework/system_functions.h"
#include "framework/text_field.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_support::Find;
using testing_support::FocusedControl;
using testing_support::PressAndFollowTheFocus;
using testing_support::StartKelvara;

namespace {

// A main window that records what its controls hold when it opens, before
// its own opening fills them from the preferences.
class MainWindowAtOpen : public MainWindow {
public:
    MainWindowAtOpen() {
        InstallEventHandler("Open", fw::Delegate(this, &MainWindowAtOpen::RecordThenOpen));
    }

    void RecordThenOpen() {
        recorded = true;
        helpTagsBeforeOpen = fw::HelpTagsDisplayed();
        setupHadRun = DVlow != 0 || Interval != 0;
        for (const char* name : {"EFCapacitor", "EFVoltsIn", "EFSecR", "EFLoadR", "EFLineFreq",
                                 "EFLinePhase", "EFNp", "EFNs", "EFPriR"}) {
            fieldTexts += Find<fw::TextField>(*this, name).Text();
        }
        auto& menu = Find<fw::PopupMenu>(*this, "PopupDiodeType");
        menuRows = menu.ListCount();
        menuIndex = menu.ListIndex();
        auto& table = Find<fw::Listbox>(*this, "Listbox1");
        headings = table.Heading(0) + "|" + table.Heading(1);
        for (int row = 0; row < table.ListCount(); ++row) {
            cells += "[" + table.Cell(row, 0) + "|" + table.Cell(row, 1) + "]";
        }
        for (int k = 0; k <= 8; ++k) {
            axisLabels += Find<fw::StaticText>(*this, "YLeft", k).Text();
            axisLabels += Find<fw::StaticText>(*this, "Yright", k).Text();
        }
        for (const char* name : {"LoadVt", "LoadIt", "Dpivt", "DIpkt"}) {
            results.push_back(Find<fw::StaticText>(*this, name).Text());
        }
        bridge = Find<fw::RadioButton>(*this, "CktTypeBTN", 0).Value();
        autoVolts = Find<fw::CheckBox>(*this, "CBAutoVolts").Value();
        autoCurrent = Find<fw::CheckBox>(*this, "CBAutoCurrent").Value();
        helpTagBox = Find<fw::CheckBox>(*this, "CBHelpTag").Value();
        Event_Open();
    }

    bool recorded = false;
    bool helpTagsBeforeOpen = false;
    bool setupHadRun = true;
    std::string fieldTexts;
    int menuRows = -1;
    int menuIndex = 0;
    std::string headings;
    std::string cells;
    std::string axisLabels;
    std::vector<std::string> results;
    bool bridge = false;
    bool autoVolts = false;
    bool autoCurrent = false;
    bool helpTagBox = true;
};

// The width a button needs to show its whole caption: the text, and the
// margins of a push button or the indicator of a check box or radio button.
int CaptionWidthNeeded(const QAbstractButton& button) {
    const QStyle& style = *button.style();
    const int text = QFontMetrics(button.font()).horizontalAdvance(button.text());
    if (qobject_cast<const QPushButton*>(&button) != nullptr) {
        return text + 2 * style.pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    }
    const bool check = qobject_cast<const QCheckBox*>(&button) != nullptr;
    const int indicator = style.pixelMetric(
        check ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth, nullptr, &button);
    const int spacing = style.pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing
                                                : QStyle::PM_RadioButtonLabelSpacing,
                                          nullptr, &button);
    return indicator + spacing + text;
}

std::vector<std::string> CellTexts(const fw::Listbox& table) {
    std::vector<std::string> texts;
    for (int row = 0; row < table.ListCount(); ++row) {
        texts.push_back(table.Cell(row, 0) + "|" + table.Cell(row, 1));
    }
    return texts;
}

void WaitUntilActive(fw::Window& window) {
    window.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.NativeWidget()));
}

} // namespace

TEST(MainWindow, CreationRunsNoHandlerAndLeavesTheDesignValues) {
    fw::SetHelpTagsDisplayed(true);
    auto& window = fw::ImplicitInstance<MainWindowAtOpen>();
    ASSERT_TRUE(window.recorded);

    EXPECT_EQ(window.Controls().size(), 68u);
    EXPECT_FALSE(window.setupHadRun) << "no input handler ran while the controls were made";
    EXPECT_TRUE(window.helpTagsBeforeOpen) << "the help-tag box's handler did not run";
    EXPECT_EQ(fw::UnhandledExceptionCount(), 0);
    EXPECT_EQ(window.fieldTexts, "");
    EXPECT_EQ(window.menuRows, 0);
    EXPECT_EQ(window.menuIndex, -1);
    EXPECT_EQ(window.headings, "Vf  @|If");
    std::string blankRows;
    for (int row = 0; row < 10; ++row) {
        blankRows += "[ | ]";
    }
    EXPECT_EQ(window.cells, blankRows);
    EXPECT_EQ(window.axisLabels, std::string(18, '0'));
    EXPECT_EQ(window.results, (std::vector<std::string>{"Load V (min/max) =", "Load I (min/max) =",
                                                        "Diode PIV =", "Diode Ipk ="}));
    EXPECT_TRUE(window.bridge);
    EXPECT_TRUE(window.autoVolts);
    EXPECT_TRUE(window.autoCurrent);
    EXPECT_FALSE(window.helpTagBox);

    EXPECT_FALSE(fw::HelpTagsDisplayed()) << "opening switches the help tags off";
}

TEST(MainWindow, IsAFixedSizeWindowWithOnlyACloseBox) {
    MainWindow& window = StartKelvara();
    EXPECT_EQ(window.Title(), "Kelvara");
    EXPECT_EQ(window.Width(), 980);
    EXPECT_EQ(window.Height(), 806);
    QWidget* top = window.NativeWidget();
    EXPECT_EQ(top->minimumSize(), top->maximumSize()) << "not resizable";
    const Qt::WindowFlags flags = top->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(fw::LiveWindows().size(), 1u) << "the only window opened at start-up";
}

TEST(MainWindow, EveryCaptionFitsItsBox) {
    MainWindow& window = StartKelvara();
    int checked = 0;
    for (fw::Control* control : window.Controls()) {
        QWidget* widget = control->NativeWidget();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            const QFontMetrics metrics(label->font());
            const QRect needed = metrics.boundingRect(
                label->contentsRect(), static_cast<int>(label->alignment()) | Qt::TextWordWrap,
                label->text());
            EXPECT_LE(needed.width(), label->contentsRect().width()) << control->Name();
            EXPECT_LE(needed.height(), label->contentsRect().height() + 2)
                << control->Name() << " " << control->Index();
            ++checked;
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (!button->text().isEmpty()) {
                EXPECT_LE(CaptionWidthNeeded(*button), button->width())
                    << control->Name() << " " << control->Index();
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 50);
}

TEST(MainWindow, TabAndShiftTabWalkTheControlsInTabOrderAndLeaveTheTableAlone) {
    MainWindow& window = StartKelvara();
    WaitUntilActive(window);
    auto& table = Find<fw::Listbox>(window, "Listbox1");
    ASSERT_EQ(FocusedControl(window), "Listbox1") << "the first control of the order";
    // Of the circuit-type buttons only the selected one is a Tab stop; the
    // arrows move within the group.
    const std::vector<std::string> forwards = {
        "EFCapacitor", "EFVoltsIn",     "EFSecR",      "EFLoadR",        "EFLineFreq",
        "PlotPB",      "EFLinePhase",   "ClearPB",     "PopupDiodeType", "NewDiodePB",
        "EditDiodePB", "CktTypeBTN(0)", "CBAutoVolts", "CBAutoCurrent",  "EFNp",
        "EFNs",        "EFPriR",        "CBHelpTag",   "Listbox1"};
    std::vector<std::string> backwards(forwards.rbegin() + 1, forwards.rend());
    backwards.push_back("Listbox1");
    const int stops = static_cast<int>(forwards.size());

    EXPECT_EQ(PressAndFollowTheFocus(window, Qt::Key_Tab, Qt::NoModifier, stops), forwards);
    EXPECT_EQ(PressAndFollowTheFocus(window, Qt::Key_Backtab, Qt::ShiftModifier, stops), backwards);
    EXPECT_EQ(table.ListIndex(), -1) << "Tab selected a row of the table";
    EXPECT_FALSE(table.IsEditing());

    Find<fw::RadioButton>(window, "CktTypeBTN", 0).SetFocus();
    EXPECT_EQ(PressAndFollowTheFocus(window, Qt::Key_Down, Qt::NoModifier, 3),
              (std::vector<std::string>{"CktTypeBTN(1)", "CktTypeBTN(2)", "CktTypeBTN(3)"}));
    EXPECT_EQ(PressAndFollowTheFocus(window, Qt::Key_Tab, Qt::NoModifier, 1),
              std::vector<std::string>{"CBAutoVolts"});
}

TEST(MainWindow, ReturnInAFieldPressesPlot) {
    MainWindow& window = StartKelvara();
    WaitUntilActive(window);
    auto& field = Find<fw::TextField>(window, "EFCapacitor");
    field.SetFocus();
    QTest::keyClick(field.NativeWidget(), Qt::Key_Return);
    const std::string text = Find<fw::StaticText>(window, "LoadVt").Text();
    EXPECT_EQ(text.rfind("Load V (min/max) =\r", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("Load V (min/max) =\r").size()) << "figures written";
}

TEST(MainWindow, TheMenuBarIsBuiltOnceAndSharedWithTheApplication) {
    MainWindow& window = StartKelvara();
    fw::Ref<MenuBar1> bar = MenuBar1::Instance();
    EXPECT_EQ(bar, MenuBar1::Instance());
    EXPECT_EQ(fw::Ref<fw::MenuBar>(bar), window.MenuBar());
    EXPECT_EQ(fw::Ref<fw::MenuBar>(bar), fw::App()->MenuBar());

    ASSERT_EQ(bar->Count(), 2);
    const fw::MenuItem& file = *bar->Item(0);
    const fw::MenuItem& edit = *bar->Item(1);
    EXPECT_EQ(file.Text(), "&File");
    ASSERT_EQ(file.Count(), 1);
    EXPECT_EQ(file.Item(0)->Text(), "Quit");
    EXPECT_EQ(file.Item(0)->KeyboardShortcut(), "Cmd+Q");
    EXPECT_TRUE(file.Item(0)->IsQuitItem());
    EXPECT_EQ(edit.Text(), "&Edit");
    std::vector<std::string> editItems;
    for (int i = 0; i < edit.Count(); ++i) {
        editItems.push_back(edit.Item(i)->Text() + " " + edit.Item(i)->KeyboardShortcut());
    }
    EXPECT_EQ(editItems, (std::vector<std::string>{"Undo Cmd+Z", "- ", "Cut Cmd+X", "Copy Cmd+C",
                                                   "Paste Cmd+V", "Clear "}));

    auto* qtWindow = qobject_cast<QMainWindow*>(window.NativeWidget());
    ASSERT_NE(qtWindow, nullptr);
    QStringList titles;
    for (QAction* menu : qtWindow->menuBar()->actions()) {
        titles << menu->text();
    }
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit"}));
}

TEST(MainWindow, TheHelpTagBoxSwitchesTheHelpTags) {
    MainWindow& window = StartKelvara();
    EXPECT_FALSE(fw::HelpTagsDisplayed());
    auto& box = Find<fw::CheckBox>(window, "CBHelpTag");
    QTest::mouseClick(box.NativeWidget(), Qt::LeftButton);
    EXPECT_TRUE(box.Value());
    EXPECT_TRUE(fw::HelpTagsDisplayed());
    QTest::mouseClick(box.NativeWidget(), Qt::LeftButton);
    EXPECT_FALSE(fw::HelpTagsDisplayed());
}

TEST(MainWindow, ACircuitButtonSetsTheTypeAndWaitsForTheNextRead) {
    MainWindow& window = StartKelvara();
    for (int k : {2, 1, 3, 0}) {
        QTest::mouseClick(Find<fw::RadioButton>(window, "CktTypeBTN", k).NativeWidget(),
                          Qt::LeftButton);
        EXPECT_EQ(window.RectType, k);
        EXPECT_EQ(window.NumDiodes, 2) << "the circuit is read again only later";
    }
    QTest::mouseClick(Find<fw::RadioButton>(window, "CktTypeBTN", 2).NativeWidget(),
                      Qt::LeftButton);
    window.Setup();
    EXPECT_EQ(window.NumDiodes, 1);
}

TEST(MainWindow, ClicksIntoTheCharacteristicTableChangeNothing) {
    MainWindow& window = StartKelvara();
    WaitUntilActive(window);
    auto& table = Find<fw::Listbox>(window, "Listbox1");
    auto& view = *qobject_cast<QAbstractItemView*>(table.NativeWidget());
    const std::vector<std::string> before = CellTexts(table);
    Find<fw::TextField>(window, "EFLoadR").SetFocus();
    for (const auto& [row, column] : {std::pair{0, 0}, {4, 1}, {9, 0}, {9, 1}}) {
        const QPoint middle = view.visualRect(view.model()->index(row, column)).center();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, middle);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, middle);
    }
    EXPECT_EQ(table.ListIndex(), -1);
    EXPECT_FALSE(table.IsEditing());
    EXPECT_EQ(FocusedControl(window), "EFLoadR") << "the click took the focus";
    EXPECT_EQ(CellTexts(table), before);
}

TEST(MainWindow, ClosingQuitsAndLeavesNoWindow) {
    MainWindow& window = StartKelvara();
    window.Close();
    testing_support::ProcessEvents();
    EXPECT_TRUE(fw::QuitRequested());
    EXPECT_EQ(fw::LiveInstance<MainWindow>(), nullptr);
    EXPECT_TRUE(fw::LiveWindows().empty());
}
