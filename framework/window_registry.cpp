#include "framework/internal/window_registry.h"

#include "framework/internal/qt_bridge.h"
#include "framework/window.h"

#include <QCoreApplication>
#include <QObject>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace fw {
namespace {

struct ImplicitEntry {
    std::type_index type;
    Window* window;
};

// Every window the process knows of. Shared instances are owned here, from
// their creation until some time after they close.
class WindowBook {
public:
    // The book is never destroyed. Once the process has begun to end, Qt's
    // own global state may be gone already and deleting a window that was
    // ever shown would crash; windows alive at that point are left to the
    // operating system, reachable from here.
    static WindowBook& Get() {
        static auto* book = new WindowBook;
        return *book;
    }

    WindowBook(const WindowBook&) = delete;
    WindowBook& operator=(const WindowBook&) = delete;

    std::vector<Window*> live;
    std::vector<ImplicitEntry> implicit;
    std::vector<std::unique_ptr<Window>> owned;
    // One deferred-delete object per closed shared instance; deleting it
    // deletes the window.
    std::vector<QObject*> reapers;

    void Adopt(std::type_index type, std::unique_ptr<Window> window) {
        implicit.push_back({type, window.get()});
        owned.push_back(std::move(window));
    }

    void Retire(Window& window) {
        std::erase(live, &window);
        std::erase_if(implicit, [&](const ImplicitEntry& e) { return e.window == &window; });
        const bool ownedHere = std::any_of(owned.begin(), owned.end(),
                                           [&](const auto& held) { return held.get() == &window; });
        if (!ownedHere) {
            return;
        }
        // deleteLater waits until control is back in the event loop that was
        // running when the window closed, never inside a handler still on the
        // stack, even when that handler lets pending events run.
        auto* reaper = new QObject;
        Window* target = &window;
        QObject::connect(reaper, &QObject::destroyed, [this, reaper, target] {
            std::erase(reapers, reaper);
            Destroy(target);
        });
        reapers.push_back(reaper);
        reaper->deleteLater();
    }

    void Forget(Window& window) {
        std::erase(live, &window);
        std::erase_if(implicit, [&](const ImplicitEntry& e) { return e.window == &window; });
    }

    void Destroy(Window* window) {
        const auto held = std::find_if(owned.begin(), owned.end(),
                                       [&](const auto& entry) { return entry.get() == window; });
        if (held == owned.end()) {
            return;
        }
        // Out of the list first: the window's destructor forgets itself.
        std::unique_ptr<Window> doomed = std::move(*held);
        owned.erase(held);
        doomed.reset();
    }

    // Widgets must go while the application still stands: when the
    // application object is destroyed, the book empties itself first.
    void DestroyAll() {
        while (!reapers.empty()) {
            delete reapers.back(); // its destroyed signal destroys the window
        }
        while (!owned.empty()) {
            Destroy(owned.back().get());
        }
    }

private:
    WindowBook() {
        qAddPostRoutine([] { WindowBook::Get().DestroyAll(); });
    }
};

} // namespace

namespace internal {

void RegisterLiveWindow(Window& window) {
    WindowBook::Get().live.push_back(&window);
}
void RetireWindow(Window& window) {
    WindowBook::Get().Retire(window);
}
void ForgetWindow(Window& window) {
    WindowBook::Get().Forget(window);
}

void CloseAllWindows() {
    // Closing runs handlers that may close or open windows themselves; a
    // window already closed on the way is passed over.
    const std::vector<Window*> windows = WindowBook::Get().live;
    for (Window* window : windows) {
        const auto& live = WindowBook::Get().live;
        if (std::find(live.begin(), live.end(), window) != live.end()) {
            window->Close();
        }
    }
}

} // namespace internal

namespace detail {

Window* FindImplicitWindow(std::type_index type) {
    for (const ImplicitEntry& entry : WindowBook::Get().implicit) {
        if (entry.type == type) {
            return entry.window;
        }
    }
    return nullptr;
}

void AdoptImplicitWindow(std::type_index type, std::unique_ptr<Window> window) {
    WindowBook::Get().Adopt(type, std::move(window));
}

} // namespace detail

std::vector<Window*> LiveWindows() {
    return WindowBook::Get().live;
}

} // namespace fw
