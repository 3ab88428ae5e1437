#include "tests/support/test_process.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace testing_support {

std::unique_ptr<QProcess> StartThisProgram(const char* test, const char* variable,
                                           const std::string& value) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(variable, QString::fromStdString(value));
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(QCoreApplication::applicationFilePath(),
                   {"--gtest_also_run_disabled_tests", QString("--gtest_filter=") + test});
    EXPECT_TRUE(process->waitForStarted(static_cast<int>(kLongestWait.count())));
    return process;
}

bool WaitForFile(const std::string& path) {
    const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace testing_support
