// Controls: design records applied to each kind, fonts and fitted captions,
// events bound by name, and the behaviour of text fields, buttons, check
// boxes, radio buttons, pop-up menus, arrows, group boxes and canvases, each
// driven through its real widget.

#include "framework/canvas.h"
#include "framework/check_box.h"
#include "framework/exceptions.h"
#include "framework/graphics.h"
#include "framework/group_box.h"
#include "framework/picture.h"
#include "framework/popup_menu.h"
#include "framework/push_button.h"
#include "framework/radio_button.h"
#include "framework/runtime.h"
#include "framework/static_text.h"
#include "framework/text_field.h"
#include "framework/up_down_arrows.h"
#include "framework/window.h"
#include "tests/support/designed_window.h"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using fw::ControlKind;
using kelvara_test::BoolValue;
using kelvara_test::BuildWindow;
using kelvara_test::ColorValue;
using kelvara_test::ControlRow;
using kelvara_test::IntValue;
using kelvara_test::TextValue;

std::vector<fw::Property> TestDesign() {
    return {TextValue("Title", "Controls"), IntValue("Width", 400), IntValue("Height", 300),
            BoolValue("Resizeable", false)};
}

template <class W>
W& Native(fw::Control& control) {
    auto* widget = qobject_cast<W*>(control.NativeWidget());
    if (widget == nullptr) {
        throw std::logic_error("the control's widget is of another class");
    }
    return *widget;
}

QColor PaletteColor(fw::Control& control, QPalette::ColorRole role) {
    return control.NativeWidget()->palette().color(role);
}

struct DesignCase {
    const char* label;
    ControlRow row;
    std::function<void(fw::Control&)> check;
};

void PrintTo(const DesignCase& row, std::ostream* out) {
    *out << row.label;
}

class ControlDesignTest : public testing::TestWithParam<DesignCase> {};

