// The hook that the program's own loops call on every pass.

#include "framework/runtime.h"

#include <QCoreApplication>
#include <QEvent>

#include <chrono>

namespace fw {
namespace {

using Clock = std::chrono::steady_clock;

// How long pending repaints may wait while the program's own code runs: about
// 25 frames a second keeps a long computation visibly alive.
constexpr auto kRepaintInterval = std::chrono::milliseconds(40);

} // namespace

void RuntimeBackgroundTask() {
    static Clock::time_point lastRepaint{};
    static bool repainting = false;

    const Clock::time_point now = Clock::now();
    if (repainting || now - lastRepaint < kRepaintInterval) {
        return;
    }
    if (QCoreApplication::instance() == nullptr) {
        return;
    }
    lastRepaint = now;

    // A widget's update() posts one UpdateRequest to its top-level window,
    // which then repaints every dirty region of the window. Only those
    // requests are delivered here: input and every other posted event wait
    // for the event loop, so no handler runs inside the handler that called
    // this hook. A Paint handler that calls the hook itself does not recurse.
    struct Repainting {
        bool& flag;
        explicit Repainting(bool& f)
            : flag(f) {
            flag = true;
        }
        ~Repainting() { flag = false; }
    } scope(repainting);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

} // namespace fw
