#pragma once

// The preferences file as the program reads it, at start and again when it
// saves: what it holds, or why it could not be read.

#include "prefs/library_merge.h"

#include "framework/files.h"

#include <optional>
#include <string>

namespace prefs {

struct StoredPreferences {
    std::string settingsRow;
    DiodeRows diodeRows;
};

struct PreferencesRead {
    std::optional<StoredPreferences> stored; // none when missing or unreadable
    fw::ReadProblem problem = fw::ReadProblem::None;
    std::string reason; // the problem in words
    fw::FileVersion version;
};

// "KelvaraPrefs.txt" in the preferences folder; none without that folder
// (fw::SpecialFolder::PreferencesProblem says why).
fw::Ref<fw::FolderItem> PreferencesFile();

// The file's absolute path as messages and the lock name it: without the
// separator that the path of a folder standing in its place would end with.
std::string PathOf(const fw::FolderItem& file);

// The settings row, then every further line as a diode row, an empty line
// included. A control character (an escape or a form feed that an older
// version stored from a paste) is dropped from the field it stands in, and
// the rest of the line keeps its fields.
PreferencesRead ReadPreferences(const fw::Ref<fw::FolderItem>& file);

// The library that stored rows stand for: a file without a single diode
// row, like no file at all, stands for the built-in diodes, since a library
// without a diode would leave nothing to simulate with.
DiodeRows LibraryOf(const std::optional<StoredPreferences>& stored);

// How the bytes of a file that could not be read are named when they are
// kept beside it ("KelvaraPrefs.txt.not-text"); none for a problem whose
// file is never replaced (missing, or no regular file).
const char* KeptCopySuffix(fw::ReadProblem problem);

} // namespace prefs
