// The hook that the program's own loops call on every pass.

#include "framework/runtime.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>

#include <algorithm>
#include <chrono>

namespace fw {
namespace {

using Clock = std::chrono::steady_clock;

// How long pending repaints may wait while the program's own code runs: about
// 25 frames a second keeps a long computation visibly alive.
constexpr auto kRepaintInterval = std::chrono::milliseconds(40);

// Reading the clock costs many times the arithmetic of a loop pass, so the
// hook reads it only every so many calls: as many as keep two readings about
// this far apart, a small share of the repaint interval.
constexpr auto kReadingSpacing = std::chrono::milliseconds(1);
// The most calls between two readings (calls).
constexpr int kMostCallsBetweenReadings = 256;

struct HookState {
    int callsBeforeReading = 0; // calls that return at once before the next reading
    int callsBetweenReadings = 1;
    Clock::time_point lastReading{};
    Clock::time_point lastRepaint{};
    bool repainting = false;
};

HookState hook;

// Once Qt has delivered an event, the code that calls the hook next may be a
// different loop at a different pace: its first call reads the clock, and the
// spacing of readings is learnt afresh.
class FreshStartOnEvents final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* /*event*/) override {
        hook.callsBeforeReading = 0;
        hook.callsBetweenReadings = 1;
        return false; // every event goes on to where it was going
    }
};

void WatchDeliveredEvents(QCoreApplication& app) {
    static QPointer<FreshStartOnEvents> filter;
    if (filter.isNull()) {
        filter = new FreshStartOnEvents(&app); // goes with the application
        app.installEventFilter(filter);
    }
}

// Spaces the readings by the pace of the calls: twice as many calls while the
// readings come sooner than kReadingSpacing, every call once they come later.
void PlanNextReading(Clock::time_point now) {
    if (now - hook.lastReading < kReadingSpacing) {
        hook.callsBetweenReadings =
            std::min(2 * hook.callsBetweenReadings, kMostCallsBetweenReadings);
    } else {
        hook.callsBetweenReadings = 1;
    }
    hook.lastReading = now;
    hook.callsBeforeReading = hook.callsBetweenReadings - 1;
}

} // namespace

void RuntimeBackgroundTask() {
    if (hook.callsBeforeReading > 0) {
        --hook.callsBeforeReading;
        return;
    }
    // A Paint handler that calls the hook itself does not recurse, and its
    // calls do not count.
    QCoreApplication* app = QCoreApplication::instance();
    if (hook.repainting || app == nullptr) {
        return;
    }
    WatchDeliveredEvents(*app);

    const Clock::time_point now = Clock::now();
    PlanNextReading(now);
    if (now - hook.lastRepaint < kRepaintInterval) {
        return;
    }
    hook.lastRepaint = now;

    // A widget's update() posts one UpdateRequest to its top-level window,
    // which then repaints every dirty region of the window. Only those
    // requests are delivered here: input and every other posted event wait
    // for the event loop, so no handler runs inside the handler that called
    // this hook.
    struct Repainting {
        bool& flag;
        explicit Repainting(bool& f)
            : flag(f) {
            flag = true;
        }
        ~Repainting() { flag = false; }
    } scope(hook.repainting);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

} // namespace fw
