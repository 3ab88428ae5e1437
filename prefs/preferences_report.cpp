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

// What the start tells in a box, noted so that the close does not tell it
// again.
void TellAtStart(MainWindow& window, const std::string& problem, const std::string& text) {
    window.PrefsProblemToldAtStart = problem;
    Tell(window, text);
}

// A problem that the start's box told already goes to standard error alone.
void TellAtClose(MainWindow& window, const std::string& problem, const std::string& text) {
    if (!problem.empty() && problem == window.PrefsProblemToldAtStart) {
        ToStandardError(text);
    } else {
        Tell(window, text);
    }
}

// A file's problem in words, named by the file's path, as the start and the
// close compare it.
std::string FileProblem(const std::string& path, const std::string& words) {
    return path + ": " + words;
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
    const std::string words = ProblemInWords(file, read);
    std::string text = "The preferences file " + PathOf(file) + " cannot be read: " + words +
                       ". The built-in settings are used";
    if (const char* suffix = KeptCopySuffix(read.problem)) {
        const fw::Ref<fw::FolderItem> kept = file.KeptNameBeside(suffix);
        text += kept->Exists() ? "; the file is kept as " + kept->AbsolutePath() + " already."
                               : "; the file will be kept as " + kept->AbsolutePath() +
                                     " when Kelvara closes.";
    } else {
        text += "; it is left untouched.";
    }
    TellAtStart(window, FileProblem(PathOf(file), words), text);
}

void ReportNoFolderAtStart(MainWindow& window, const std::string& problem) {
    TellAtStart(window, problem,
                "The preferences folder cannot be used: " + problem +
                    ". The built-in settings are used, and nothing will be saved.");
}

void ReportSaveFailure(MainWindow& window, const std::string& path, const SaveFailure& failure) {
    std::string text =
        "The preferences could not be saved to " + path + ": " + failure.reason + ".";
    if (!failure.replacesAFile) {
        text += " Nothing was saved.";
        TellAtClose(window, FileProblem(path, failure.reason), text);
        return;
    }
    if (!failure.keptAs.empty()) {
        text += " The file that was there is kept as " + failure.keptAs + ".";
    } else {
        text += " The file on disk is as it was.";
    }
    Tell(window, text);
}

void ReportNoFolderAtClose(MainWindow& window, const std::string& problem) {
    TellAtClose(window, problem,
                "The preferences were not saved: " + problem + ". Nothing was written anywhere.");
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
