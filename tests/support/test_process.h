#pragma once

// Tests that need a second process run this test program again: the child
// runs one disabled test, told by an environment variable where to work.

#include <QProcess>

#include <chrono>
#include <memory>
#include <string>

namespace testing_support {

// How long a test waits for what it expects, from another process or from
// the event loop, before it fails: far more than a busy machine needs.
inline constexpr std::chrono::milliseconds kLongestWait = std::chrono::minutes(1);

// Starts this test program running only the (disabled) test `test`, with
// `variable` set to `value` in its environment; its output goes to ours.
std::unique_ptr<QProcess> StartThisProgram(const char* test, const char* variable,
                                           const std::string& value);

// Waits up to a minute for a file that another process makes; false if it
// never came.
bool WaitForFile(const std::string& path);

} // namespace testing_support
