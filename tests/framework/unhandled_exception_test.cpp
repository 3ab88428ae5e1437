// The report of exceptions that nobody handled: every kind of exception is
// named with its message, on screen without blocking and on stderr, and the
// report itself never fails.

#include "framework/exceptions.h"
#include "framework/internal/qt_bridge.h"
#include "framework/runtime.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A system's own failure kind whose naming itself fails.
class BrokenNameException : public fw::RuntimeException {
public:
    BrokenNameException()
        : fw::RuntimeException("broken name") {}
    std::string TypeName() const override { throw std::logic_error("no name"); }
};

struct ReportCase {
    const char* label;
    std::function<std::exception_ptr()> make;
    std::string typeName;
    std::string message;
};

// Names the rows in test names and failure messages.
void PrintTo(const ReportCase& row, std::ostream* out) {
    *out << row.label;
}

template <class E, class... Args>
std::function<std::exception_ptr()> Thrown(Args... args) {
    return [=] { return std::make_exception_ptr(E(args...)); };
}

const std::vector<ReportCase>& ReportCases() {
    static const std::vector<ReportCase> cases = {
        {"NilObject", Thrown<fw::NilObjectException>("no control EFLoadR"), "NilObjectException",
         "no control EFLoadR"},
        {"OutOfBounds", Thrown<fw::OutOfBoundsException>("index 10 outside 0 to 9"),
         "OutOfBoundsException", "index 10 outside 0 to 9"},
        {"FunctionNotFound",
         Thrown<fw::FunctionNotFoundException>("HMSetHelpTagsDisplayed", "Carbon.framework"),
         "FunctionNotFoundException",
         "function 'HMSetHelpTagsDisplayed' not found in 'Carbon.framework'"},
        {"RuntimeBase", Thrown<fw::RuntimeException>("plain failure"), "RuntimeException",
         "plain failure"},
        {"BrokenTypeName", Thrown<BrokenNameException>(), "RuntimeException", "broken name"},
        {"StdRuntimeError", Thrown<std::runtime_error>("disk full"), "std::exception", "disk full"},
        {"StdOutOfRange", Thrown<std::out_of_range>("vector index"), "std::exception",
         "vector index"},
        {"NotAnException", [] { return std::make_exception_ptr(42); }, "unknown exception", ""},
        {"NullPointer", [] { return std::exception_ptr(); }, "unknown exception",
         "no exception was given to the report"},
    };
    return cases;
}

std::vector<QMessageBox*> VisibleReports() {
    std::vector<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box != nullptr && box->isVisible()) {
            boxes.push_back(box);
        }
    }
    return boxes;
}

class UnhandledExceptionReport : public testing::TestWithParam<ReportCase> {
protected:
    void TearDown() override {
        for (QMessageBox* box : VisibleReports()) {
            box->close();
        }
    }
};

TEST_P(UnhandledExceptionReport, NamesKindAndMessageOnScreenAndStderr) {
    const ReportCase& row = GetParam();
    const int before = fw::UnhandledExceptionCount();

    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(fw::RuntimeUnhandledException(row.make()));
    const std::string written = testing::internal::GetCapturedStderr();

    EXPECT_EQ(fw::UnhandledExceptionCount(), before + 1);
    const auto last = fw::LastUnhandledException();
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->typeName, row.typeName);
    EXPECT_EQ(last->message, row.message);

    EXPECT_NE(written.find("Unhandled exception: " + row.typeName), std::string::npos) << written;
    EXPECT_NE(written.find(row.message), std::string::npos) << written;

    const std::vector<QMessageBox*> boxes = VisibleReports();
    ASSERT_EQ(boxes.size(), 1u);
    const QString shown = boxes.front()->informativeText();
    EXPECT_TRUE(shown.contains(QString::fromStdString(row.typeName))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QString::fromStdString(row.message))) << shown.toStdString();
    // The report must not hold up the program: no modal dialog waits.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(boxes.front()->isModal());
}

INSTANTIATE_TEST_SUITE_P(EveryKind, UnhandledExceptionReport, testing::ValuesIn(ReportCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(UnhandledExceptionReports, HandlerFailuresAreCountedAndTheProgramGoesOn) {
    const int before = fw::UnhandledExceptionCount();
    for (int i = 0; i < 3; ++i) {
        fw::internal::ReportHandlerException(
            std::make_exception_ptr(fw::NilObjectException("handler " + std::to_string(i))));
    }
    EXPECT_EQ(fw::UnhandledExceptionCount(), before + 3);
    EXPECT_EQ(fw::LastUnhandledException()->message, "handler 2");
    EXPECT_EQ(VisibleReports().size(), 3u);
    // A handler's failure does not end the program: the exit status stays 0.
    EXPECT_EQ(fw::RuntimeExitStatus(), 0);
    for (QMessageBox* box : VisibleReports()) {
        box->close();
    }
}

// A widget whose handling of one event fails.
class FailingWidget : public QWidget {
protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            throw fw::NilObjectException("no WavePict");
        }
        return QWidget::event(event);
    }
};

TEST(UnhandledExceptionReports, FailureOutOfAnEventHandlerIsReportedAndTheProgramGoesOn) {
    FailingWidget widget;
    QEvent failing(QEvent::User);
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(QApplication::sendEvent(&widget, &failing));
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(fw::UnhandledExceptionCount(), 1);
    EXPECT_EQ(fw::LastUnhandledException()->typeName, "NilObjectException");
    EXPECT_EQ(fw::LastUnhandledException()->message, "no WavePict");

    // The widget goes on handling its other events.
    widget.resize(40, 30);
    widget.show();
    EXPECT_TRUE(widget.isVisible());
    EXPECT_EQ(fw::RuntimeExitStatus(), 0);
}

TEST(UnhandledExceptionReports, FailureOutOfAClickHandlerIsReported) {
    QPushButton button("Plot");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] {
        ++clicks;
        throw fw::OutOfBoundsException("row 10 of 10");
    });
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    testing::internal::CaptureStderr();
    {
#if defined(__SANITIZE_ADDRESS__)
        // Qt abandons its own event objects when an exception unwinds
        // through its dispatch; those are Qt's leaks, not the framework's.
        __lsan::ScopedDisabler qtUnwinding;
#endif
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(fw::UnhandledExceptionCount(), 2);
    EXPECT_EQ(fw::LastUnhandledException()->typeName, "OutOfBoundsException");
}

TEST(UnhandledExceptionReports, NoReportBeforeAnyFailure) {
    EXPECT_EQ(fw::UnhandledExceptionCount(), 0);
    EXPECT_FALSE(fw::LastUnhandledException().has_value());
}

} // namespace