TEST_P(ControlDesignTest, RecordIsAppliedToTheWidget) {
    const DesignCase& row = GetParam();
    auto window = BuildWindow(TestDesign(), {row.row});
    fw::Control& control =
        fw::RuntimeWindowControlByNameIndex(*window, row.row.name, row.row.index);

    EXPECT_EQ(control.NativeWidget()->parentWidget(), window->ContentWidget());
    EXPECT_EQ(control.NativeWidget()->geometry(),
              QRect(row.row.left, row.row.top, row.row.width, row.row.height));
    EXPECT_EQ(QRect(control.Left(), control.Top(), control.Width(), control.Height()),
              QRect(row.row.left, row.row.top, row.row.width, row.row.height));
    EXPECT_EQ(control.TabIndex(), row.row.tabIndex);
    row.check(control);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ControlDesignTest,
    testing::Values(
        DesignCase{"static_text_centred_in_colour",
                   {ControlKind::StaticText,
                    "StaticText1",
                    11,
                    98,
                    760,
                    141,
                    20,
                    88,
                    {TextValue("Text", "Capacitor Voltage"), IntValue("TextAlign", 1),
                     ColorValue("TextColor", fw::RGB(0x00, 0x7F, 0x00))},
                    12},
                   [](fw::Control& control) {
                       auto& text = dynamic_cast<fw::StaticText&>(control);
                       QLabel& label = Native<QLabel>(control);
                       EXPECT_EQ(text.Text(), "Capacitor Voltage");
                       EXPECT_EQ(label.text(), QStringLiteral("Capacitor Voltage"));
                       EXPECT_EQ(label.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
                       EXPECT_EQ(PaletteColor(control, QPalette::WindowText), QColor(0, 127, 0));
                       EXPECT_EQ(control.TextSize(), 12);
                       EXPECT_EQ(label.font().pixelSize(), 12);
                       EXPECT_FALSE(control.TakesFocus());
                   }},
        DesignCase{"static_text_right_aligned_underlined_with_help_tag",
                   {ControlKind::StaticText,
                    "YLeft",
                    0,
                    6,
                    690,
                    63,
                    20,
                    57,
                    {TextValue("Text", "0"), IntValue("TextAlign", 2), BoolValue("Underline", true),
                     TextValue("HelpTag", "Volts")}},
                   [](fw::Control& control) {
                       QLabel& label = Native<QLabel>(control);
                       EXPECT_EQ(label.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
                       EXPECT_TRUE(label.font().underline());
                       EXPECT_TRUE(dynamic_cast<fw::StaticText&>(control).Underline());
                       EXPECT_EQ(control.HelpTag(), "Volts");
                       EXPECT_EQ(label.toolTip(), QStringLiteral("Volts"));
                       // No size in the design: the framework's default size.
                       EXPECT_EQ(control.TextSize(), 0);
                       EXPECT_EQ(label.font().pixelSize(), 12);
                   }},
        DesignCase{"text_field_with_colours_limit_and_text",
                   {ControlKind::TextField,
                    "EFCapacitor",
                    fw::kNoIndex,
                    523,
                    61,
                    114,
                    22,
                    49,
                    {TextValue("Text", "3300"), ColorValue("TextColor", fw::RGB(255, 0, 0)),
                     ColorValue("BackColor", fw::RGB(0, 0, 255)), IntValue("LimitText", 6),
                     BoolValue("Bold", true), IntValue("Alignment", 3)}},
                   [](fw::Control& control) {
                       auto& field = dynamic_cast<fw::TextField&>(control);
                       QLineEdit& edit = Native<QLineEdit>(control);
                       EXPECT_EQ(field.Text(), "3300");
                       EXPECT_EQ(PaletteColor(control, QPalette::Text), QColor(255, 0, 0));
                       EXPECT_EQ(PaletteColor(control, QPalette::Base), QColor(0, 0, 255));
                       EXPECT_EQ(field.TextColor(), fw::RGB(255, 0, 0));
                       EXPECT_EQ(edit.maxLength(), 6);
                       EXPECT_TRUE(field.Bold());
                       EXPECT_TRUE(edit.font().bold());
                       EXPECT_EQ(edit.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
                       EXPECT_TRUE(edit.hasFrame());
                       EXPECT_TRUE(control.TakesFocus());
                   }},
        DesignCase{"text_field_read_only_password_without_border",
                   {ControlKind::TextField,
                    "EFSecret",
                    fw::kNoIndex,
                    10,
                    10,
                    100,
                    22,
                    1,
                    {BoolValue("ReadOnly", true), BoolValue("Password", true),
                     BoolValue("Border", false), TextValue("CueText", "name")}},
                   [](fw::Control& control) {
                       QLineEdit& edit = Native<QLineEdit>(control);
                       EXPECT_TRUE(dynamic_cast<fw::TextField&>(control).ReadOnly());
                       EXPECT_EQ(edit.echoMode(), QLineEdit::Password);
                       EXPECT_FALSE(edit.hasFrame());
                       EXPECT_EQ(edit.placeholderText(), QStringLiteral("name"));
                   }},
        DesignCase{"default_push_button",
                   {ControlKind::PushButton,
                    "PlotPB",
                    fw::kNoIndex,
                    64,
                    186,
                    80,
                    20,
                    75,
                    {TextValue("Caption", "Plot"), BoolValue("Default", true)}},
                   [](fw::Control& control) {
                       auto& button = dynamic_cast<fw::PushButton&>(control);
                       EXPECT_EQ(button.Caption(), "Plot");
                       EXPECT_TRUE(button.Default());
                       EXPECT_FALSE(button.Cancel());
                       EXPECT_TRUE(Native<QPushButton>(control).isDefault());
                   }},
        DesignCase{"disabled_cancel_button_with_ampersand",
                   {ControlKind::PushButton,
                    "CancelPB",
                    fw::kNoIndex,
                    85,
                    412,
                    80,
                    20,
                    1,
                    {TextValue("Caption", "Save & Quit"), BoolValue("Cancel", true),
                     BoolValue("Enabled", false)}},
                   [](fw::Control& control) {
                       auto& button = dynamic_cast<fw::PushButton&>(control);
                       EXPECT_EQ(button.Caption(), "Save & Quit");
                       EXPECT_TRUE(button.Cancel());
                       EXPECT_FALSE(button.Enabled());
                       EXPECT_FALSE(control.NativeWidget()->isEnabled());
                   }},
        DesignCase{
            "checked_check_box",
            {ControlKind::CheckBox,
             "CBAutoVolts",
             fw::kNoIndex,
             18,
             757,
             80,
             20,
             107,
             {TextValue("Caption", "Auto Scale"), IntValue("State", 1), BoolValue("Value", true)},
             10},
            [](fw::Control& control) {
                auto& box = dynamic_cast<fw::CheckBox&>(control);
                EXPECT_EQ(box.Caption(), "Auto Scale");
                EXPECT_TRUE(box.Value());
                EXPECT_EQ(box.State(), 1);
                EXPECT_TRUE(Native<QCheckBox>(control).isChecked());
            }},
        DesignCase{
            "unchecked_check_box",
            {ControlKind::CheckBox,
             "CBHelpTag",
             fw::kNoIndex,
             450,
             267,
             100,
             20,
             117,
             {TextValue("Caption", "Help Tags"), IntValue("State", 0), BoolValue("Value", false)}},
            [](fw::Control& control) {
                EXPECT_FALSE(dynamic_cast<fw::CheckBox&>(control).Value());
                EXPECT_FALSE(Native<QCheckBox>(control).isChecked());
            }},
        DesignCase{"selected_radio_button_of_an_array",
                   {ControlKind::RadioButton,
                    "CktTypeBTN",
                    0,
                    680,
                    66,
                    100,
                    20,
                    102,
                    {TextValue("Caption", "Bridge"), BoolValue("Value", true)},
                    10},
                   [](fw::Control& control) {
                       auto& radio = dynamic_cast<fw::RadioButton&>(control);
                       EXPECT_EQ(radio.Caption(), "Bridge");
                       EXPECT_EQ(radio.Index(), 0);
                       EXPECT_TRUE(radio.Value());
                   }},
        DesignCase{"popup_menu_rows_and_selection",
                   {ControlKind::PopupMenu,
                    "PopupDiodeType",
                    fw::kNoIndex,
                    807,
                    32,
                    158,
                    20,
                    96,
                    {TextValue("InitialValue", "1N4004\r1N4148\rSS2H9 (Sch)\r"),
                     IntValue("ListIndex", 1), TextValue("HelpTag", "Choose a diode")}},
                   [](fw::Control& control) {
                       auto& menu = dynamic_cast<fw::PopupMenu&>(control);
                       EXPECT_EQ(menu.ListCount(), 3);
                       EXPECT_EQ(menu.List(2), "SS2H9 (Sch)");
                       EXPECT_EQ(menu.ListIndex(), 1);
                       EXPECT_EQ(menu.Text(), "1N4148");
                       EXPECT_EQ(Native<QComboBox>(control).toolTip(),
                                 QStringLiteral("Choose a diode"));
                   }},
        DesignCase{"empty_popup_menu_naming_a_row_it_lacks",
                   {ControlKind::PopupMenu,
                    "PopupDiodeType",
                    fw::kNoIndex,
                    807,
                    32,
                    158,
                    20,
                    96,
                    {TextValue("InitialValue", ""), IntValue("ListIndex", 0)}},
                   [](fw::Control& control) {
                       auto& menu = dynamic_cast<fw::PopupMenu&>(control);
                       EXPECT_EQ(menu.ListCount(), 0);
                       EXPECT_EQ(menu.ListIndex(), -1);
                       EXPECT_EQ(menu.Text(), "");
                   }},
        DesignCase{"group_box_caption",
                   {ControlKind::GroupBox,
                    "GroupBox1",
                    fw::kNoIndex,
                    668,
                    38,
                    123,
                    137,
                    106,
                    {TextValue("Caption", "Circuit Type")},
                    10},
                   [](fw::Control& control) {
                       EXPECT_EQ(dynamic_cast<fw::GroupBox&>(control).Caption(), "Circuit Type");
                       EXPECT_EQ(Native<QGroupBox>(control).title(),
                                 QStringLiteral("Circuit Type"));
                       EXPECT_FALSE(control.TakesFocus());
                   }},
        DesignCase{"canvas_that_takes_no_focus",
                   {ControlKind::Canvas,
                    "Canvas1",
                    fw::kNoIndex,
                    81,
                    303,
                    800,
                    400,
                    17,
                    {BoolValue("AcceptFocus", false), BoolValue("UseFocusRing", false)}},
                   [](fw::Control& control) {
                       EXPECT_FALSE(control.TakesFocus());
                       EXPECT_EQ(control.NativeWidget()->focusPolicy(), Qt::NoFocus);
                       EXPECT_EQ(std::get<bool>(*control.DesignValue("UseFocusRing")), false);
                   }},
        DesignCase{"hidden_arrows_that_take_no_focus",
                   {ControlKind::UpDownArrows,
                    "VSupdown",
                    fw::kNoIndex,
                    20,
                    728,
                    13,
                    23,
                    91,
                    {BoolValue("AcceptFocus", false), BoolValue("Visible", false),
                     TextValue("HelpTag", "Scale")}},
                   [](fw::Control& control) {
                       auto& arrows = dynamic_cast<fw::UpDownArrows&>(control);
                       EXPECT_FALSE(control.Visible());
                       EXPECT_FALSE(control.TakesFocus());
                       EXPECT_EQ(arrows.UpButton()->focusPolicy(), Qt::NoFocus);
                       EXPECT_EQ(arrows.DownButton()->focusPolicy(), Qt::NoFocus);
                       EXPECT_EQ(control.HelpTag(), "Scale");
                   }}));

struct MismatchCase {
    const char* label;
    fw::Property property;
};

void PrintTo(const MismatchCase& row, std::ostream* out) {
    *out << row.label;
}

class DesignMismatchTest : public testing::TestWithParam<MismatchCase> {};

TEST_P(DesignMismatchTest, RecordOfAnotherControlOrTypeIsRefused) {
    auto window = BuildWindow(TestDesign(), {{ControlKind::StaticText,
                                              "StaticText1",
                                              3,
                                              10,
                                              10,
                                              80,
                                              20,
                                              1,
                                              {TextValue("Text", "kept")}}});
    fw::Control& control = fw::RuntimeWindowControlByNameIndex(*window, "StaticText1", 3);
    EXPECT_THROW(control.ApplyDesignProperty(GetParam().property), std::invalid_argument);
    EXPECT_EQ(dynamic_cast<fw::StaticText&>(control).Text(), "kept");
}

INSTANTIATE_TEST_SUITE_P(
    Records, DesignMismatchTest,
    testing::Values(MismatchCase{"other_name", TextValue("Name", "StaticText2")},
                    MismatchCase{"other_index", IntValue("Index", 4)},
                    MismatchCase{"no_index", IntValue("Index", fw::kNoIndex)},
                    MismatchCase{"text_as_integer", IntValue("Text", 5)},
                    MismatchCase{"left_as_text", TextValue("Left", "10")},
                    MismatchCase{"colour_as_boolean", BoolValue("TextColor", true)}));

TEST(ControlTest, UnknownDesignValuesAreKeptInert) {
    auto window = BuildWindow(TestDesign(), {{ControlKind::TextField,
                                              "EFOne",
                                              fw::kNoIndex,
                                              10,
                                              10,
                                              100,
                                              22,
                                              1,
                                              {TextValue("Mask", "###")}}});
    const fw::Control& field = *window->FindControl("EFOne");
    ASSERT_NE(field.DesignValue("Mask"), nullptr);
    EXPECT_EQ(std::get<std::string>(*field.DesignValue("Mask")), "###");
    EXPECT_EQ(std::get<bool>(*field.DesignValue("LockLeft")), false);
    EXPECT_EQ(std::get<std::string>(*field.DesignValue("DataField")), "");
    EXPECT_EQ(field.DesignValue("NoSuchProperty"), nullptr);
}

TEST(ControlTest, SystemFontIsTheApplicationFamilyAndOthersAreNamed) {
    auto window = BuildWindow(TestDesign(),
                              {{ControlKind::StaticText,
                                "System",
                                fw::kNoIndex,
                                10,
                                10,
                                80,
                                20,
                                1,
                                {TextValue("Text", "a")}},
                               {ControlKind::StaticText,
                                "Mono",
                                fw::kNoIndex,
                                10,
                                40,
                                80,
                                20,
                                2,
                                {TextValue("Text", "a"), TextValue("TextFont", "DejaVu Sans Mono"),
                                 BoolValue("Italic", true)},
                                10}});
    const QFont system = window->FindControl("System")->NativeWidget()->font();
    const QFont mono = window->FindControl("Mono")->NativeWidget()->font();
    EXPECT_EQ(system.family(), QApplication::font().family());
    EXPECT_EQ(mono.family(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(window->FindControl("Mono")->TextFont(), "DejaVu Sans Mono");
    EXPECT_TRUE(mono.italic());
    EXPECT_EQ(mono.pixelSize(), 10);
}

// The width that a caption has to fit into: the text area that the style
// keeps within the widget.
int CaptionRoom(fw::Control& control) {
    QWidget* widget = control.NativeWidget();
    QStyleOptionButton option;
    option.initFrom(widget);
    switch (control.Kind()) {
    case ControlKind::PushButton:
        return widget->style()
            ->subElementRect(QStyle::SE_PushButtonContents, &option, widget)
            .width();
    case ControlKind::CheckBox:
        return widget->style()
            ->subElementRect(QStyle::SE_CheckBoxContents, &option, widget)
            .width();
    case ControlKind::RadioButton:
        return widget->style()
            ->subElementRect(QStyle::SE_RadioButtonContents, &option, widget)
            .width();
    case ControlKind::GroupBox:
        return widget->width() - 16;
    default:
        return widget->contentsRect().width();
    }
}

QString CaptionOf(fw::Control& control) {
    if (auto* label = qobject_cast<QLabel*>(control.NativeWidget())) {
        return label->text();
    }
    if (auto* box = qobject_cast<QGroupBox*>(control.NativeWidget())) {
        return box->title();
    }
    return qobject_cast<QAbstractButton*>(control.NativeWidget())->text();
}

struct FitCase {
    const char* label;
    ControlRow row;
    bool mustNarrow; // too wide at the design size: the font must give way
};

void PrintTo(const FitCase& row, std::ostream* out) {
    *out << row.label;
}

class CaptionFitTest : public testing::TestWithParam<FitCase> {};

TEST_P(CaptionFitTest, CaptionFitsItsBox) {
    const FitCase& row = GetParam();
    auto window = BuildWindow(TestDesign(), {row.row});
    ASSERT_TRUE(kelvara_test::ShowActive(*window));
    fw::Control& control =
        fw::RuntimeWindowControlByNameIndex(*window, row.row.name, row.row.index);
    const QFont font = control.NativeWidget()->font();
    const QString caption = CaptionOf(control);

    EXPECT_LE(QFontMetrics(font).horizontalAdvance(caption), CaptionRoom(control))
        << caption.toStdString() << " at " << font.pixelSize() << " px, stretch " << font.stretch();
    EXPECT_EQ(control.TextSize(), row.row.textSize);
    const bool narrowed = font.pixelSize() < (row.row.textSize > 0 ? row.row.textSize : 12) ||
                          (font.stretch() > 0 && font.stretch() < 100);
    if (row.mustNarrow) {
        EXPECT_TRUE(narrowed);
    }
}

ControlRow Caption(ControlKind kind, const char* caption, int width, int height, int size) {
    const char* property = kind == ControlKind::StaticText ? "Text" : "Caption";
    return {
        kind, "Captioned", fw::kNoIndex, 20, 20, width, height, 1, {TextValue(property, caption)},
        size};
}

INSTANTIATE_TEST_SUITE_P(
    Layout, CaptionFitTest,
    testing::Values(
        FitCase{"diode_characteristics",
                Caption(ControlKind::StaticText, "Diode Characteristics", 114, 20, 10), false},
        FitCase{"capacitor_value",
                Caption(ControlKind::StaticText, "Capacitor Value (uF)", 112, 20, 10), false},
        FitCase{"output_voltage",
                Caption(ControlKind::StaticText, "Output Voltage(RMS)", 114, 20, 10), false},
        FitCase{"start_phase",
                Caption(ControlKind::StaticText, "Start Phase (0-179°)", 114, 20, 10), false},
        FitCase{"diode_voltage_legend",
                Caption(ControlKind::StaticText, "Diode Voltage (total)", 141, 20, 12), false},
        FitCase{"capacitor_voltage_legend",
                Caption(ControlKind::StaticText, "Capacitor Voltage", 141, 20, 12), false},
        FitCase{"current_scale", Caption(ControlKind::StaticText, "Current Scale", 80, 20, 10),
                false},
        FitCase{"sec_volts", Caption(ControlKind::StaticText, "Sec Volts", 63, 20, 10), false},
        FitCase{"diode_piv_at_default_size",
                Caption(ControlKind::StaticText, "Diode PIV =", 135, 20, 0), false},
        FitCase{"circuit_type_group", Caption(ControlKind::GroupBox, "Circuit Type", 123, 137, 10),
                false},
        FitCase{"doubler_radio", Caption(ControlKind::RadioButton, "Doubler (FW)", 100, 20, 10),
                false},
        FitCase{"auto_scale_box", Caption(ControlKind::CheckBox, "Auto Scale", 80, 20, 10), false},
        FitCase{"help_tags_box", Caption(ControlKind::CheckBox, "Help Tags", 100, 20, 10), false},
        FitCase{"new_button", Caption(ControlKind::PushButton, "New", 64, 19, 10), false},
        FitCase{"cancel_button", Caption(ControlKind::PushButton, "Cancel", 80, 20, 0), false},
        FitCase{"long_label_in_a_small_box",
                Caption(ControlKind::StaticText, "Characteristics of the diode", 90, 20, 12), true},
        FitCase{"long_button_caption",
                Caption(ControlKind::PushButton, "Recalculate everything", 80, 20, 12), true},
        FitCase{"long_check_box_caption",
                Caption(ControlKind::CheckBox, "Automatic scale selection", 80, 20, 12), true},
        FitCase{"long_group_caption",
                Caption(ControlKind::GroupBox, "Rectifier circuit type", 80, 100, 12), true}));

TEST(ControlTest, MultilineTextBreaksAtLineEndsAndWrapsInsideItsBox) {
    const std::string note =
        "Keep in mind that for a full wave, a bridge, or a full wave doubler, one diode (or pair "
        "of diodes if a bridge) conducts for one half cycle and the other diode (or pair) conducts "
        "during the other half cycle. ";
    auto window = BuildWindow(
        TestDesign(),
        {{ControlKind::StaticText,
          "Note",
          fw::kNoIndex,
          10,
          10,
          300,
          44,
          1,
          {TextValue("Text", note), IntValue("TextAlign", 1), BoolValue("Multiline", true)},
          10},
         {ControlKind::StaticText,
          "LoadVt",
          fw::kNoIndex,
          10,
          100,
          130,
          35,
          2,
          {TextValue("Text", "Load V (min/max) =\r1.234 / 5.678"), BoolValue("Multiline", true)}},
         {ControlKind::StaticText,
          "OneLine",
          fw::kNoIndex,
          10,
          150,
          200,
          20,
          3,
          {TextValue("Text", "first\rsecond")}}});

    QLabel& wrapped = Native<QLabel>(*window->FindControl("Note"));
    EXPECT_TRUE(wrapped.wordWrap());
    const QRect needed =
        QFontMetrics(wrapped.font())
            .boundingRect(QRect(0, 0, wrapped.width(), 1000), Qt::TextWordWrap, wrapped.text());
    EXPECT_LE(needed.height(), wrapped.height());

    QLabel& lines = Native<QLabel>(*window->FindControl("LoadVt"));
    EXPECT_EQ(lines.text(), QStringLiteral("Load V (min/max) =\n1.234 / 5.678"));
    EXPECT_EQ(dynamic_cast<fw::StaticText&>(*window->FindControl("LoadVt")).Text(),
              "Load V (min/max) =\r1.234 / 5.678");

    QLabel& single = Native<QLabel>(*window->FindControl("OneLine"));
    EXPECT_EQ(single.text(), QStringLiteral("first second"));
    EXPECT_FALSE(single.wordWrap());
}

struct BindingCase {
    const char* label;
    ControlKind kind;
    std::string event;
    fw::EventHandler handler;
    bool accepted;
};

void PrintTo(const BindingCase& row, std::ostream* out) {
    *out << row.label;
}

class ControlBindingTest : public testing::TestWithParam<BindingCase> {};

TEST_P(ControlBindingTest, EventsBindByNameAndShape) {
    const BindingCase& row = GetParam();
    auto window = BuildWindow(TestDesign(), {{row.kind, "Subject", fw::kNoIndex, 10, 10, 100, 50}});
    fw::Control& control = *window->FindControl("Subject");
    if (row.accepted) {
        EXPECT_NO_THROW(control.InstallEventHandler(row.event, row.handler));
        EXPECT_TRUE(control.HasEventHandler(row.event));
    } else {
        EXPECT_THROW(control.InstallEventHandler(row.event, row.handler), std::invalid_argument);
        EXPECT_FALSE(control.HasEventHandler(row.event));
    }
}

const fw::EventHandler kPlain = fw::PlainHandler([](fw::Control*) {});
const fw::EventHandler kPaint = fw::PaintHandler([](fw::Control*, fw::Graphics&) {});
const fw::EventHandler kCellClick =
    fw::CellClickHandler([](fw::Control*, int, int, int, int) { return false; });
const fw::EventHandler kCellKeyDown =
    fw::CellKeyDownHandler([](fw::Control*, int, int, const std::string&) { return false; });

INSTANTIATE_TEST_SUITE_P(
    Events, ControlBindingTest,
    testing::Values(
        BindingCase{"text_change", ControlKind::TextField, "TextChange", kPlain, true},
        BindingCase{"push_action", ControlKind::PushButton, "Action", kPlain, true},
        BindingCase{"check_action", ControlKind::CheckBox, "Action", kPlain, true},
        BindingCase{"radio_action", ControlKind::RadioButton, "Action", kPlain, true},
        BindingCase{"popup_change", ControlKind::PopupMenu, "Change", kPlain, true},
        BindingCase{"canvas_paint", ControlKind::Canvas, "Paint", kPaint, true},
        BindingCase{"arrows_up", ControlKind::UpDownArrows, "Up", kPlain, true},
        BindingCase{"arrows_down", ControlKind::UpDownArrows, "Down", kPlain, true},
        BindingCase{"list_cell_click", ControlKind::Listbox, "CellClick", kCellClick, true},
        BindingCase{"list_cell_key_down", ControlKind::Listbox, "CellKeyDown", kCellKeyDown, true},
        BindingCase{"list_change", ControlKind::Listbox, "Change", kPlain, true},
        BindingCase{"paint_as_plain", ControlKind::Canvas, "Paint", kPlain, false},
        BindingCase{"cell_click_as_key_down", ControlKind::Listbox, "CellClick", kCellKeyDown,
                    false},
        BindingCase{"action_as_paint", ControlKind::PushButton, "Action", kPaint, false},
        BindingCase{"field_has_no_action", ControlKind::TextField, "Action", kPlain, false},
        BindingCase{"popup_has_no_action", ControlKind::PopupMenu, "Action", kPlain, false},
        BindingCase{"label_has_no_events", ControlKind::StaticText, "TextChange", kPlain, false},
        BindingCase{"wrong_case", ControlKind::PushButton, "action", kPlain, false}));

// A window that creates controls the way the system does, binding handlers
// only after the design is applied, and counts every event.
class CountingWindow : public kelvara_test::DesignedWindow {
public:
    CountingWindow()
        : DesignedWindow(
              TestDesign(),
              {{ControlKind::TextField,
                "EFName",
                fw::kNoIndex,
                10,
                10,
                100,
                22,
                1,
                {TextValue("Text", "from the design")}},
               {ControlKind::CheckBox,
                "CBBox",
                fw::kNoIndex,
                10,
                40,
                100,
                20,
                2,
                {TextValue("Caption", "Box"), IntValue("State", 1), BoolValue("Value", true)}},
               {ControlKind::RadioButton,
                "Radio",
                0,
                10,
                70,
                100,
                20,
                3,
                {TextValue("Caption", "A"), BoolValue("Value", true)}},
               {ControlKind::RadioButton,
                "Radio",
                1,
                10,
                90,
                100,
                20,
                4,
                {TextValue("Caption", "B")}},
               {ControlKind::RadioButton,
                "Radio",
                2,
                10,
                110,
                100,
                20,
                5,
                {TextValue("Caption", "C")}},
               {ControlKind::PopupMenu,
                "Popup",
                fw::kNoIndex,
                10,
                140,
                150,
                20,
                6,
                {TextValue("InitialValue", "one\rtwo\rthree"), IntValue("ListIndex", 2)}},
               {ControlKind::PushButton,
                "PlotPB",
                fw::kNoIndex,
                200,
                10,
                80,
                20,
                7,
                {TextValue("Caption", "Plot")}},
               {ControlKind::UpDownArrows,
                "Arrows",
                fw::kNoIndex,
                200,
                50,
                13,
                23,
                8,
                {BoolValue("AcceptFocus", false)}}}) {
        InstallEventHandler("Open", fw::Delegate(this, &CountingWindow::BindHandlers));
    }

    std::map<std::string, int> counts;
    std::vector<std::int32_t> radioActions;
    std::vector<std::string> textsAtTextChange;

private:
    void BindHandlers() {
        FindControl("EFName")->InstallEventHandler("TextChange",
                                                   fw::Delegate(this, &CountingWindow::Text));
        FindControl("CBBox")->InstallEventHandler("Action",
                                                  fw::Delegate(this, &CountingWindow::Box));
        for (std::int32_t index = 0; index < 3; ++index) {
            FindControl("Radio", index)
                ->InstallEventHandler("Action", fw::Delegate(this, &CountingWindow::Radio));
        }
        FindControl("Popup")->InstallEventHandler("Change",
                                                  fw::Delegate(this, &CountingWindow::Popup));
        FindControl("PlotPB")->InstallEventHandler("Action",
                                                   fw::Delegate(this, &CountingWindow::Plot));
        FindControl("Arrows")->InstallEventHandler("Up", fw::Delegate(this, &CountingWindow::Up));
        FindControl("Arrows")->InstallEventHandler("Down",
                                                   fw::Delegate(this, &CountingWindow::Down));
    }
    void Text() {
        ++counts["TextChange"];
        textsAtTextChange.push_back(fw::ControlByName<fw::TextField>(*this, "EFName").Text());
    }
    void Box() { ++counts["Box"]; }
    void Radio(fw::RadioButton& sender) {
        ++counts["Radio"];
        radioActions.push_back(sender.Index());
    }
    void Popup() { ++counts["Change"]; }
    void Plot() {
        ++counts["Plot"];
        if (failPlot) {
            throw fw::OutOfBoundsException("plot failed");
        }
    }
    void Up() { ++counts["Up"]; }
    void Down() { ++counts["Down"]; }

public:
    bool failPlot = false;
};

template <class T>
T& Get(const fw::Window& window, const char* name, std::int32_t index = fw::kNoIndex) {
    return fw::ControlByNameIndex<T>(window, name, index);
}

TEST(ControlEventTest, CreatingTheControlsRunsNoHandler) {
    CountingWindow window;
    window.Construct();
    EXPECT_TRUE(window.counts.empty());
    EXPECT_EQ(Get<fw::TextField>(window, "EFName").Text(), "from the design");
    EXPECT_EQ(Get<fw::PopupMenu>(window, "Popup").ListIndex(), 2);
    EXPECT_TRUE(Get<fw::RadioButton>(window, "Radio", 0).Value());
}

TEST(ControlEventTest, TextChangeFollowsEveryChangeTypedOrSet) {
    CountingWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    auto& field = Get<fw::TextField>(window, "EFName");
    field.SetFocus();
    field.SelectAll();

    QTest::keyClicks(field.NativeWidget(), "ab");
    EXPECT_EQ(field.Text(), "ab");
    EXPECT_EQ(window.counts["TextChange"], 2);
    field.SetText("ab"); // no change
    EXPECT_EQ(window.counts["TextChange"], 2);
    field.SetText("xyz");
    EXPECT_EQ(window.counts["TextChange"], 3);
    QTest::keyClick(field.NativeWidget(), Qt::Key_Backspace);
    EXPECT_EQ(field.Text(), "xy");
    EXPECT_EQ(window.counts["TextChange"], 4);
}

TEST(ControlEventTest, RadioButtonsOfAWindowAreExclusive) {
    CountingWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    auto& a = Get<fw::RadioButton>(window, "Radio", 0);
    auto& b = Get<fw::RadioButton>(window, "Radio", 1);
    auto& c = Get<fw::RadioButton>(window, "Radio", 2);

    QTest::mouseClick(b.NativeWidget(), Qt::LeftButton);
    EXPECT_EQ((std::vector<bool>{a.Value(), b.Value(), c.Value()}),
              (std::vector<bool>{false, true, false}));
    QTest::mouseClick(b.NativeWidget(), Qt::LeftButton); // already selected: stays
    EXPECT_TRUE(b.Value());

    c.SetValue(true);
    EXPECT_EQ((std::vector<bool>{a.Value(), b.Value(), c.Value()}),
              (std::vector<bool>{false, false, true}));
    a.SetValue(true);
    EXPECT_FALSE(c.Value());

    // Action comes only for the member that became selected.
    EXPECT_EQ(window.radioActions, (std::vector<std::int32_t>{1, 2, 0}));

    a.SetValue(false);
    EXPECT_EQ((std::vector<bool>{a.Value(), b.Value(), c.Value()}),
              (std::vector<bool>{false, false, false}));
    EXPECT_EQ(window.radioActions.size(), 3u);
}

TEST(ControlEventTest, CheckBoxRaisesActionOnEveryChangeOfValue) {
    CountingWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    auto& box = Get<fw::CheckBox>(window, "CBBox");

    QTest::mouseClick(box.NativeWidget(), Qt::LeftButton);
    EXPECT_FALSE(box.Value());
    EXPECT_EQ(box.State(), 0);
    box.SetValue(false); // unchanged
    box.SetState(1);
    QTest::keyClick(box.NativeWidget(), Qt::Key_Space);
    EXPECT_FALSE(box.Value());
    EXPECT_EQ(window.counts["Box"], 3);
}

TEST(ControlEventTest, PushButtonActsWhenClickedOrPushedWhileEnabled) {
    CountingWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    auto& button = Get<fw::PushButton>(window, "PlotPB");

    QTest::mouseClick(button.NativeWidget(), Qt::LeftButton);
    button.Push();
    button.SetEnabled(false);
    button.Push();
    QTest::mouseClick(button.NativeWidget(), Qt::LeftButton);
    EXPECT_EQ(window.counts["Plot"], 2);
}

TEST(ControlEventTest, FailingHandlerIsReportedAndTheProgramGoesOn) {
    CountingWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    window.failPlot = true;
    const int before = fw::UnhandledExceptionCount();
    auto& button = Get<fw::PushButton>(window, "PlotPB");

    QTest::mouseClick(button.NativeWidget(), Qt::LeftButton);
    EXPECT_EQ(fw::UnhandledExceptionCount(), before + 1);
    ASSERT_TRUE(fw::LastUnhandledException().has_value());
    EXPECT_EQ(fw::LastUnhandledException()->typeName, "OutOfBoundsException");
    EXPECT_EQ(fw::LastUnhandledException()->message, "plot failed");

    window.failPlot = false;
    QTest::mouseClick(button.NativeWidget(), Qt::LeftButton);
    EXPECT_EQ(window.counts["Plot"], 2);
    EXPECT_EQ(fw::UnhandledExceptionCount(), before + 1);
}

TEST(ControlEventTest, HandlerForAnotherKindOfSenderIsReported) {
    CountingWindow window;
    window.Construct();
    struct Target {
        void Pressed(fw::CheckBox&) { ++calls; }
        int calls = 0;
    } target;
    auto& button = Get<fw::PushButton>(window, "PlotPB");
    button.InstallEventHandler("Action", fw::Delegate(&target, &Target::Pressed));
    const int before = fw::UnhandledExceptionCount();
    button.Push();
    EXPECT_EQ(target.calls, 0);
    EXPECT_EQ(fw::UnhandledExceptionCount(), before + 1);
}

TEST(ControlEventTest, ArrowsRaiseUpAndDownAndRepeatWhileHeld) {
    CountingWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    auto& arrows = Get<fw::UpDownArrows>(window, "Arrows");
    QWidget* up = arrows.UpButton();
    QWidget* down = arrows.DownButton();

    EXPECT_LT(up->geometry().bottom(), down->geometry().top());
    EXPECT_EQ(qobject_cast<QToolButton*>(up)->arrowType(), Qt::UpArrow);
    EXPECT_EQ(qobject_cast<QToolButton*>(down)->arrowType(), Qt::DownArrow);
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(window.counts["Up"], 2);
    EXPECT_EQ(window.counts["Down"], 1);

    QTest::mousePress(down, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.counts["Down"] >= 3; }, 3000));
    QTest::mouseRelease(down, Qt::LeftButton);
    // The arrows never take the focus from the field.
    EXPECT_NE(kelvara_test::FocusedWidget(window), up);
    EXPECT_NE(kelvara_test::FocusedWidget(window), down);
}

struct PopupCase {
    const char* label;
    std::function<void(fw::PopupMenu&)> act;
    std::vector<std::string> rows;
    int listIndex;
    int changes;
};

void PrintTo(const PopupCase& row, std::ostream* out) {
    *out << row.label;
}

class PopupMenuTest : public testing::TestWithParam<PopupCase> {};

// Each row starts from the menu of the design: "one", "two", "three" with
// "three" selected.
TEST_P(PopupMenuTest, RowsSelectionAndChange) {
    const PopupCase& row = GetParam();
    CountingWindow window;
    window.Construct();
    auto& menu = Get<fw::PopupMenu>(window, "Popup");

    row.act(menu);

    std::vector<std::string> rows;
    for (int i = 0; i < menu.ListCount(); ++i) {
        rows.push_back(menu.List(i));
    }
    EXPECT_EQ(rows, row.rows);
    EXPECT_EQ(menu.ListIndex(), row.listIndex);
    EXPECT_EQ(Native<QComboBox>(menu).currentIndex(), row.listIndex);
    EXPECT_EQ(window.counts["Change"], row.changes);
}

INSTANTIATE_TEST_SUITE_P(Menus, PopupMenuTest,
                         testing::Values(PopupCase{"add_keeps_the_selection",
                                                   [](fw::PopupMenu& m) { m.AddRow("four"); },
                                                   {"one", "two", "three", "four"},
                                                   2,
                                                   0},
                                         PopupCase{"adding_to_an_empty_menu_selects_nothing",
                                                   [](fw::PopupMenu& m) {
                                                       while (m.ListCount() > 0) {
                                                           m.RemoveRow(0);
                                                       }
                                                       m.AddRow("first");
                                                       m.AddRow("second");
                                                   },
                                                   {"first", "second"},
                                                   -1,
                                                   1},
                                         PopupCase{"select_from_code",
                                                   [](fw::PopupMenu& m) { m.SetListIndex(0); },
                                                   {"one", "two", "three"},
                                                   0,
                                                   1},
                                         PopupCase{"select_the_selected_row",
                                                   [](fw::PopupMenu& m) { m.SetListIndex(2); },
                                                   {"one", "two", "three"},
                                                   2,
                                                   0},
                                         PopupCase{"select_none",
                                                   [](fw::PopupMenu& m) { m.SetListIndex(-1); },
                                                   {"one", "two", "three"},
                                                   -1,
                                                   1},
                                         PopupCase{"remove_the_selected_row",
                                                   [](fw::PopupMenu& m) { m.RemoveRow(2); },
                                                   {"one", "two"},
                                                   -1,
                                                   1},
                                         PopupCase{"remove_a_row_above_the_selection",
                                                   [](fw::PopupMenu& m) { m.RemoveRow(0); },
                                                   {"two", "three"},
                                                   1,
                                                   0},
                                         PopupCase{"remove_a_row_below_the_selection",
                                                   [](fw::PopupMenu& m) {
                                                       m.SetListIndex(0);
                                                       m.RemoveRow(1);
                                                   },
                                                   {"one", "three"},
                                                   0,
                                                   1},
                                         PopupCase{"rename_the_selected_row",
                                                   [](fw::PopupMenu& m) { m.SetList(2, "drei"); },
                                                   {"one", "two", "drei"},
                                                   2,
                                                   0},
                                         PopupCase{"choose_with_the_keyboard",
                                                   [](fw::PopupMenu& m) {
                                                       QTest::keyClick(m.NativeWidget(),
                                                                       Qt::Key_Up);
                                                   },
                                                   {"one", "two", "three"},
                                                   1,
                                                   1}));

struct PopupBoundsCase {
    const char* label;
    std::function<void(fw::PopupMenu&)> act;
};

void PrintTo(const PopupBoundsCase& row, std::ostream* out) {
    *out << row.label;
}

class PopupBoundsTest : public testing::TestWithParam<PopupBoundsCase> {};

TEST_P(PopupBoundsTest, RowOutsideTheMenuThrowsAndChangesNothing) {
    CountingWindow window;
    window.Construct();
    auto& menu = Get<fw::PopupMenu>(window, "Popup");
    EXPECT_THROW(GetParam().act(menu), fw::OutOfBoundsException);
    EXPECT_EQ(menu.ListCount(), 3);
    EXPECT_EQ(menu.ListIndex(), 2);
    EXPECT_EQ(window.counts["Change"], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, PopupBoundsTest,
    testing::Values(
        PopupBoundsCase{"select_past_the_end", [](fw::PopupMenu& m) { m.SetListIndex(3); }},
        PopupBoundsCase{"select_below_none", [](fw::PopupMenu& m) { m.SetListIndex(-2); }},
        PopupBoundsCase{"remove_past_the_end", [](fw::PopupMenu& m) { m.RemoveRow(3); }},
        PopupBoundsCase{"remove_negative", [](fw::PopupMenu& m) { m.RemoveRow(-1); }},
        PopupBoundsCase{"read_past_the_end", [](fw::PopupMenu& m) { m.List(3); }},
        PopupBoundsCase{"rename_negative", [](fw::PopupMenu& m) { m.SetList(-1, "x"); }}));

struct RefusedCase {
    const char* label;
    std::string start; // text set from code
    std::function<void(QLineEdit&)> edit;
    std::string expected;
};

void PrintTo(const RefusedCase& row, std::ostream* out) {
    *out << row.label;
}

class RefusedCharactersTest : public testing::TestWithParam<RefusedCase> {};

bool HoldsNothingRefused(const std::string& text) {
    return text.find_first_of(",;\r\n\x01\x7f") == std::string::npos;
}

TEST_P(RefusedCharactersTest, EditBringingARefusedCharacterInIsRefusedWhole) {
    const RefusedCase& row = GetParam();
    CountingWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    auto& field = Get<fw::TextField>(window, "EFName");
    QLineEdit& edit = Native<QLineEdit>(field);
    edit.setText("x;y");
    field.SetRefusedCharacters(",;");
    EXPECT_EQ(field.RefusedCharacters(), ",;");
    EXPECT_EQ(field.Text(), "xy");
    window.textsAtTextChange.clear();
    QSignalSpy heardByTheWidget(&edit, &QLineEdit::textChanged);
    field.SetText(row.start);
    field.SetFocus();
    edit.end(false);

    row.edit(edit);

    EXPECT_EQ(field.Text(), row.expected);
    // Neither the handlers nor anything else listening to the widget hear of
    // a text the field does not keep.
    for (const std::string& text : window.textsAtTextChange) {
        EXPECT_TRUE(HoldsNothingRefused(text)) << text;
    }
    for (const QList<QVariant>& heard : heardByTheWidget) {
        EXPECT_TRUE(HoldsNothingRefused(heard.at(0).toString().toStdString()));
    }
    ASSERT_FALSE(window.textsAtTextChange.empty());
    EXPECT_EQ(window.textsAtTextChange.back(), row.expected);
}

void Paste(QLineEdit& edit, const QString& text) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
}

// What an assistive tool does to replace the whole text.
void ReplaceByAssistiveTool(QLineEdit& edit, const QString& text) {
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(&edit);
    ASSERT_NE(field, nullptr);
    ASSERT_NE(field->editableTextInterface(), nullptr);
    field->editableTextInterface()->replaceText(0, static_cast<int>(edit.text().size()), text);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, RefusedCharactersTest,
    testing::Values(RefusedCase{"typed_refused_character", "1N4004",
                                [](QLineEdit& e) { QTest::keyClicks(&e, "a,b"); }, "1N4004ab"},
                    RefusedCase{"typed_other_characters", "",
                                [](QLineEdit& e) { QTest::keyClicks(&e, "x y"); }, "x y"},
                    RefusedCase{"pasted_text_with_a_refused_character", "12",
                                [](QLineEdit& e) { Paste(e, QStringLiteral("3;4")); }, "12"},
                    RefusedCase{"pasted_clean_text", "12",
                                [](QLineEdit& e) { Paste(e, QStringLiteral("34")); }, "1234"},
                    RefusedCase{"code_text_loses_its_refused_character", "a,b",
                                [](QLineEdit& e) { QTest::keyClicks(&e, "c"); }, "abc"},
                    RefusedCase{"deleting_after_code_text_lost_a_refused_character", "a,b",
                                [](QLineEdit& e) { QTest::keyClick(&e, Qt::Key_Backspace); }, "a"},
                    RefusedCase{"typing_one_after_code_text_lost_one", "a,b",
                                [](QLineEdit& e) { QTest::keyClicks(&e, ","); }, "ab"},
                    RefusedCase{"pasted_line_breaks_are_dropped", "12",
                                [](QLineEdit& e) { Paste(e, QStringLiteral("3\r\n4\n")); }, "1234"},
                    RefusedCase{"pasted_line_break_and_refused_character", "12",
                                [](QLineEdit& e) { Paste(e, QStringLiteral("3;\n")); }, "12"},
                    RefusedCase{"code_text_loses_its_line_break", "a\nb",
                                [](QLineEdit& e) { QTest::keyClicks(&e, "c"); }, "abc"},
                    RefusedCase{"pasted_control_characters_are_dropped_tab_kept", "12",
                                [](QLineEdit& e) { Paste(e, QStringLiteral("3\x01\t4\x7f")); },
                                "123\t4"},
                    RefusedCase{"set_on_the_widget_by_code", "12",
                                [](QLineEdit& e) { e.setText(QStringLiteral("3,3;0\x01\r\n0")); },
                                "3300"},
                    RefusedCase{"set_by_an_assistive_tool", "12",
                                [](QLineEdit& e) { ReplaceByAssistiveTool(e, "3,300\n"); }, "3300"},
                    RefusedCase{"inserted_by_code_like_a_paste", "12",
                                [](QLineEdit& e) { e.insert(QStringLiteral("3;4")); }, "12"},
                    RefusedCase{"pasted_text_longer_than_32767", "",
                                [](QLineEdit& e) { Paste(e, QString(40000, u'7')); },
                                std::string(40000, '7')}));

struct SelectionCase {
    const char* label;
    int start;
    int length;
    int selStart;
    int selLength;
    std::string selText;
};

void PrintTo(const SelectionCase& row, std::ostream* out) {
    *out << row.label;
}

class TextSelectionTest : public testing::TestWithParam<SelectionCase> {};

TEST_P(TextSelectionTest, SelectionIsClampedToTheText) {
    const SelectionCase& row = GetParam();
    CountingWindow window;
    window.Construct();
    auto& field = Get<fw::TextField>(window, "EFName");
    field.SetText("1N4004");
    field.SetSelStart(row.start);
    field.SetSelLength(row.length);
    EXPECT_EQ(field.SelStart(), row.selStart);
    EXPECT_EQ(field.SelLength(), row.selLength);
    EXPECT_EQ(field.SelText(), row.selText);
}

INSTANTIATE_TEST_SUITE_P(Selections, TextSelectionTest,
                         testing::Values(SelectionCase{"whole_text", 0, 6, 0, 6, "1N4004"},
                                         SelectionCase{"length_past_the_end", 0, 99, 0, 6,
                                                       "1N4004"},
                                         SelectionCase{"start_past_the_end", 999, 0, 6, 0, ""},
                                         SelectionCase{"middle", 2, 2, 2, 2, "40"},
                                         SelectionCase{"negative_start", -3, 1, 0, 1, "1"},
                                         SelectionCase{"negative_length", 2, -1, 2, 0, ""}));

TEST(ControlTest, GroupBoxLiesBeneathTheControlsInItsRectangle) {
    auto window = BuildWindow(TestDesign(),
                              {{ControlKind::RadioButton,
                                "CktTypeBTN",
                                0,
                                30,
                                40,
                                100,
                                20,
                                102,
                                {TextValue("Caption", "Bridge")}},
                               {ControlKind::GroupBox,
                                "GroupBox1",
                                fw::kNoIndex,
                                20,
                                10,
                                123,
                                137,
                                106,
                                {TextValue("Caption", "Circuit Type")}},
                               {ControlKind::RadioButton,
                                "CktTypeBTN",
                                1,
                                30,
                                70,
                                100,
                                20,
                                103,
                                {TextValue("Caption", "Full Wave"), BoolValue("Value", true)}}});
    ASSERT_TRUE(kelvara_test::ShowActive(*window));
    auto& bridge = Get<fw::RadioButton>(*window, "CktTypeBTN", 0);
    QWidget* content = window->ContentWidget();

    EXPECT_EQ(bridge.NativeWidget()->parentWidget(), content);
    EXPECT_EQ(content->childAt(QPoint(40, 50)), bridge.NativeWidget());
    QTest::mouseClick(bridge.NativeWidget(), Qt::LeftButton);
    EXPECT_TRUE(bridge.Value());
    EXPECT_FALSE(Get<fw::RadioButton>(*window, "CktTypeBTN", 1).Value());
}

// A canvas window that draws one line in its Paint handler.
class CanvasWindow : public kelvara_test::DesignedWindow {
public:
    CanvasWindow()
        : DesignedWindow(TestDesign(), {{ControlKind::Canvas,
                                         "Canvas1",
                                         fw::kNoIndex,
                                         20,
                                         30,
                                         100,
                                         60,
                                         17,
                                         {BoolValue("AcceptFocus", false)}}}) {
        InstallEventHandler("Open", fw::Delegate(this, &CanvasWindow::Bind));
    }
    int paints = 0;

private:
    void Bind() {
        FindControl("Canvas1")->InstallEventHandler("Paint",
                                                    fw::Delegate(this, &CanvasWindow::Paint));
    }
    void Paint(fw::Graphics& g) {
        ++paints;
        g.SetForeColor(fw::RGB(255, 0, 0));
        g.DrawLine(0, 50, 99, 50);
    }
};

TEST(ControlTest, CanvasErasesDrawsItsBackdropAndThenPaints) {
    CanvasWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    auto& canvas = Get<fw::Canvas>(window, "Canvas1");
    fw::Ref<fw::Picture> backdrop = fw::NewPicture(40, 20, 32);
    backdrop->SetTransparent(1);
    backdrop->Graphics().SetForeColor(fw::RGB(0, 0, 255));
    for (int y = 0; y < 10; ++y) {
        backdrop->Graphics().DrawLine(0, y, 39, y);
    }
    canvas.SetBackdrop(backdrop);
    EXPECT_EQ(canvas.Backdrop(), backdrop);
    EXPECT_EQ(&canvas.Graphics(), &canvas.Graphics());

    const QImage shot = canvas.NativeWidget()->grab().toImage();
    const QColor background = window.ContentWidget()->palette().color(QPalette::Window);
    EXPECT_GE(window.paints, 1);
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(0, 0, 255));   // backdrop
    EXPECT_EQ(shot.pixelColor(5, 15), background);         // its blank pixels
    EXPECT_EQ(shot.pixelColor(60, 5), background);         // beside it
    EXPECT_EQ(shot.pixelColor(30, 50), QColor(255, 0, 0)); // the Paint handler's line
    EXPECT_EQ(shot.pixelColor(30, 51), background);

    const int before = window.paints;
    canvas.Refresh();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.paints > before; }));
}

TEST(ControlTest, CanvasThatTakesNoFocusIsNeverFocused) {
    CanvasWindow window;
    window.Construct();
    ASSERT_TRUE(kelvara_test::ShowActive(window));
    auto& canvas = Get<fw::Canvas>(window, "Canvas1");
    QTest::mouseClick(canvas.NativeWidget(), Qt::LeftButton);
    EXPECT_FALSE(canvas.HasFocus());
    QTest::keyClick(window.NativeWidget(), Qt::Key_Tab);
    EXPECT_FALSE(canvas.HasFocus());
}

} // namespace
