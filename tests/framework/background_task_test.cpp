// The background-task hook lets pending repaints happen while the program's
// own code runs, and delivers nothing else: no input, no queued call.

#include "framework/runtime.h"
#include "tests/support/test_process.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <ostream>
#include <thread>
#include <vector>

namespace {

// The hook's repaint interval, and a time longer than it, so that the next
// call may repaint.
constexpr auto kRepaintInterval = std::chrono::milliseconds(40);
constexpr auto kPastRepaintInterval = std::chrono::milliseconds(60);

// A child widget that counts what reaches it.
class Recorder : public QWidget {
public:
    using QWidget::QWidget;
    int paints = 0;
    std::map<QEvent::Type, int> received;

protected:
    bool event(QEvent* event) override {
        ++received[event->type()];
        return QWidget::event(event);
    }
    void paintEvent(QPaintEvent*) override {
        ++paints;
        QPainter(this).fillRect(rect(), Qt::white);
    }
};

class BackgroundTask : public testing::Test {
protected:
    void SetUp() override {
        window.resize(200, 100);
        recorder = new Recorder(&window);
        recorder->setGeometry(10, 10, 100, 50);
        recorder->setFocusPolicy(Qt::StrongFocus);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        recorder->paints = 0;
        recorder->received.clear();
    }

    // Calls the hook the way a long computation does: many times in a row,
    // across more than one repaint interval.
    static void RunComputation() {
        for (int pass = 0; pass < 3; ++pass) {
            std::this_thread::sleep_for(kPastRepaintInterval);
            for (int i = 0; i < 10000; ++i) {
                fw::RuntimeBackgroundTask();
            }
        }
    }

    QWidget window;
    Recorder* recorder = nullptr;
};

TEST_F(BackgroundTask, PaintsPendingUpdateOnceTheIntervalHasPassed) {
    recorder->update();
    EXPECT_EQ(recorder->paints, 0);
    std::this_thread::sleep_for(kPastRepaintInterval);
    fw::RuntimeBackgroundTask();
    EXPECT_EQ(recorder->paints, 1);

    // Nothing left to paint: more calls paint nothing more.
    RunComputation();
    EXPECT_EQ(recorder->paints, 1);

    recorder->update();
    RunComputation();
    EXPECT_EQ(recorder->paints, 2);
}

// However often the hook is called and updates are posted, repaints come at
// most once per interval, and they keep coming while the computation runs.
TEST_F(BackgroundTask, RepaintsAtMostOncePerIntervalWhileTheComputationRuns) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    // A busy machine may take the processor away for intervals on end: the
    // loop goes on until two repaints have come, within a generous bound.
    const auto running = [&] {
        const auto elapsed = Clock::now() - start;
        return elapsed < 5 * kRepaintInterval ||
               (recorder->paints < 2 && elapsed < testing_support::kLongestWait);
    };
    while (running()) {
        recorder->update();
        for (int i = 0; i < 100; ++i) {
            fw::RuntimeBackgroundTask();
        }
    }
    const auto elapsed = Clock::now() - start;
    EXPECT_LE(recorder->paints, elapsed / kRepaintInterval + 1);
    EXPECT_GE(recorder->paints, 2);
}

// A loop whose passes take milliseconds is repainted as often as a fast one:
// the hook does not wait for hundreds of calls before it looks at the clock.
TEST_F(BackgroundTask, SlowLoopsAreRepaintedEveryInterval) {
    constexpr auto kSlowPass = std::chrono::milliseconds(2);
    constexpr int kPaints = 3;
    // Passes enough for the first repaint and two intervals after it, each
    // pass taking at least kSlowPass, with room to spare.
    constexpr int kMostPasses = kPaints * (kRepaintInterval / kSlowPass + 2);
    int passes = 0;
    while (recorder->paints < kPaints && passes < 10 * kMostPasses) {
        std::this_thread::sleep_for(kSlowPass);
        recorder->update();
        fw::RuntimeBackgroundTask();
        ++passes;
    }
    EXPECT_EQ(recorder->paints, kPaints);
    EXPECT_LE(passes, kMostPasses);
}

