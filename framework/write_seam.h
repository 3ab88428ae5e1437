#pragma once

// For tests only: a place in the writing of text files where a test can stop
// or kill the writer, as a crash or a power cut would.

#include <functional>
#include <string>

namespace fw {

// Runs, when set, once a TextOutputStream's new file is complete and has a
// name beside its target (the path it is given), right before it takes the
// target's place. A new file that goes to the target without ever having a
// name of its own never runs it.
inline std::function<void(const std::string& newFile)> WhileNewFileIsNamed;

} // namespace fw
