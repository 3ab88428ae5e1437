#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace fw {

class Window;

// Tells the user of a problem in a warning box over `owner`: a warning icon,
// the owner's title (the application's name on its main window) as the
// box's title, the text and one OK button, modal to the owner.
// - While the owner is on screen, the call returns once the user has
//   pressed OK.
// - While the owner is not shown yet (its Open event), the call returns at
//   once and the box comes up over the owner as soon as the event loop
//   runs; it never comes up once the owner is closed or gone.
void ShowWarning(const Window& owner, std::string_view text);

// For tests, which must never wait on a box: while set, each box is shown
// as above, the observer is called with its text while it is on screen, and
// the box is then answered with OK. An empty observer ends this; boxes then
// wait for the user again.
void SetWarningObserver(std::function<void(const std::string& text)> observer);

} // namespace fw
