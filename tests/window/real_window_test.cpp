#include "close_request.h"
#include "port_links.h"
#include "sim_process.h"
#include "virtual_screen.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

namespace dornal {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::output;

// 15 twips to a pixel at 96 dpi.
constexpr int kTwipsPerPixel = 15;
// "&Connect" is Command1(0): Left 1320, Top 240, Width 1215, Height 615 twips.
constexpr int kConnectCentreX = (1320 + 1215 / 2) / kTwipsPerPixel;
constexpr int kConnectCentreY = (240 + 615 / 2) / kTwipsPerPixel;

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Polls `done` every 20 ms until it holds or `bound` has passed.
bool within(std::chrono::milliseconds bound, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// The bytes the simulated reader received, one trace line per chunk ("in  1B 61").
std::vector<std::string> received(const std::string& trace) {
    std::vector<std::string> chunks;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        const auto at = line.find(" in  ");
        if (at != std::string::npos)
            chunks.push_back(line.substr(at + 5));
    }
    return chunks;
}

// A value from xwininfo's report, such as "Width" or "Map State".
std::string windowInfo(const std::string& window, const std::string& field) {
    const std::string report = output("xwininfo -id " + window);
    const auto at = report.find("  " + field + ": ");
    if (at == std::string::npos)
        return "";
    const auto start = at + field.size() + 4;
    return report.substr(start, report.find('\n', start) - start);
}

// The program itself on a virtual X screen, with the simulated reader on "COM 1".
class RealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing::onPath("Xvfb"))
            GTEST_SKIP()
                << "Xvfb is not installed (apt-get install xvfb): no screen for the real window";
        ASSERT_TRUE(testing::onPath("xdotool")) << "xdotool is missing (apt-get install xdotool)";
        ASSERT_TRUE(testing::onPath("xwininfo"))
            << "xwininfo is missing (apt-get install x11-utils)";
        screen.emplace();
        ASSERT_FALSE(screen->display().empty()) << "Xvfb did not start";
        setenv("DISPLAY", screen->display().c_str(), 1);
    }

    testing::PortLinkHome home;
    std::optional<testing::VirtualScreen> screen;
};

TEST_F(RealWindow, ConnectClickedOnScreenResetsTheReaderAndClosingEndsTheProgram) {
    const auto trace = std::filesystem::path(home.root()) / "sim.trace";
    testing::SimProcess sim(home, 1, {"--trace", trace.string()});
    ChildProcess program({DORNAL_TEST_PROGRAM},
                         {"DISPLAY=" + screen->display(), "QT_QPA_PLATFORM=xcb"});

    std::string window =
        output("timeout 10 xdotool search --sync --onlyvisible --name '^Dornal Test 1\\.10$'");
    window = window.substr(0, window.find('\n'));
    ASSERT_FALSE(window.empty()) << "the window \"Dornal Test 1.10\" did not appear";
    ASSERT_TRUE(within(5s, [&] { return windowInfo(window, "Map State") == "IsViewable"; }));
    EXPECT_EQ(windowInfo(window, "Width"), "607");
    EXPECT_EQ(windowInfo(window, "Height"), "523");

    // Loading sends nothing: the port is opened only by Connect.
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(received(fileText(trace)).empty()) << fileText(trace);
    EXPECT_EQ(fileText(trace).find("opened"), std::string::npos) << fileText(trace);

    const auto clicked = std::chrono::steady_clock::now();
    output("xdotool mousemove --window " + window + " " + std::to_string(kConnectCentreX) + " " +
           std::to_string(kConnectCentreY) + " click 1");
    ASSERT_TRUE(within(3s, [&] { return !received(fileText(trace)).empty(); }))
        << "nothing reached the reader after the click";
    const auto answeredMs = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - clicked);
    RecordProperty("reset_after_click_ms", std::to_string(answeredMs.count()));
    EXPECT_EQ(received(fileText(trace)).front().substr(0, 5), "1B 61"); // ESC "a": reset first

    ASSERT_TRUE(testing::requestClose(screen->display(), std::stoul(window)));
    const auto status = program.waitForExit(5s);
    ASSERT_TRUE(status.has_value()) << "the program did not end after its window was closed";
    EXPECT_EQ(*status, 0);
    EXPECT_NE(fileText(trace).find("line closed by the program"), std::string::npos)
        << fileText(trace);
}

} // namespace
} // namespace dornal
