#pragma once

// For tests only: places in the writing of text files, and in the removal of
// what killed writers left, where a test can stop or kill the writer, as a
// crash or a power cut would, or do what another process could do at that
// moment. Each costs the code a test of an empty function while no test sets
// it.

#include <functional>
#include <string>

namespace fw {

// Runs, when set, once a TextOutputStream's new file is complete and has a
// name beside its target (the path it is given), right before it takes the
// target's place. A new file that goes to the target without ever having a
// name of its own never runs it.
inline std::function<void(const std::string& newFile)> WhileNewFileIsNamed;

// Runs, when set, once a new file that has a name from the start (where no
// nameless one is made) has been made under it (the path it is given), right
// before its writer locks it: a remover of leftovers may lock it first, and
// anyone may rename it or put another file under its name.
inline std::function<void(const std::string& newFile)> WhileNamedNewFileIsUnlocked;

// Runs, when set, once RemoveLeftoverWrites holds the lock of a file under a
// new file's name (the path it is given), right before it makes sure that the
// name still names that file and removes it: the name may have gone to
// another file meanwhile.
inline std::function<void(const std::string& leftover)> WhileLeftoverIsLocked;

} // namespace fw
