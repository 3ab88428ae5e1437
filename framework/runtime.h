#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>

namespace fw {

// Starts the runtime: the one QApplication of the process. Tests call it too.
void RuntimeInit(int& argc, char** argv);

// Initialises the framework and calls the start-up routine back. An exception
// out of the routine propagates to the caller.
void RunFrameworkInitialization(const std::function<void()>& startup);

// The event loop; returns when the application quits (at once when it
// already has).
void RuntimeRun();

// Ends the runtime and returns the process's exit status: the code given to
// Quit, or 1 after an unhandled exception that ended the program. The windows
// still there are destroyed and the QApplication goes, while Qt still stands;
// call it last, before main returns (test programs too). A second call only
// returns the status.
int RuntimeExit();

// The status that RuntimeExit would return now, without ending anything.
int RuntimeExitStatus();

// The framework's report of an exception that nobody handled: a visible
// message naming the exception's kind and message, also written to stderr.
// The program goes on.
void RuntimeUnhandledException(std::exception_ptr error);

struct UnhandledExceptionReport {
    std::string typeName; // "NilObjectException", "std::exception", ...
    std::string message;
};
// The latest report and the number of reports so far, for tests.
std::optional<UnhandledExceptionReport> LastUnhandledException();
int UnhandledExceptionCount();

// Called once per pass of every loop of the program's own code. Cheap; about
// every few tens of milliseconds it lets pending repaints happen. It never
// delivers user input, so no handler can run inside another.
void RuntimeBackgroundTask();

} // namespace fw
