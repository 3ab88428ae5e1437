// The lock that copies of the program take around rewriting a shared file.
// Every test runs with a configuration folder of its own (see test_main).

#include "framework/file_lock.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

namespace fw {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::string kHeldElsewhere = "another copy of the program holds the lock";

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
// copy's leftovers, or things that have no business being there.
struct Found {
    const char* name;
    void (*make)();
    friend void PrintTo(const Found& found, std::ostream* out) { *out << found.name; }
};

const Found kFound[] = {
    {"Nothing", [] {}},
    {"EmptyFile", [] { WriteFile(LockPath(), ""); }},
    {"FileOfADeadCopy", [] { WriteFile(LockPath(), "4194304\nkelvara\n"); }},
    {"Fifo", [] { ASSERT_EQ(mkfifo(LockPath().c_str(), 0644), 0); }},
    {"EmptyFolder", [] { fs::create_directory(LockPath()); }},
    {"DanglingLink", [] { fs::create_symlink(InConfig("nowhere"), LockPath()); }},
    {"LinkToAFileElsewhere", [] { fs::create_symlink(InConfig("elsewhere.txt"), LockPath()); }},
    {"FileNobodyMayOpen",
     [] {
         WriteFile(LockPath(), "1\n");
         fs::permissions(LockPath(), fs::perms::none);
     }},
};

class FileLockFinds : public testing::TestWithParam<Found> {};

TEST_P(FileLockFinds, TakesTheLockAtOnceAndLeavesNothingBehind) {
    WriteFile(InConfig("elsewhere.txt"), "not ours");
    GetParam().make();

    FileLock lock(SharedFile());
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(lock.TryLock(5s));
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_EQ(lock.ErrorText(), "");
    EXPECT_EQ(TypeAt(LockPath()), fs::file_type::regular);

    lock.Unlock();
    EXPECT_EQ(TypeAt(LockPath()), fs::file_type::not_found);
    EXPECT_EQ(ReadFile(InConfig("elsewhere.txt")), "not ours");
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

TEST(FileLock, WaitsForALiveHolderThenTakesItWhenItLetsGo) {
    FileLock holder(SharedFile());
    ASSERT_TRUE(holder.TryLock(0ms));

    FileLock waiter(SharedFile());
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(waiter.TryLock(200ms));
    EXPECT_GE(Clock::now() - start, 150ms);
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_EQ(waiter.ErrorText(), kHeldElsewhere);

    // Letting go of a lock it does not hold leaves the holder's alone.
    waiter.Unlock();
    EXPECT_EQ(TypeAt(LockPath()), fs::file_type::regular);
    EXPECT_FALSE(FileLock(SharedFile()).TryLock(0ms));

    holder.Unlock();
    holder.Unlock();
    EXPECT_TRUE(waiter.TryLock(0ms));
    EXPECT_EQ(waiter.ErrorText(), "");
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