// Once the event loop has run, the next call looks at the clock, however
// seldom the many fast calls before it did.
TEST_F(BackgroundTask, FirstCallAfterTheEventLoopRepaintsWhatIsDue) {
    for (int i = 0; i < 100000; ++i) {
        fw::RuntimeBackgroundTask();
    }
    QCoreApplication::postEvent(recorder, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    recorder->update();
    std::this_thread::sleep_for(kPastRepaintInterval);
    fw::RuntimeBackgroundTask();
    EXPECT_EQ(recorder->paints, 1);
}

TEST_F(BackgroundTask, DoesNothingWithoutPendingWork) {
    RunComputation();
    EXPECT_EQ(recorder->paints, 0);
    EXPECT_TRUE(recorder->received.empty());
}

struct PostedEventCase {
    const char* label;
    QEvent::Type type;
    std::function<QEvent*()> make;
};

void PrintTo(const PostedEventCase& row, std::ostream* out) {
    *out << row.label;
}

const std::vector<PostedEventCase>& PostedEventCases() {
    static const QPointF at(5, 5);
    static const std::vector<PostedEventCase> cases = {
        {"KeyPress", QEvent::KeyPress,
         [] { return new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"); }},
        {"KeyRelease", QEvent::KeyRelease,
         [] { return new QKeyEvent(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a"); }},
        {"MousePress", QEvent::MouseButtonPress,
         [] {
             return new QMouseEvent(QEvent::MouseButtonPress, at, at, Qt::LeftButton,
                                    Qt::LeftButton, Qt::NoModifier);
         }},
        {"MouseRelease", QEvent::MouseButtonRelease,
         [] {
             return new QMouseEvent(QEvent::MouseButtonRelease, at, at, Qt::LeftButton,
                                    Qt::NoButton, Qt::NoModifier);
         }},
        {"MouseDoubleClick", QEvent::MouseButtonDblClick,
         [] {
             return new QMouseEvent(QEvent::MouseButtonDblClick, at, at, Qt::LeftButton,
                                    Qt::LeftButton, Qt::NoModifier);
         }},
        {"Wheel", QEvent::Wheel,
         [] {
             return new QWheelEvent(at, at, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                                    Qt::NoScrollPhase, false);
         }},
        {"Custom", QEvent::User, [] { return new QEvent(QEvent::User); }},
    };
    return cases;
}

class BackgroundTaskInput : public BackgroundTask,
                            public testing::WithParamInterface<PostedEventCase> {};

TEST_P(BackgroundTaskInput, WaitsForTheEventLoopWhileRepaintsGoThrough) {
    const PostedEventCase& row = GetParam();
    QCoreApplication::postEvent(recorder, row.make());
    recorder->update();

    RunComputation();
    EXPECT_EQ(recorder->paints, 1) << "the pending repaint happens during the computation";
    EXPECT_EQ(recorder->received[row.type], 0) << "delivered during the computation";

    QCoreApplication::processEvents();
    EXPECT_EQ(recorder->received[row.type], 1) << "the event loop delivers it afterwards";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, BackgroundTaskInput, testing::ValuesIn(PostedEventCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(BackgroundTask, QueuedCallsAndKeyClicksWaitForTheEventLoop) {
    int calls = 0;
    QMetaObject::invokeMethod(
        recorder, [&calls] { ++calls; }, Qt::QueuedConnection);
    // A key typed through the platform while the computation runs arrives as
    // a posted event on the focused widget.
    recorder->setFocus();
    QCoreApplication::postEvent(QApplication::focusWidget(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));

    RunComputation();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(recorder->received[QEvent::KeyPress], 0);

    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(recorder->received[QEvent::KeyPress], 1);
}

// A Paint handler that itself runs a loop calls the hook from inside the
// repaint; meanwhile another window waits for its repaint. That inner call
// must not paint the other window inside this handler.
class LoopingPainter : public QWidget {
public:
    using QWidget::QWidget;
    QWidget* other = nullptr; // updated from inside this widget's paint
    int paints = 0;
    int paintsInsideAnother = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        ++paints;
        if (painting_ > 0) {
            ++paintsInsideAnother;
        }
        ++painting_;
        if (other != nullptr) {
            other->update();
            std::this_thread::sleep_for(kPastRepaintInterval);
            fw::RuntimeBackgroundTask();
        }
        --painting_;
    }

private:
    static inline int painting_ = 0;
};

TEST(BackgroundTaskReentry, PaintHandlerCallingTheHookPaintsNothingInside) {
    QWidget first;
    QWidget second;
    auto* looping = new LoopingPainter(&first);
    auto* waiting = new LoopingPainter(&second);
    for (QWidget* window : {&first, &second}) {
        window->resize(100, 100);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    looping->setGeometry(0, 0, 50, 50);
    waiting->setGeometry(0, 0, 50, 50);
    QCoreApplication::processEvents();
    looping->other = waiting;
    looping->paints = 0;
    waiting->paints = 0;

    looping->update();
    std::this_thread::sleep_for(kPastRepaintInterval);
    fw::RuntimeBackgroundTask();
    EXPECT_EQ(looping->paints, 1);
    EXPECT_EQ(waiting->paintsInsideAnother, 0);

    // The other window's repaint is not lost: the next pass paints it.
    looping->other = nullptr;
    std::this_thread::sleep_for(kPastRepaintInterval);
    fw::RuntimeBackgroundTask();
    EXPECT_EQ(waiting->paints, 1);
}

} // namespace
