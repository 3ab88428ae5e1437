// Text files in the preferences folder, folder items, pictures from files.
// Every test runs with a configuration folder of its own (see test_main).

#include "framework/files.h"

#include "framework/internal/new_file.h"
#include "framework/picture.h"
#include "framework/write_seam.h"
#include "tests/support/folder_listing.h"
#include "tests/support/test_process.h"
#include "tests/support/unreadable_file.h"

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace fw {
namespace {

using namespace std::string_literals;
using testing_support::FolderCanLink;
using testing_support::FolderListing;

std::string ConfigHome() {
    const char* home = std::getenv("XDG_CONFIG_HOME");
    return home != nullptr ? home : "";
}

std::vector<std::string> ReadAllLines(TextInputStream& stream) {
    std::vector<std::string> lines;
    while (!stream.EndOfFile()) {
        lines.push_back(stream.ReadLine());
    }
    return lines;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
              static_cast<qint64>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return "<unreadable>";
    }
    return file.readAll().toStdString();
}

TEST(FilesTest, PreferencesIsTheConfigurationFolder) {
    Ref<FolderItem> preferences = SpecialFolder::Preferences();
    ASSERT_TRUE(preferences);
    EXPECT_EQ(preferences->AbsolutePath(), ConfigHome() + "/");
    EXPECT_TRUE(preferences->Exists());
    EXPECT_TRUE(preferences->IsFolder());
}

TEST(FilesTest, PreferencesFolderIsCreatedWhenMissing) {
    const std::string previous = ConfigHome();
    const std::string missing = previous + "/not/yet";
    setenv("XDG_CONFIG_HOME", missing.c_str(), 1);
    Ref<FolderItem> preferences = SpecialFolder::Preferences();
    setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    ASSERT_TRUE(preferences);
    EXPECT_EQ(preferences->AbsolutePath(), missing + "/");
    EXPECT_TRUE(std::filesystem::is_directory(missing));
}

// What the writer writes, the reader gives back line for line, whether the
// file is reached as a child of the folder or by its path text.
TEST(FilesTest, LinesWrittenAreTheLinesRead) {
    const std::vector<std::vector<std::string>> rows = {
        {},
        {""},
        {"", ""},
        {"one line"},
        {"1N4004,60,0,12,5,120,5,51,.2,3300,0", "1N4148,.5,0,.6,.001", "", "SS2H9 (Sch),.3,0"},
        {"a last empty line", ""},
        {"", "an empty first line"},
        {"Start Phase (0-179\u00B0)", "\u20AC \U0001F600"},
        {"  blanks kept  ", "\ttabs\t", ",,,"},
        {std::string(100000, 'x'), "after a long line"},
    };
    Ref<FolderItem> preferences = SpecialFolder::Preferences();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        Ref<TextOutputStream> out = preferences->Child("KelvaraPrefs.txt")->CreateTextFile();
        ASSERT_TRUE(out);
        for (const std::string& line : rows[i]) {
            out->WriteLine(line);
        }
        ASSERT_TRUE(out->Close());

        Ref<FolderItem> file = GetFolderItem(preferences->AbsolutePath() + "KelvaraPrefs.txt");
        ASSERT_TRUE(file->Exists());
        Ref<TextInputStream> in = file->OpenAsTextFile();
        ASSERT_TRUE(in);
        EXPECT_EQ(ReadAllLines(*in), rows[i]);
        EXPECT_EQ(in->ReadLine(), ""); // past the end
        EXPECT_TRUE(in->EndOfFile());
        in->Close();
    }
}

TEST(FilesTest, WrittenFilesAreUtf8WithLineFeeds) {
    const std::string path = SpecialFolder::Preferences()->AbsolutePath() + "out.txt";
    Ref<TextOutputStream> out = GetFolderItem(path)->CreateTextFile();
    ASSERT_TRUE(out);
    out->WriteLine("0-179\u00B0");
    out->WriteLine("");
    ASSERT_TRUE(out->Close());
    EXPECT_EQ(ReadBytes(path), "0-179\xC2\xB0\n\n");

    // A new file gets the mode any new file gets; a replaced one keeps its
    // own, but that its owner may read and write it.
    const mode_t mask = umask(022);
    umask(mask);
    const auto mode = [&] { return std::filesystem::status(path).permissions(); };
    EXPECT_EQ(mode(), static_cast<std::filesystem::perms>(0666 & ~mask));
    using std::filesystem::perms;
    std::filesystem::permissions(path, perms::group_read);
    Ref<TextOutputStream> again = GetFolderItem(path)->CreateTextFile();
    ASSERT_TRUE(again);
    ASSERT_TRUE(again->Close());
    EXPECT_EQ(mode(), perms::owner_read | perms::owner_write | perms::group_read);
}

