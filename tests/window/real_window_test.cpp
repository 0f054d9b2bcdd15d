#include "close_request.h"
#include "engine/record/record_reader.h"
#include "sim_process.h"
#include "ui/view/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

namespace dornal {
namespace {

using namespace std::chrono_literals;
using testing::fileText;

// What a shell command printed, up to the end of its first line.
std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        for (int c; (c = std::fgetc(pipe)) != EOF;)
            text.push_back(static_cast<char>(c));
        pclose(pipe);
    }
    return text.substr(0, text.find('\n'));
}

// Polls `done` every 20 ms until it holds or `bound` has passed.
bool within(std::chrono::milliseconds bound, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (; !done(); std::this_thread::sleep_for(20ms))
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
    return true;
}

// The bytes the simulated reader heard, in hex, from its trace lines such as "0.1 in  1B 61".
std::string heard(const std::string& trace) {
    std::string bytes;
    std::istringstream lines(fileText(trace));
    for (std::string line; std::getline(lines, line);)
        if (const auto at = line.find(" in  "); at != std::string::npos)
            bytes += line.substr(at + 5) + " ";
    return bytes;
}

// The bytes the simulated reader heard (`way` "in") or sent ("out"), as bytes.
std::string traced(const std::string& trace, const std::string& way) {
    std::string bytes;
    std::istringstream lines(fileText(trace));
    const std::string mark = " " + way + (way == "in" ? "  " : " ");
    for (std::string line; std::getline(lines, line);) {
        const auto at = line.find(mark);
        if (at == std::string::npos)
            continue;
        std::istringstream hex(line.substr(at + mark.size()));
        for (std::string byte; hex >> byte;)
            bytes.push_back(static_cast<char>(std::stoi(byte, nullptr, 16)));
    }
    return bytes;
}

// The track 2 data of each write frame in the bytes heard: between ESC "t" and "A" (track 3
// follows, as all three tracks are ticked).
std::vector<std::string> framedTrack2(const std::string& heard) {
    std::vector<std::string> data;
    for (std::size_t at = heard.find("\033t"); at != std::string::npos;
         at = heard.find("\033t", at + 2))
        data.push_back(heard.substr(at + 2, heard.find('A', at) - at - 2));
    return data;
}

// A value from xwininfo's report, such as "Width" or "Map State".
std::string windowInfo(const std::string& window, const std::string& field) {
    return output("xwininfo -id " + window + " | sed -n 's/^  " + field + ": //p'");
}

// The program itself on an X screen of its own (Xvfb, at 96 dpi), with the simulated reader on
// "COM 1".
class RealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string xvfb = output("command -v Xvfb");
        if (xvfb.empty())
            GTEST_SKIP()
                << "Xvfb is not installed (apt-get install xvfb): no screen for the window";
        ASSERT_NE(output("command -v xdotool"), "") << "apt-get install xdotool";
        ASSERT_NE(output("command -v xwininfo"), "") << "apt-get install x11-utils";
        // Xvfb picks a free display and prints its number.
        screen.emplace(std::vector<std::string>{xvfb, "-displayfd", "1", "-screen", "0",
                                                "1024x768x24", "-dpi", "96", "-nolisten", "tcp"},
                       home.root() + "/xvfb");
        ASSERT_TRUE(within(10s, [&] { return screen->output().ends_with('\n'); }))
            << "Xvfb did not start: " << screen->errorOutput();
        display = ":" + screen->output().substr(0, screen->output().find('\n'));
        setenv("DISPLAY", display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }

    // Starts the program with `args` and waits for its window to be on screen: its X id, or
    // empty when it does not come.
    std::string startProgram(std::vector<std::string> args = {}) {
        args.insert(args.begin(), DORNAL_TEST_PROGRAM);
        program.emplace(std::move(args), home.root() + "/program");
        const std::string window =
            output("timeout 10 xdotool search --sync --onlyvisible --name '^Dornal Test 1\\.10$'");
        if (window.empty() ||
            !within(5s, [&] { return windowInfo(window, "Map State") == "IsViewable"; }))
            return {};
        return window;
    }

    testing::PortLinkHome home;
    std::optional<testing::ChildProcess> screen;
    std::string display;
    std::optional<testing::ChildProcess> program;
};

// Clicks the middle of a top-level control of the layout, by its object name.
void clickControl(const std::string& window, const char* name) {
    const auto& place = *std::ranges::find(view::windowLayout(), name, &view::ControlPlace::name);
    ASSERT_EQ(place.frame, "");
    output("xdotool mousemove --window " + window + " " +
           std::to_string(view::twipsToPixels(place.left + place.width / 2)) + " " +
           std::to_string(view::twipsToPixels(place.top + place.height / 2)) + " click 1");
}

