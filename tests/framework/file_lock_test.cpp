// The lock that copies of the program take around rewriting a shared file.
// Every test runs with a configuration folder of its own (see test_main).

#include "framework/file_lock.h"
#include "tests/support/unreadable_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace fw {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const char kHeldElsewhere[] = "another program holds the lock";
constexpr fs::perms kReadOnly =
    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

// In the configuration folder, which test_main makes before any test runs.
std::string InConfig(const std::string& name) {
    return std::string(std::getenv("XDG_CONFIG_HOME")) + "/" + name;
}

std::string SharedFile() {
    return InConfig("KelvaraPrefs.txt");
}

std::string LockPath() {
    return InConfig("KelvaraPrefs.txt.lock");
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

std::string ReadFile(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// What is at the path itself, a link not followed.
fs::file_type TypeAt(const std::string& path) {
    return fs::symlink_status(path).type();
}

// What a lock path may hold when a copy comes to take the lock: a crashed
// copy's leftovers, or things that have no business being there; or a shared
// path whose links lead nowhere. A file that holds bytes is no lock's: it
// serves as the lock, and stays.
struct Found {
    const char* name;
    void (*make)();
    const char* stays = nullptr; // the bytes left at the lock's name after it
    const char* lockName = "KelvaraPrefs.txt.lock";
    friend void PrintTo(const Found& found, std::ostream* out) { *out << found.name; }
};

const Found kFound[] = {
    {"Nothing", [] {}},
    {"EmptyFile", [] { WriteFile(LockPath(), ""); }},
    {"FileOfADeadCopy", [] { WriteFile(LockPath(), "4194304\nkelvara\n"); }, "4194304\nkelvara\n"},
    {"Fifo", [] { ASSERT_EQ(mkfifo(LockPath().c_str(), 0644), 0); }},
    {"EmptyFolder", [] { fs::create_directory(LockPath()); }},
    {"DanglingLink", [] { fs::create_symlink(InConfig("nowhere"), LockPath()); }},
    {"LinkToAFileElsewhere", [] { fs::create_symlink(InConfig("elsewhere.txt"), LockPath()); }},
    {"HardLinkToAFileElsewhere",
     [] { fs::create_hard_link(InConfig("elsewhere.txt"), LockPath()); }, "not ours"},
    {"ReadOnlyFileNobodyHolds",
     [] {
         WriteFile(LockPath(), "1\n");
         fs::permissions(LockPath(), kReadOnly);
     },
     "1\n"},
    {"SharedPathIsALinkLoop", [] { fs::create_symlink(SharedFile(), SharedFile()); }},
    {"UsersFileBesideTheFileALinkNames",
     [] {
         fs::create_symlink(InConfig("elsewhere.txt"), SharedFile());
         WriteFile(InConfig("elsewhere.txt.lock"), "my notes");
     },
     "my notes", "elsewhere.txt.lock"},
};

class FileLockFinds : public testing::TestWithParam<Found> {};

TEST_P(FileLockFinds, TakesTheLockAtOnceAndLeavesNothingOfItsOwn) {
    WriteFile(InConfig("elsewhere.txt"), "not ours");
    // Not a mode the lock gives the files it makes.
    const fs::perms elsewhereMode = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(InConfig("elsewhere.txt"), elsewhereMode);
    GetParam().make();
    testing_support::PermissionsApply permissions;

    FileLock lock(SharedFile());
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(lock.TryLock(5s));
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_EQ(lock.ErrorText(), "");
    const std::string lockPath = InConfig(GetParam().lockName);
    EXPECT_EQ(TypeAt(lockPath), fs::file_type::regular);

    lock.Unlock();
    if (GetParam().stays == nullptr) {
        EXPECT_EQ(TypeAt(lockPath), fs::file_type::not_found);
    } else {
        EXPECT_EQ(ReadFile(lockPath), GetParam().stays);
    }
    EXPECT_EQ(ReadFile(InConfig("elsewhere.txt")), "not ours");
    EXPECT_EQ(fs::status(InConfig("elsewhere.txt")).permissions(), elsewhereMode);
    fs::remove(SharedFile());
}

INSTANTIATE_TEST_SUITE_P(Lock, FileLockFinds, testing::ValuesIn(kFound),
                         [](const testing::TestParamInfo<Found>& row) { return row.param.name; });

TEST(FileLock, AFolderWithSomethingInItIsNamedAndLeftAlone) {
    fs::create_directory(LockPath());
    WriteFile(LockPath() + "/inside.txt", "kept");

    FileLock lock(SharedFile());
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(lock.TryLock(5s));
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_NE(lock.ErrorText().find("KelvaraPrefs.txt.lock is a folder"), std::string::npos)
        << lock.ErrorText();
    EXPECT_EQ(ReadFile(LockPath() + "/inside.txt"), "kept");
    fs::remove_all(LockPath());
}

// What a copy may find that counts as a live holder's lock: it waits for the
// whole wait and leaves the lock file where it is.
struct Held {
    const char* name;
    std::unique_ptr<FileLock> (*make)(); // the holder, if there is one
    const char* error;
    friend void PrintTo(const Held& held, std::ostream* out) { *out << held.name; }
};

std::unique_ptr<FileLock> LiveHolder() {
    auto holder = std::make_unique<FileLock>(SharedFile());
    EXPECT_TRUE(holder->TryLock(0ms));
    return holder;
}

const Held kHeld[] = {
    {"LiveHolder", LiveHolder, kHeldElsewhere},
    // As left by a copy run under another account.
    {"ReadOnlyFileOfALiveHolder",
     [] {
         std::unique_ptr<FileLock> holder = LiveHolder();
         fs::permissions(LockPath(), kReadOnly);
         return holder;
     },
     kHeldElsewhere},
    {"FileNobodyMayOpen",
     [] {
         WriteFile(LockPath(), "1\n");
         fs::permissions(LockPath(), fs::perms::none);
         return std::unique_ptr<FileLock>();
     },
     "KelvaraPrefs.txt.lock cannot be opened: Permission denied"},
};

class FileLockWaitsOn : public testing::TestWithParam<Held> {};

TEST_P(FileLockWaitsOn, TheWholeWaitAndLeavesTheLockFileAlone) {
    const std::unique_ptr<FileLock> holder = GetParam().make();
    const fs::perms mode = fs::status(LockPath()).permissions();
    testing_support::PermissionsApply permissions;

    FileLock waiter(SharedFile());
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(waiter.TryLock(200ms));
    EXPECT_GE(Clock::now() - start, 150ms);
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_EQ(waiter.ErrorText(), GetParam().error);

    // Letting go of a lock it does not hold leaves the lock file alone.
    waiter.Unlock();
    EXPECT_EQ(TypeAt(LockPath()), fs::file_type::regular);
    EXPECT_FALSE(FileLock(SharedFile()).TryLock(0ms));
    EXPECT_EQ(fs::status(LockPath()).permissions(), mode);
    fs::remove(LockPath());
}

INSTANTIATE_TEST_SUITE_P(Lock, FileLockWaitsOn, testing::ValuesIn(kHeld),
                         [](const testing::TestParamInfo<Held>& row) { return row.param.name; });

TEST(FileLock, IsTakenWhenItsHolderLetsGo) {
    FileLock holder(SharedFile());
    const mode_t umaskBefore = umask(0277);
    const bool taken = holder.TryLock(0ms);
    umask(umaskBefore);
    ASSERT_TRUE(taken);
    // Copies run under other accounts can flock it, whatever the umask.
    EXPECT_EQ(fs::status(LockPath()).permissions(), kReadOnly | fs::perms::owner_write);
    FileLock waiter(SharedFile());
    EXPECT_FALSE(waiter.TryLock(0ms));

    holder.Unlock();
    holder.Unlock();
    EXPECT_TRUE(waiter.TryLock(0ms));
    EXPECT_EQ(waiter.ErrorText(), "");
}

// Copies whose preferences paths link to one file take one lock, beside it.
TEST(FileLock, IsTakenBesideTheFileALinkLeadsTo) {
    fs::create_directory(InConfig("elsewhere"));
    const std::string target = InConfig("elsewhere/prefs.txt");
    WriteFile(target, "");
    fs::create_symlink(target, SharedFile());

    FileLock throughLink(SharedFile());
    ASSERT_TRUE(throughLink.TryLock(0ms));
    EXPECT_EQ(TypeAt(target + ".lock"), fs::file_type::regular);
    EXPECT_EQ(TypeAt(LockPath()), fs::file_type::not_found);
    FileLock direct(target);
    EXPECT_FALSE(direct.TryLock(0ms));
    EXPECT_EQ(direct.ErrorText(), kHeldElsewhere);

    throughLink.Unlock();

    // Its messages name it in full, as it is not where the path given is.
    fs::create_directory(target + ".lock");
    WriteFile(target + ".lock/inside.txt", "kept");
    EXPECT_FALSE(throughLink.TryLock(0ms));
    EXPECT_EQ(throughLink.ErrorText(), target + ".lock is a folder with something in it");

    // A link to a folder, however it is spelled, puts the lock beside the
    // folder, as without the slash, and never inside it; where a trailing
    // slash leads to no folder, the lock stands beside the link.
    fs::create_directory(InConfig("elsewhere/sub"));
    for (const auto& [spelling, lockFile] :
         {std::pair{"elsewhere/", "elsewhere.lock"}, std::pair{"elsewhere//./", "elsewhere.lock"},
          std::pair{"elsewhere/sub/..", "elsewhere.lock"},
          std::pair{"elsewhere/prefs.txt/", "KelvaraPrefs.txt.lock"},
          std::pair{"elsewhere/missing/", "KelvaraPrefs.txt.lock"}}) {
        SCOPED_TRACE(spelling);
        fs::remove(SharedFile());
        fs::create_symlink(InConfig(spelling), SharedFile());
        FileLock lock(SharedFile());
        ASSERT_TRUE(lock.TryLock(0ms)) << lock.ErrorText();
        EXPECT_EQ(TypeAt(InConfig(lockFile)), fs::file_type::regular);
        lock.Unlock();
        std::vector<std::string> inside;
        for (const auto& entry : fs::recursive_directory_iterator(InConfig("elsewhere"))) {
            inside.push_back(fs::relative(entry.path(), InConfig("elsewhere")).string());
        }
        std::sort(inside.begin(), inside.end());
        EXPECT_EQ(inside, (std::vector<std::string>{"prefs.txt", "prefs.txt.lock",
                                                    "prefs.txt.lock/inside.txt", "sub"}));
    }
    fs::remove_all(InConfig("elsewhere"));
    fs::remove(SharedFile());
}

TEST(FileLock, GoingAwayLetsGo) {
    {
        FileLock lock(SharedFile());
        ASSERT_TRUE(lock.TryLock(0ms));
    }
    EXPECT_EQ(TypeAt(LockPath()), fs::file_type::not_found);
    FileLock next(SharedFile());
    EXPECT_TRUE(next.TryLock(std::chrono::milliseconds::max()));
}

} // namespace
} // namespace fw
