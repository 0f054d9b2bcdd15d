#include <QCoreApplication>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace dornal::testing {
namespace {

// Tools without Qt's event loop (the simulated reader, benchmarks) use the layer without an
// application object: the blocking tests must pass there too.
TEST(NoApplicationTest, TheBlockingTestsPassWithoutAnApplicationObject) {
    if (QCoreApplication::instance() == nullptr)
        GTEST_SKIP() << "already running without one";
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const std::string command = std::string("DORNAL_SERIAL_NO_APP=1 '") + self +
                                "' --gtest_brief=1 --gtest_filter='ExchangeTest.*:"
                                "ReadTimingTest.*:HangUpTest.*:OpenTest.*' 2>&1";
    FILE* child = popen(command.c_str(), "r");
    ASSERT_NE(child, nullptr);
    std::string output;
    std::array<char, 4096> chunk{};
    while (std::fgets(chunk.data(), chunk.size(), child) != nullptr)
        output += chunk.data();
    const int status = pclose(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
}

} // namespace
} // namespace dornal::testing
