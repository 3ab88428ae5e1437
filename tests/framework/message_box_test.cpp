// Warning boxes: over a window on screen the call waits for OK; asked for
// while the window opens, the box comes up once the window shows, and never
// over a window that closed or went away before that.

#include "framework/events.h"
#include "framework/message_box.h"
#include "framework/window.h"
#include "tests/support/kelvara_fixture.h"
#include "tests/support/test_process.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

namespace {

constexpr char kText[] = "The preferences file could not be read.";

// A window titled as the main window is; it can warn from its Open event,
// before it shows.
class WarningWindow : public fw::Window {
public:
    explicit WarningWindow(bool warnAtOpen)
        : warnAtOpen_(warnAtOpen) {
        SetTitle("Kelvara");
        InstallEventHandler("Open", fw::Delegate(this, &WarningWindow::Open));
    }

private:
    void Open() {
        if (warnAtOpen_) {
            fw::ShowWarning(*this, kText);
        }
    }

    bool warnAtOpen_;
};

// What happens to the owner after it was built, before the event loop runs.
enum class Before { Nothing, Close, Destroy };

struct WarningCase {
    const char* label;
    bool warnAtOpen; // else the warning comes once the window is on screen
    Before before;
    int answeredWithinCall; // boxes answered before the call returned
    int answeredAfterLoop;
};

void PrintTo(const WarningCase& row, std::ostream* out) {
    *out << row.label;
}

// Each test watches the boxes itself; afterwards they are answered as in
// every test (see test_main), so that no later box waits for a user.
class WarningBoxTest : public testing::TestWithParam<WarningCase> {
protected:
    void TearDown() override { testing_support::AnswerWarnings(); }
};

TEST_P(WarningBoxTest, ComesUpOverItsOwnerOnlyWhileTheOwnerStands) {
    const WarningCase& row = GetParam();
    std::unique_ptr<WarningWindow> window;
    int answered = 0;
    fw::SetWarningObserver([&](const std::string& text) {
        ++answered;
        ASSERT_NE(window, nullptr);
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->parentWidget(), window->NativeWidget());
        EXPECT_EQ(text, kText);
        EXPECT_EQ(box->text().toStdString(), text);
        EXPECT_EQ(box->windowTitle().toStdString(), "Kelvara");
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        ASSERT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->standardButton(box->buttons().front()), QMessageBox::Ok);
    });

    window = std::make_unique<WarningWindow>(row.warnAtOpen);
    window->Construct();
    if (!row.warnAtOpen) {
        fw::ShowWarning(*window, kText);
    }
    EXPECT_EQ(answered, row.answeredWithinCall);
    if (row.before == Before::Close) {
        window->Close();
    } else if (row.before == Before::Destroy) {
        window.reset();
    }
    // However busy the machine: the box due is waited for, and one that must
    // not come up had every round of the event loop it would have needed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered >= row.answeredAfterLoop; },
                                static_cast<int>(testing_support::kLongestWait.count())));
    EXPECT_TRUE(testing_support::RunPostedEvents());
    EXPECT_EQ(answered, row.answeredAfterLoop);
    // An answered box is gone, not merely hidden.
    if (window) {
        EXPECT_TRUE(window->NativeWidget()->findChildren<QMessageBox*>().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Owners, WarningBoxTest,
    testing::Values(
        WarningCase{"shown_owner_waits_for_ok", false, Before::Nothing, 1, 1},
        WarningCase{"opening_owner_gets_the_box_once_shown", true, Before::Nothing, 0, 1},
        WarningCase{"owner_closed_before_the_loop_gets_none", true, Before::Close, 0, 0},
        WarningCase{"owner_destroyed_before_the_loop_gets_none", true, Before::Destroy, 0, 0}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
