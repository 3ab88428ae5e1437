// Every test program starts here: headless, with a configuration folder of
// its own, so that no test reads or writes the real user's preferences.

#include "framework/runtime.h"
#include "tests/support/kelvara_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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
    fw::RuntimeInit(argc, argv);
    // No test may wait on a box that nobody answers.
    testing_support::AnswerWarnings();
    const int result = RUN_ALL_TESTS();
    // The windows must go while Qt still stands, before main returns.
    fw::RuntimeExit();

    std::error_code ignored;
    std::filesystem::remove_all(configHome, ignored);
    return result;
}
