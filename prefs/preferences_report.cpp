#include "prefs/preferences_report.h"

#include "app/main_window.h"

#include "framework/message_box.h"

#include <iostream>

namespace prefs {
namespace {

// Standard error is where a launcher or a terminal keeps what happened.
void ToStandardError(const std::string& text) {
    std::cerr << "Kelvara: " << text << "\n";
}

void Tell(MainWindow& window, const std::string& text) {
    ToStandardError(text);
    fw::ShowWarning(window, text);
}

} // namespace

std::string ProblemInWords(const fw::FolderItem& file, const PreferencesRead& read) {
    switch (read.problem) {
    case fw::ReadProblem::NotText:
        return "it is not a text file";
    case fw::ReadProblem::TooLarge:
        return "it is larger than any text file of the program";
    case fw::ReadProblem::NotRegular:
        return file.IsFolder() ? "it is a folder" : "it is not a regular file";
    case fw::ReadProblem::None:
    case fw::ReadProblem::Missing:
    case fw::ReadProblem::Unreadable:
        break;
    }
    return read.reason;
}

void ReportUnreadableAtStart(MainWindow& window, const fw::FolderItem& file,
                             const PreferencesRead& read) {
    std::string text = "The preferences file " + PathOf(file) +
                       " cannot be read: " + ProblemInWords(file, read) +
                       ". The built-in settings are used";
    if (const char* suffix = KeptCopySuffix(read.problem)) {
        const fw::Ref<fw::FolderItem> kept = file.KeptNameBeside(suffix);
        text += kept->Exists() ? "; the file is kept as " + kept->AbsolutePath() + " already."
                               : "; the file will be kept as " + kept->AbsolutePath() +
                                     " when Kelvara closes.";
    } else {
        text += "; it is left untouched.";
    }
    Tell(window, text);
}

void ReportNoFolderAtStart(MainWindow& window, const std::string& problem) {
    Tell(window, "The preferences folder cannot be used: " + problem +
                     ". The built-in settings are used, and nothing will be saved.");
}

void ReportSaveFailure(MainWindow& window, const std::string& path, const SaveFailure& failure) {
    std::string text =
        "The preferences could not be saved to " + path + ": " + failure.reason + ".";
    if (!failure.replacesAFile) {
        text += " Nothing was saved.";
    } else if (!failure.keptAs.empty()) {
        text += " The file that was there is kept as " + failure.keptAs + ".";
    } else {
        text += " The file on disk is as it was.";
    }
    Tell(window, text);
}

void ReportNoFolderAtClose(const std::string& problem) {
    ToStandardError("The preferences were not saved: " + problem +
                    ". Nothing was written anywhere.");
}

void ReportSavingWithoutLock(const std::string& path, const std::string& why) {
    ToStandardError("saving " + path + " without the lock: " + why);
}

void ReportKeptAtClose(const std::string& path, const std::string& reason,
                       const fw::FolderItem& kept) {
    ToStandardError(path + " cannot be read: " + reason + ". It is kept as " + kept.AbsolutePath() +
                    ".");
}

} // namespace prefs
