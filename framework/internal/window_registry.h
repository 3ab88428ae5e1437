#pragma once

// Framework-internal: the book of windows, live and closed. Never included
// outside framework/.

namespace fw {
class Window;
}

namespace fw::internal {

// A window starts live when it is made and stays live until it closes.
void RegisterLiveWindow(Window& window);
// A closed window is no longer live, nor the shared instance of its class;
// a shared instance is deleted once the event loop has left the events that
// were being handled when it closed, so a window can close from inside one
// of its own handlers.
void RetireWindow(Window& window);
// A window that is being destroyed leaves every list.
void ForgetWindow(Window& window);

} // namespace fw::internal
