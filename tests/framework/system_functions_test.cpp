// System functions looked up by name and signature, and the application-wide
// help-tag switch that one of them controls.

#include "framework/exceptions.h"
#include "framework/system_functions.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kHelpTags = "HMSetHelpTagsDisplayed";
constexpr const char* kCarbon = "Carbon.framework";

struct LookupCase {
    const char* label;
    std::function<bool()> found; // looks the function up; true when one came back
    bool expected;
};

void PrintTo(const LookupCase& row, std::ostream* out) {
    *out << row.label;
}

template <class Signature>
std::function<bool()> Lookup(std::string name, std::string library) {
    return [=] {
        return static_cast<bool>(fw::LoadFunctionPointerFromLibrary<Signature>(name, library));
    };
}

const std::vector<LookupCase>& LookupCases() {
    static const std::vector<LookupCase> cases = {
        {"HelpTagSwitch", Lookup<int(bool)>(kHelpTags, kCarbon), true},
        {"UnknownFunction", Lookup<int(bool)>("HMGetHelpMenu", kCarbon), false},
        {"UnknownLibrary", Lookup<int(bool)>(kHelpTags, "Cocoa.framework"), false},
        {"LibraryWithoutSuffix", Lookup<int(bool)>(kHelpTags, "Carbon"), false},
        {"NameInOtherCase", Lookup<int(bool)>("hmsethelptagsdisplayed", kCarbon), false},
        {"EmptyName", Lookup<int(bool)>("", kCarbon), false},
        {"EmptyLibrary", Lookup<int(bool)>(kHelpTags, ""), false},
        {"NameAndLibrarySwapped", Lookup<int(bool)>(kCarbon, kHelpTags), false},
        {"OtherResultType", Lookup<void(bool)>(kHelpTags, kCarbon), false},
        {"OtherArgumentType", Lookup<int(int)>(kHelpTags, kCarbon), false},
        {"NoArgument", Lookup<int()>(kHelpTags, kCarbon), false},
    };
    return cases;
}

class FunctionLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(FunctionLookup, FindsOnlyTheRegisteredNameLibraryAndSignature) {
    const LookupCase& row = GetParam();
    EXPECT_EQ(row.found(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FunctionLookup, testing::ValuesIn(LookupCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(FunctionRegistration, OfferedFunctionIsFoundAndALaterOneReplacesIt) {
    fw::RegisterLibraryFunction<double(double, double)>("hypot", "libm",
                                                        [](double a, double b) { return a + b; });
    auto first = fw::LoadFunctionPointerFromLibrary<double(double, double)>("hypot", "libm");
    ASSERT_TRUE(first);
    EXPECT_EQ(first(2, 3), 5);

    fw::RegisterLibraryFunction<double(double, double)>("hypot", "libm",
                                                        [](double a, double b) { return a * b; });
    auto second = fw::LoadFunctionPointerFromLibrary<double(double, double)>("hypot", "libm");
    ASSERT_TRUE(second);
    EXPECT_EQ(second(2, 3), 6);
    // A copy taken before lives on unchanged.
    EXPECT_EQ(first(2, 3), 5);
}

TEST(FunctionRegistration, MissingFunctionExceptionNamesFunctionAndLibrary) {
    const fw::FunctionNotFoundException missing(kHelpTags, kCarbon);
    const std::string message = missing.what();
    EXPECT_NE(message.find(kHelpTags), std::string::npos) << message;
    EXPECT_NE(message.find(kCarbon), std::string::npos) << message;
    EXPECT_EQ(missing.Function(), kHelpTags);
    EXPECT_EQ(missing.Library(), kCarbon);
    EXPECT_EQ(missing.TypeName(), "FunctionNotFoundException");
}

TEST(HelpTagFunction, SwitchesHelpTagsAndAnswersZero) {
    auto setHelpTags = fw::LoadFunctionPointerFromLibrary<int(bool)>(kHelpTags, kCarbon);
    ASSERT_TRUE(setHelpTags);
    EXPECT_EQ(setHelpTags(false), 0);
    EXPECT_FALSE(fw::HelpTagsDisplayed());
    EXPECT_EQ(setHelpTags(true), 0);
    EXPECT_TRUE(fw::HelpTagsDisplayed());
}

// A sequence of switches, through the setter or through the looked-up
// system function, and whether a control's help tag shows afterwards.
struct HelpTagCase {
    const char* label;
    std::vector<bool> switches;
    bool throughLibrary;
    bool shown;
};

void PrintTo(const HelpTagCase& row, std::ostream* out) {
    *out << row.label;
}

const std::vector<HelpTagCase>& HelpTagCases() {
    static const std::vector<HelpTagCase> cases = {
        {"InitiallyOn", {}, false, true},
        {"Off", {false}, false, false},
        {"OffThroughLibrary", {false}, true, false},
        {"OffThenOn", {false, true}, false, true},
        {"OffThenOnThroughLibrary", {false, true}, true, true},
        {"OnTwice", {true, true}, false, true},
        {"OffTwiceThenOn", {false, false, true}, false, true},
        {"OnOffOnOff", {true, false, true, false}, true, false},
    };
    return cases;
}

class HelpTags : public testing::TestWithParam<HelpTagCase> {
protected:
    void TearDown() override {
        fw::SetHelpTagsDisplayed(true);
        QToolTip::hideText();
    }

    static void Switch(bool displayed, bool throughLibrary) {
        if (throughLibrary) {
            fw::LoadFunctionPointerFromLibrary<int(bool)>(kHelpTags, kCarbon)(displayed);
        } else {
            fw::SetHelpTagsDisplayed(displayed);
        }
    }

    // What the window system sends when the mouse rests over a control.
    static void HoverLong(QWidget& widget) {
        const QPoint inside(5, 5);
        QHelpEvent request(QEvent::ToolTip, inside, widget.mapToGlobal(inside));
        QApplication::sendEvent(&widget, &request);
    }
};

TEST_P(HelpTags, ControlShowsItsHelpTagOnlyWhileSwitchedOn) {
    const HelpTagCase& row = GetParam();
    QLineEdit field;
    field.setToolTip("Load resistance in ohms");
    field.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));

    for (bool displayed : row.switches) {
        Switch(displayed, row.throughLibrary);
    }
    EXPECT_EQ(fw::HelpTagsDisplayed(), row.shown);

    // A control created after the switch follows it as well.
    QLineEdit later;
    later.setToolTip("Line frequency");
    later.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&later));

    for (QLineEdit* control : {&field, &later}) {
        QToolTip::hideText();
        ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
        HoverLong(*control);
        EXPECT_EQ(QToolTip::isVisible(), row.shown);
        if (row.shown) {
            EXPECT_EQ(QToolTip::text(), control->toolTip());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Switches, HelpTags, testing::ValuesIn(HelpTagCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(HelpTagSwitch, SwitchingOffHidesAHelpTagOnScreen) {
    QLineEdit field;
    field.setToolTip("Capacitance in microfarads");
    field.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));
    QHelpEvent request(QEvent::ToolTip, QPoint(2, 2), field.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&field, &request);
    ASSERT_TRUE(QToolTip::isVisible());

    fw::SetHelpTagsDisplayed(false);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    fw::SetHelpTagsDisplayed(true);
}

} // namespace
