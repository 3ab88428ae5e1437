#pragma once

// The process-wide state that start-up, the event loop, quitting and the
// unhandled-exception report share. Never included outside framework/.

namespace fw::internal {

struct RuntimeState {
    bool loopRunning = false;      // RuntimeRun is inside the event loop
    bool quitRequested = false;    // Quit has been called
    bool quitInProgress = false;   // Quit is closing the windows right now
    int quitCode = 0;              // the code given to Quit
    bool endedByException = false; // an exception escaped start-up or the loop
};

RuntimeState& Runtime();

// Creates the one QApplication of the process unless it exists already.
void EnsureApplication(int& argc, char** argv);

// When an exception ended the program and its report is on an interactive
// screen, waits until the user dismisses the report, so that the program does
// not vanish before its failure could be read. Returns at once when headless.
void WaitForFatalReport();

// Deletes the report boxes still on screen; the runtime is ending.
void DeleteReports();

} // namespace fw::internal