TEST(FilesTest, ReadsLinesEndedByLfCrLfOrCr) {
    struct Row {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::string bom = "\xEF\xBB\xBF";
    const std::vector<Row> rows = {
        {"", {}},
        {"\n", {""}},
        {"\r\n", {""}},
        {"\r", {""}},
        {"no ending", {"no ending"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\n\n", {"a", "", ""}},
        {"mixed\r\nendings\rin\none", {"mixed", "endings", "in", "one"}},
        {"0-179\xC2\xB0\r\n", {"0-179\u00B0"}},
        // A line that is not UTF-8 is Latin-1, each line judged on its own.
        {"\xFF\xFE not UTF-8\n", {"\u00FF\u00FE not UTF-8"}},
        {"Diod\xE9\n\xC3\xA9t\xC3\xA9\n", {"Diod\u00E9", "\u00E9t\u00E9"}},
        {"\xED\xA0\x80 an encoded surrogate", {"\u00ED\u00A0\u0080 an encoded surrogate"}},
        // A byte-order mark at the start is no part of the text; later it is.
        {bom + "a\n", {"a"}},
        {bom, {}},
        {"a\n" + bom + "b", {"a", "\uFEFFb"}},
    };
    const std::string path = SpecialFolder::Preferences()->AbsolutePath() + "in.txt";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        WriteBytes(path, row.bytes);
        Ref<TextInputStream> in = GetFolderItem(path)->OpenAsTextFile();
        ASSERT_TRUE(in);
        EXPECT_EQ(in->EndOfFile(), row.lines.empty());
        EXPECT_EQ(ReadAllLines(*in), row.lines);
    }
}

TEST(FilesTest, WhatCannotBeReadOrWrittenGivesNone) {
    Ref<FolderItem> preferences = SpecialFolder::Preferences();
    const std::string folder = preferences->AbsolutePath();
    Ref<FolderItem> missing = preferences->Child("missing.txt");
    EXPECT_FALSE(missing->Exists());
    EXPECT_FALSE(missing->OpenAsTextFile());
    EXPECT_FALSE(missing->LastErrorText().empty());
    EXPECT_FALSE(missing->OpenAsPicture());

    // A folder is no file.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder + "folder")));
    Ref<FolderItem> asFolder = preferences->Child("folder");
    EXPECT_TRUE(asFolder->Exists());
    EXPECT_FALSE(asFolder->OpenAsTextFile());
    EXPECT_FALSE(asFolder->CreateTextFile());
    EXPECT_EQ(asFolder->LastErrorText(), "is a folder");
    EXPECT_FALSE(asFolder->OpenAsPicture());
    EXPECT_TRUE(asFolder->IsFolder()); // and it is still there

    // A file in a folder that does not exist cannot be created.
    Ref<FolderItem> nowhere = preferences->Child("no such folder")->Child("file.txt");
    EXPECT_FALSE(nowhere->CreateTextFile());
    EXPECT_EQ(nowhere->LastErrorText(), "No such file or directory");
    EXPECT_FALSE(preferences->Child("no such folder")->Exists());

    // Nor one through a link that names a folder where none stands.
    WriteBytes(folder + "file", "kept");
    std::filesystem::create_symlink("missing/", folder + "to missing");
    std::filesystem::create_symlink("file/", folder + "to file");
    for (const auto& [name, why] : {std::pair{"to missing", "No such file or directory"},
                                    std::pair{"to file", "Not a directory"}}) {
        SCOPED_TRACE(name);
        Ref<FolderItem> linked = preferences->Child(name);
        EXPECT_FALSE(linked->CreateTextFile());
        EXPECT_EQ(linked->LastErrorText(), why);
    }
    EXPECT_EQ(ReadBytes(folder + "file"), "kept");
}

// Only a regular text file is read; opening anything else neither blocks nor
// reads without end, and no pipe or device is ever replaced by a written file.
TEST(FilesTest, OnlyRegularTextFilesAreReadOrReplaced) {
    const std::string folder = SpecialFolder::Preferences()->AbsolutePath();
    ASSERT_EQ(mkfifo((folder + "pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder + "zeros");
    WriteBytes(folder + "huge", std::string(kMaxTextFileBytes + 1, 'a'));
    WriteBytes(folder + "nul", "1N4004,60\n\0,0\n"s);
    WriteBytes(folder + "escape", "1N4004,60\n\x1B[0m\n");
    WriteBytes(folder + "tabs", "\tD\t,60\r\n");
    std::filesystem::create_symlink(folder + "tabs", folder + "link to text");
    std::filesystem::create_symlink(folder + "missing", folder + "link to nothing");
    std::filesystem::create_directory(folder + "folder");
    WriteBytes(folder + "locked", "a\n");
    std::filesystem::permissions(folder + "locked", std::filesystem::perms::none);

    struct Row {
        const char* name;
        ReadProblem problem;
        const char* why; // empty: the file reads
        std::vector<std::string> lines;
    };
    const std::vector<Row> rows = {
        {"pipe", ReadProblem::NotRegular, "not a regular file"},
        {"zeros", ReadProblem::NotRegular, "not a regular file"},
        {"folder", ReadProblem::NotRegular, "is a folder"},
        {"huge", ReadProblem::TooLarge, "larger than any text file of the program"},
        {"nul", ReadProblem::NotText, "not a text file"},
        {"escape", ReadProblem::None, "", {"1N4004,60", "\x1B[0m"}},
        {"tabs", ReadProblem::None, "", {"\tD\t,60"}},
        {"link to text", ReadProblem::None, "", {"\tD\t,60"}},
        {"missing", ReadProblem::Missing, "No such file or directory"},
        {"link to nothing", ReadProblem::Missing, "No such file or directory"},
        {"locked", ReadProblem::Unreadable, "Permission denied"},
    };
    testing_support::PermissionsApply permissions;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Ref<FolderItem> item = GetFolderItem(folder + row.name);
        EXPECT_EQ(static_cast<bool>(item->OpenAsTextFile()), *row.why == '\0');
        EXPECT_EQ(item->LastErrorText(), row.why);
        const FolderItem::TextRead read = item->ReadTextFile();
        EXPECT_EQ(read.problem, row.problem);
        EXPECT_EQ(read.reason, row.why);
        EXPECT_EQ(read.version.Exists(), row.problem != ReadProblem::Missing);
        if (read.stream) {
            EXPECT_EQ(ReadAllLines(*read.stream), row.lines);
        }
    }

    for (const char* name : {"pipe", "zeros"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(GetFolderItem(folder + name)->CreateTextFile());
    }
    EXPECT_TRUE(std::filesystem::is_fifo(folder + "pipe"));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/zero"));
}

// The previous file stays whole until a new one is complete.
TEST(FilesTest, TheOldFileSurvivesAnUnfinishedOrFailedWrite) {
    const std::string folder = SpecialFolder::Preferences()->AbsolutePath();
    const std::string path = folder + "KelvaraPrefs.txt";
    const std::string old = "the old settings\nand one diode\n";
    WriteBytes(path, old);

    {
        Ref<TextOutputStream> out = GetFolderItem(path)->CreateTextFile();
        ASSERT_TRUE(out);
        out->WriteLine("new");
        EXPECT_EQ(ReadBytes(path), old); // nothing replaced before Close
    }                                    // destroyed without Close: nothing replaced
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(FolderListing(folder), std::vector<std::string>{"KelvaraPrefs.txt"});

    // A folder that refuses the new file its name or its place fails the
    // write. What the folder would not let go of either is a leftover, which
    // the next save removes first.
    {
        Ref<TextOutputStream> out = GetFolderItem(path)->CreateTextFile();
        ASSERT_TRUE(out);
        out->WriteLine("new");
        using std::filesystem::perms;
        std::filesystem::permissions(folder, perms::owner_read | perms::owner_exec);
        bool closed = true;
        {
            testing_support::PermissionsApply permissions;
            closed = out->Close();
        }
        std::filesystem::permissions(folder, perms::owner_all);
        EXPECT_FALSE(closed);
        EXPECT_EQ(out->ErrorText(), "Permission denied");
        EXPECT_EQ(ReadBytes(path), old);
        GetFolderItem(path)->RemoveLeftoverWrites();
        EXPECT_EQ(FolderListing(folder), std::vector<std::string>{"KelvaraPrefs.txt"});
    }

    // Writing beyond the file size limit fails with EFBIG (the signal that
    // would otherwise end the process is ignored). The tests run as root, so
    // file permissions would not stop the write.
    Ref<TextOutputStream> out = GetFolderItem(path)->CreateTextFile();
    ASSERT_TRUE(out);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 16;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    for (int i = 0; i < 100; ++i) {
        out->WriteLine("a line that will not fit under the limit");
    }
    const bool closed = out->Close();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(closed);
    EXPECT_EQ(out->ErrorText(), "File too large");
    EXPECT_FALSE(out->Close()); // and stays failed
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(FolderListing(folder), std::vector<std::string>{"KelvaraPrefs.txt"})
        << "no temporary file is left behind";

    // Once the limit is lifted, writing works again.
    Ref<TextOutputStream> again = GetFolderItem(path)->CreateTextFile();
    again->WriteLine("new");
    EXPECT_TRUE(again->Close());
    EXPECT_TRUE(again->Close());
    again->WriteLine("after closing, nothing more is written");
    EXPECT_EQ(ReadBytes(path), "new\n");

    // A file of exactly the size bound is written and read back; one byte
    // more fails as a whole and leaves that file as it was.
    const std::string half(kMaxTextFileBytes / 2 - 1, 'x');
    for (const bool over : {false, true}) {
        SCOPED_TRACE(over);
        Ref<TextOutputStream> big = GetFolderItem(path)->CreateTextFile();
        ASSERT_TRUE(big);
        big->WriteLine(half);
        big->WriteLine(half);
        if (over) {
            big->WriteLine("");
        }
        EXPECT_EQ(big->Close(), !over);
        EXPECT_EQ(big->ErrorText(), over ? "larger than any text file of the program" : "");
        const FolderItem::TextRead read = GetFolderItem(path)->ReadTextFile();
        ASSERT_EQ(read.problem, ReadProblem::None);
        EXPECT_TRUE(ReadAllLines(*read.stream) == (std::vector<std::string>{half, half}));
    }
    EXPECT_EQ(FolderListing(folder), std::vector<std::string>{"KelvaraPrefs.txt"});
}

// A file kept aside keeps its bytes and its mode under a name that was free,
// beside the file the path finally names, so a link stays a link. Keeping
// needs no right to read the file where the file system can link it, and
// the file stays in place wherever it can be linked or read. A file kept
// already (the very file, or its bytes where the file system cannot link)
// is not kept again.
TEST(FilesTest, KeepBesideKeepsTheBytesUnderAFreeName) {
    const std::string folder = SpecialFolder::Preferences()->AbsolutePath();
    const std::string path = folder + "KelvaraPrefs.txt";
    const std::string elsewhere = folder + "elsewhere/real.txt";
    std::filesystem::create_directory(folder + "elsewhere");
    WriteBytes(elsewhere, "kept\n");
    std::filesystem::create_symlink(elsewhere, folder + "link");
    std::filesystem::create_symlink(folder + "nowhere", path + ".bad-3");
    const bool canLink = FolderCanLink(folder);
    if (std::getenv("KELVARA_FS_SHIM") != nullptr) {
        EXPECT_FALSE(canLink) << "the file system shim is not in effect";
    }

    struct Row {
        const char* item;
        const char* why;
        const char* kept;  // the item kept, in the folder
        bool locked;       // the file may not be read
        const char* bytes; // a new file with these bytes first; none: as it is
    };
    const std::vector<Row> rows = {
        {"KelvaraPrefs.txt", "bad", "KelvaraPrefs.txt.bad", false, "kept\n"},
        {"KelvaraPrefs.txt", "bad", "KelvaraPrefs.txt.bad", false, nullptr}, // kept already
        {"KelvaraPrefs.txt", "bad", "KelvaraPrefs.txt.bad-2", false, "other\n"},
        {"KelvaraPrefs.txt", "bad", "KelvaraPrefs.txt.bad-4", false, "third\n"}, // "-3" dangles
        {"link", "bad", "elsewhere/real.txt.bad", false, nullptr},
        {"KelvaraPrefs.txt", "locked", "KelvaraPrefs.txt.locked", true, "kept\n"},
        {"link", "locked", "elsewhere/real.txt.locked", true, nullptr},
    };
    using std::filesystem::perms;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kept);
        Ref<FolderItem> item = GetFolderItem(folder + row.item);
        const std::string file = (folder + row.item == path) ? path : elsewhere;
        if (row.bytes != nullptr) {
            std::filesystem::remove(file);
            WriteBytes(file, row.bytes);
        }
        const std::string bytes = ReadBytes(file);
        const perms mode = row.locked ? perms::none : perms::owner_read | perms::group_read;
        std::filesystem::permissions(file, mode);
        EXPECT_EQ(item->KeptNameBeside(row.why)->AbsolutePath(), folder + row.kept);
        Ref<FolderItem> kept;
        {
            testing_support::PermissionsApply permissions;
            EXPECT_EQ(item->ReadTextFile().problem,
                      row.locked ? ReadProblem::Unreadable : ReadProblem::None);
            kept = item->KeepBeside(row.why);
        }
        ASSERT_TRUE(kept) << item->LastErrorText();
        EXPECT_EQ(kept->AbsolutePath(), folder + row.kept);
        EXPECT_EQ(ReadBytes(folder + row.kept), bytes);
        EXPECT_EQ(std::filesystem::status(folder + row.kept).permissions(), mode);
        const bool stays = canLink || !row.locked; // otherwise it is moved aside
        EXPECT_EQ(ReadBytes(file), stays ? bytes : "<unreadable>");
        EXPECT_TRUE(std::filesystem::is_symlink(folder + "link"));
    }
    EXPECT_TRUE(std::filesystem::is_symlink(path + ".bad-3"));
    EXPECT_FALSE(std::filesystem::exists(path + ".bad-5"));

    // Only a regular file is kept.
    std::filesystem::create_directory(folder + "folder");
    Ref<FolderItem> asFolder = GetFolderItem(folder + "folder");
    EXPECT_FALSE(asFolder->KeepBeside("bad"));
    EXPECT_EQ(asFolder->LastErrorText(), "is a folder");
    Ref<FolderItem> missing = GetFolderItem(folder + "missing");
    EXPECT_FALSE(missing->KeepBeside("bad"));
    EXPECT_EQ(missing->LastErrorText(), "No such file or directory");
}

// A guarded write puts its file in place only over the version it expects;
// what another writer did meanwhile stays as they left it.
TEST(FilesTest, AGuardedWriteReplacesOnlyTheVersionExpected) {
    using Outcome = TextOutputStream::Outcome;
    const std::string folder = SpecialFolder::Preferences()->AbsolutePath();
    const std::string path = folder + "KelvaraPrefs.txt";
    const auto replace = [&] {
        Ref<TextOutputStream> other = GetFolderItem(path)->CreateTextFile();
        other->WriteLine("theirs");
        ASSERT_TRUE(other->Close());
    };
    const auto append = [&] { std::ofstream(path, std::ios::app) << "theirs\n"; };
    const auto remove = [&] { std::filesystem::remove(path); };
    const auto create = [&] { WriteBytes(path, "theirs\n"); };
    struct Row {
        const char* name;
        const char* before; // none: no file
        std::function<void()> meanwhile;
        Outcome outcome;
        const char* after;            // none: no file
        const char* linkTo = nullptr; // the path is a link to this name beside it
    };
    const std::vector<Row> rows = {
        {"unchanged", "old\n", {}, Outcome::Replaced, "ours\n"},
        {"replaced meanwhile", "old\n", replace, Outcome::Changed, "theirs\n"},
        {"written in place", "old\n", append, Outcome::Changed, "old\ntheirs\n"},
        {"removed meanwhile", "old\n", remove, Outcome::Changed, nullptr},
        {"created meanwhile", nullptr, create, Outcome::Changed, "theirs\n"},
        {"still missing", nullptr, {}, Outcome::Replaced, "ours\n"},
        {"linked", "old\n", {}, Outcome::Replaced, "ours\n", "real.txt"},
        {"first file through a link", nullptr, {}, Outcome::Replaced, "ours\n", "real.txt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::filesystem::remove_all(entry.path());
        }
        std::vector<std::string> names;
        if (row.linkTo != nullptr) {
            std::filesystem::create_symlink(row.linkTo, path);
            names = {"KelvaraPrefs.txt", row.linkTo};
        } else if (row.after != nullptr) {
            names = {"KelvaraPrefs.txt"};
        }
        if (row.before != nullptr) {
            WriteBytes(path, row.before);
        }
        const FolderItem::TextRead read = GetFolderItem(path)->ReadTextFile();
        Ref<TextOutputStream> out = GetFolderItem(path)->CreateTextFile();
        ASSERT_TRUE(out);
        out->WriteLine("ours");
        if (row.meanwhile) {
            row.meanwhile();
        }
        EXPECT_EQ(out->CloseIfUnchanged(read.version), row.outcome);
        EXPECT_EQ(out->ErrorText(), "");
        EXPECT_EQ(ReadBytes(path), row.after != nullptr ? row.after : "<unreadable>");
        EXPECT_EQ(std::filesystem::is_symlink(path), row.linkTo != nullptr);
        std::vector<std::string> listing = FolderListing(folder);
        std::sort(listing.begin(), listing.end());
        EXPECT_EQ(listing, names) << "no temporary file is left behind";
    }
}

// Only what writers that died left beside the file goes: a live writer's new
// file, kept files, the lock and whatever merely looks alike stay. The path is
// a link, and the file it names is in another folder.
TEST(FilesTest, RemovingLeftoverWritesLeavesAllElse) {
    const std::string folder = SpecialFolder::Preferences()->AbsolutePath() + "real/";
    const std::string path = folder + "KelvaraPrefs.txt";
    const std::string link = SpecialFolder::Preferences()->AbsolutePath() + "KelvaraPrefs.txt";
    std::filesystem::create_directory(folder);
    std::filesystem::create_symlink(path, link);
    WriteBytes(path, "old\n");
    const auto file = [](const std::string& at) { WriteBytes(at, "x"); };
    struct Row {
        const char* name; // after the file's own
        std::function<void(const std::string&)> make;
        bool removed;
        // Done while the remover holds the lock of the file under the name.
        std::function<void(const std::string&)> whileLocked = {};
    };
    const std::vector<Row> rows = {
        {".saving-Ab12Cd", file, true}, // a new file, or an old one exchanged out
        {".saving-Zz9Yx8",
         [&](const std::string& at) {
             file(at);
             std::filesystem::permissions(at, std::filesystem::perms::none);
         },
         true}, // an old file that could not be read, exchanged out
        {".not-text", file, false},
        {".too-large-2", file, false},
        {".unreadable", file, false},
        {".lock", file, false},
        {".backup", file, false},
        {".Ab12Cd", file, false}, // an older build's, which may be the user's
        {".saving-Ab12Cd7", file, false},
        {".saving-Lnk123",
         [&](const std::string& at) { std::filesystem::create_symlink(path, at); }, false},
        {".saving-Rn4med", file, false, // another file renamed over the leftover
         [&](const std::string& at) {
             WriteBytes(folder + "theirs", "theirs\n");
             std::filesystem::rename(folder + "theirs", at);
         }},
    };
    for (const Row& row : rows) {
        row.make(path + row.name);
    }
    WhileLeftoverIsLocked = [&](const std::string& leftover) {
        for (const Row& row : rows) {
            if (leftover == path + row.name && row.whileLocked) {
                row.whileLocked(leftover);
            }
        }
    };

    // A live writer's new file has a name while it takes the file's place.
    std::string liveNewFile;
    bool liveNewFileStayed = false;
    WhileNewFileIsNamed = [&](const std::string& newFile) {
        liveNewFile = newFile;
        testing_support::PermissionsApply permissions;
        GetFolderItem(link)->RemoveLeftoverWrites();
        liveNewFileStayed = std::filesystem::exists(newFile);
    };
    Ref<TextOutputStream> out = GetFolderItem(link)->CreateTextFile();
    ASSERT_TRUE(out);
    out->WriteLine("new");
    const bool closed = out->Close();
    WhileNewFileIsNamed = nullptr;
    WhileLeftoverIsLocked = nullptr;
    EXPECT_TRUE(closed) << out->ErrorText();
    EXPECT_EQ(ReadBytes(path), "new\n");
    ASSERT_NE(liveNewFile, "");
    EXPECT_TRUE(liveNewFileStayed);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const bool stays = std::filesystem::symlink_status(path + row.name).type() !=
                           std::filesystem::file_type::not_found;
        EXPECT_EQ(stays, !row.removed);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

// A new file that has a name from the start (where the file system makes no
// nameless one) is open for a moment before its writer locks it: a remover of
// leftovers may lock it first, or its name may go to another file. The writer
// leaves it to them and puts its own bytes in place through another.
TEST(FilesTest, ANamedNewFileTakenBeforeItIsLockedIsLeftAlone) {
    const std::string folder = SpecialFolder::Preferences()->AbsolutePath() + "named/";
    const std::string path = folder + "KelvaraPrefs.txt";
    std::filesystem::create_directory(folder);
    int remover = -1;
    const auto lock = [&](const std::string& newFile) {
        remover = ::open(newFile.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(remover, LOCK_EX | LOCK_NB), 0);
    };
    const auto replace = [&](const std::string& newFile) {
        std::filesystem::rename(newFile, ConfigHome() + "/moved away");
        WriteBytes(folder + "theirs", "theirs\n");
        std::filesystem::rename(folder + "theirs", newFile);
    };
    struct Row {
        const char* name;
        std::function<void(const std::string&)> meanwhile;
        bool theirsStays; // the other file under the first name
    };
    const std::vector<Row> rows = {
        {"locked by a remover", lock, false},
        {"renamed away, another file in its place", replace, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteBytes(path, "old\n");
        std::string first;
        WhileNamedNewFileIsUnlocked = [&](const std::string& newFile) {
            if (first.empty()) {
                first = newFile;
                row.meanwhile(newFile);
            }
        };
        internal::NewFile file;
        const int created = file.Create(path, 0600, /*nameless=*/false);
        WhileNamedNewFileIsUnlocked = nullptr;
        ASSERT_EQ(created, 0);
        if (remover >= 0) { // the remover removes the file it locked
            std::filesystem::remove(first);
            ::close(std::exchange(remover, -1));
        }
        ASSERT_TRUE(internal::WriteAll(file.Fd(), "ours\n"));
        EXPECT_EQ(::rename(file.Name().c_str(), path.c_str()), 0);
        file.LetGoOfName();
        EXPECT_EQ(ReadBytes(path), "ours\n");
        std::vector<std::string> names = {"KelvaraPrefs.txt"};
        if (row.theirsStays) {
            EXPECT_EQ(ReadBytes(first), "theirs\n");
            names.push_back(std::filesystem::path(first).filename().string());
        }
        EXPECT_EQ(FolderListing(folder), names) << "nothing stray is left";
        std::filesystem::remove(first);
    }
}

constexpr const char* kKilledWriterFolder = "KELVARA_TEST_KILLED_WRITER_FOLDER";

// Run by the test below as a process of its own: replaces the file in the
// folder it is given, and stops once its new file has a name there.
TEST(DISABLED_KilledWriter, StopsWhileItsNewFileHasAName) {
    const char* folder = std::getenv(kKilledWriterFolder);
    ASSERT_NE(folder, nullptr) << "run only by AKilledWriteLeavesNothingAfterTheNextSave";
    const std::string path = std::string(folder) + "/KelvaraPrefs.txt";
    const FolderItem::TextRead read = GetFolderItem(path)->ReadTextFile();
    Ref<TextOutputStream> out = GetFolderItem(path)->CreateTextFile();
    ASSERT_TRUE(out);
    out->WriteLine("never in place");
    WhileNewFileIsNamed = [folder](const std::string&) {
        WriteBytes(std::string(folder) + ".stopped", "");
        std::raise(SIGSTOP);
    };
    out->CloseIfUnchanged(read.version);
}

// A writer killed at the worst moment leaves its new file under its name;
// the next save, which removes leftovers first, leaves only the file.
TEST(FilesTest, AKilledWriteLeavesNothingAfterTheNextSave) {
    const std::string folder = SpecialFolder::Preferences()->AbsolutePath() + "shared";
    const std::string path = folder + "/KelvaraPrefs.txt";
    std::filesystem::create_directory(folder);
    WriteBytes(path, "old\n");

    const std::unique_ptr<QProcess> writer = testing_support::StartThisProgram(
        "DISABLED_KilledWriter.StopsWhileItsNewFileHasAName", kKilledWriterFolder, folder);
    ASSERT_TRUE(testing_support::WaitForFile(folder + ".stopped")) << "the writer never stopped";
    ::kill(static_cast<pid_t>(writer->processId()), SIGKILL);
    ASSERT_TRUE(writer->waitForFinished());
    ASSERT_EQ(FolderListing(folder).size(), 2u) << "the killed writer left no new file";

    Ref<FolderItem> file = GetFolderItem(path);
    file->RemoveLeftoverWrites();
    const FolderItem::TextRead read = file->ReadTextFile();
    Ref<TextOutputStream> out = file->CreateTextFile();
    ASSERT_TRUE(out);
    out->WriteLine("new");
    EXPECT_EQ(out->CloseIfUnchanged(read.version), TextOutputStream::Outcome::Replaced);
    EXPECT_EQ(ReadBytes(path), "new\n");
    EXPECT_EQ(FolderListing(folder), std::vector<std::string>{"KelvaraPrefs.txt"});
}

TEST(FilesTest, FolderItemsNameTheirPlace) {
    const std::string home = ConfigHome();
    struct Row {
        std::string path;
        std::string absolutePath;
        std::string name;
    };
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(home + "/sub")));
    const std::vector<Row> rows = {
        {home, home + "/", ""},
        {home + "/", home + "/", ""},
        {home + "/sub", home + "/sub/", "sub"},
        {home + "/sub/../sub/./", home + "/sub/", "sub"},
        {home + "//sub//file.txt", home + "/sub/file.txt", "file.txt"},
        {home + "/missing", home + "/missing", "missing"},
        {"/", "/", ""},
    };
    for (Row row : rows) {
        SCOPED_TRACE(row.path);
        if (row.name.empty() && row.path != "/") {
            row.name = std::filesystem::path(home).filename().string();
        }
        Ref<FolderItem> item = GetFolderItem(row.path);
        EXPECT_EQ(item->AbsolutePath(), row.absolutePath);
        EXPECT_EQ(item->Name(), row.name);
    }

    Ref<FolderItem> sub = GetFolderItem(home)->Child("sub");
    EXPECT_EQ(sub->AbsolutePath(), home + "/sub/");
    EXPECT_EQ(sub->Parent()->AbsolutePath(), home + "/");
    EXPECT_EQ(GetFolderItem("/")->Child("tmp")->AbsolutePath(), "/tmp/");
    EXPECT_EQ(GetFolderItem("/tmp")->Parent()->AbsolutePath(), "/");
    EXPECT_FALSE(GetFolderItem("/")->Parent());

    // A relative path is taken from the current folder.
    const std::string current = std::filesystem::current_path().string();
    EXPECT_EQ(GetFolderItem("relative.txt")->AbsolutePath(),
              (current == "/" ? "" : current) + "/relative.txt");
}

TEST(FilesTest, PicturesAreRecognisedByTheirContent) {
    const std::string folder = SpecialFolder::Preferences()->AbsolutePath();
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(2, 1, qRgb(0, 0, 255));
    // A PNG under a name that says otherwise.
    ASSERT_TRUE(image.save(QString::fromStdString(folder + "plot.pict"), "PNG"));
    Ref<Picture> picture = GetFolderItem(folder + "plot.pict")->OpenAsPicture();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 3);
    EXPECT_EQ(picture->Height(), 2);
    EXPECT_EQ(picture->Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(picture->Pixel(2, 1), RGB(0, 0, 255));
    EXPECT_TRUE(picture->IsBlank(1, 0));

    const std::vector<std::pair<const char*, std::string>> unreadable = {
        {"empty.png", ""},
        {"garbage.pict", "\x01\x02garbage bytes, not a picture"},
        {"cut.png", "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR"s},
    };
    for (const auto& [name, bytes] : unreadable) {
        SCOPED_TRACE(name);
        WriteBytes(folder + name, bytes);
        EXPECT_FALSE(GetFolderItem(folder + name)->OpenAsPicture());
    }
}

TEST(FilesTest, ResourcesAreBesideTheProgramsFolder) {
    Ref<FolderItem> resources = _GetApplicationBundleResources();
    ASSERT_TRUE(resources);
    EXPECT_EQ(resources->Name(), "Resources");
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(resources->AbsolutePath(),
              (program.parent_path().parent_path() / "Resources").string() + "/");
    Ref<Picture> backdrop = resources->Child("CanvasBackground.pict")->OpenAsPicture();
    ASSERT_TRUE(backdrop);
    EXPECT_EQ(backdrop->Width(), 800);
    EXPECT_EQ(backdrop->Height(), 400);
}

} // namespace
} // namespace fw