TEST_F(RealWindow, ConnectClickedOnScreenResetsTheReaderAndClosingEndsTheProgram) {
    const std::string trace = home.root() + "/sim.trace";
    testing::SimProcess sim(home, 1, {"--trace", trace});
    const std::string window = startProgram();
    ASSERT_FALSE(window.empty()) << "the window \"Dornal Test 1.10\" did not appear";

    // Loading sends nothing: the port is opened only by Connect.
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(heard(trace), "");
    EXPECT_EQ(fileText(trace).find("opened"), std::string::npos) << fileText(trace);

    clickControl(window, "Command1(0)"); // "&Connect"
    ASSERT_TRUE(within(3s, [&] { return !heard(trace).empty(); })) << "nothing after the click";
    EXPECT_EQ(heard(trace).substr(0, 5), "1B 61"); // ESC "a": reset first

    ASSERT_TRUE(testing::requestClose(display, std::stoul(window)));
    EXPECT_EQ(program->waitExit(5s), 0) << "the program did not end after its window was closed";
}

// A reader that never says it is ready holds a step of the write/read loop for two seconds:
// the window closes in the middle of that wait, and the program ends at once.
TEST_F(RealWindow, ClosingTheWindowWhileAStepWaitsForTheReaderEndsTheProgramWithinASecond) {
    const std::string trace = home.root() + "/sim.trace";
    testing::SimProcess sim(home, 1, {"--never-ready", "--trace", trace});
    const std::string window = startProgram();
    ASSERT_FALSE(window.empty());
    clickControl(window, "Command1(0)"); // "&Connect"
    ASSERT_TRUE(within(3s, [&] { return !heard(trace).empty(); }));
    std::this_thread::sleep_for(500ms);  // Connect's drains
    clickControl(window, "Command2(0)"); // "&Start Action"
    // The read answer's tick sends the ready check, then waits for the "y".
    ASSERT_TRUE(within(5s, [&] { return heard(trace).find("1B 65") != std::string::npos; }))
        << heard(trace);
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(testing::requestClose(display, std::stoul(window)));
    EXPECT_EQ(program->waitExit(1s), 0) << "the program did not end within a second";
}

// A run killed in its middle leaves a record that holds every answer up to its last second,
// each write row with the data the line carried and each difference the reader made.
TEST_F(RealWindow, AKilledRunsRecordMatchesTheLineUpToItsLastSecond) {
    const std::string trace = home.root() + "/sim.trace";
    const std::string records = home.root() + "/runs";
    testing::SimProcess sim(home, 1, {"--corrupt-every", "3", "--trace", trace});
    const std::string window = startProgram({"--record-dir", records});
    ASSERT_FALSE(window.empty());
    clickControl(window, "Command1(0)"); // "&Connect"
    ASSERT_TRUE(within(3s, [&] { return !heard(trace).empty(); }));
    std::this_thread::sleep_for(500ms);
    clickControl(window, "Command2(0)"); // "&Start Action": the write/read loop, all tracks
    std::this_thread::sleep_for(6s);
    program->signal(SIGKILL);
    ASSERT_EQ(program->waitExit(2s), 128 + SIGKILL);
    std::this_thread::sleep_for(200ms);

    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(records))
        files.push_back(entry.path());
    ASSERT_EQ(files.size(), 1u);
    const record::ReadRecord read = record::readRecord(fileText(files[0]));
    ASSERT_EQ(read.error, "");
    std::vector<std::string> written;
    int same = 0;
    int differs = 0;
    for (const record::RecordRow& row : read.rows) {
        if (row.event == record::Event::Write && row.track == 2)
            written.push_back(row.data);
        if (row.event == record::Event::Read) {
            same += row.outcome == "same";
            differs += row.outcome == "differs";
        }
    }
    // About a loop a second for six seconds; the last second may be lost.
    ASSERT_GE(written.size(), 3u) << fileText(files[0]);
    const std::vector<std::string> frames = framedTrack2(traced(trace, "in"));
    ASSERT_GE(frames.size(), written.size());
    EXPECT_EQ(std::vector(frames.begin(), frames.begin() + static_cast<long>(written.size())),
              written);
    // Every third read answer was changed by the reader: one track of it differs.
    EXPECT_GE(same, 2);
    EXPECT_GE(differs, 1);
    EXPECT_LE(differs, static_cast<int>(written.size()) + 1);
}

} // namespace
} // namespace dornal
