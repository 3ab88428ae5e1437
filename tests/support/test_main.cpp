// Every test program starts here: headless, with a configuration folder of
// its own, so that no test reads or writes the real user's preferences.

#include "framework/runtime.h"
#include "tests/support/fs_shim_check.h"
#include "tests/support/kelvara_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);

    std::string pattern = (std::filesystem::temp_directory_path() / "kelvara-test-XXXXXX").string();
    const char* configHome = mkdtemp(pattern.data());
    if (configHome == nullptr) {
        return 2;
    }
    setenv("XDG_CONFIG_HOME", configHome, /*overwrite=*/1);

    testing::InitGoogleTest(&argc, argv);
    // Under the file system shim, every test fails unless the shim refuses
    // what its mode promises; listing the tests needs no shim.
    const std::string shimProblems =
        GTEST_FLAG_GET(list_tests) ? "" : testing_support::FileSystemShimProblems(configHome);
    int result = 1;
    if (!shimProblems.empty()) {
        std::cerr << "Not under the file system shim that KELVARA_FS_SHIM asks for; no test runs:\n"
                  << shimProblems;
    } else {
        fw::RuntimeInit(argc, argv);
        // No test may wait on a box that nobody answers.
        testing_support::AnswerWarnings();
        result = RUN_ALL_TESTS();
        // The windows must go while Qt still stands, before main returns.
        fw::RuntimeExit();
    }

    std::error_code ignored;
    std::filesystem::remove_all(configHome, ignored);
    return result;
}
