#pragma once

#include "engine/test_mode.h"
#include "support/bench_fixture.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace dornal::testing {

inline const std::string kTrailer = "\x1d\x1b\\\x1bj";

// Names a command by its bytes: "Abandon", "ReadyCheck", "Itrip", "Write", "ReadT123"...
inline std::string commandName(const std::string& bytes) {
    static const std::map<std::string, std::string> names{
        {"0", "Abandon"},   {"e", "ReadyCheck"}, {"a", "ResetReader"}, {"*", "Itrip"},
        {" ", "ReadT1"},    {"]", "ReadT2"},     {"#", "ReadT12"},     {"T]", "ReadT3"},
        {"\"", "ReadT123"}, {"B]", "ReadT23"}};
    if (bytes.size() >= 2 && bytes[0] == '\x1b' && bytes[1] == 't')
        return "Write";
    const auto found = bytes.empty() ? names.end() : names.find(bytes.substr(1));
    return found != names.end() ? found->second : "?" + bytes;
}

// A reader behind the fake port. It keeps the data of the last write frame as the card,
// answers a frame with ESC, double quote (all three tracks), "0", result, a read command with
// all three tracks of the card, and ReadyCheck with "y". Its answers wait for the next tick.
struct ScriptedReader {
    explicit ScriptedReader(FakeSerialPort& port) : port(port) {
        port.onWrite = [this](const std::vector<std::uint8_t>& bytes) {
            answer(std::string(bytes.begin(), bytes.end()));
        };
    }
    void answer(const std::string& command) {
        const std::string name = commandName(command);
        if (name == "Write") {
            frames.push_back(command.substr(2, command.size() - 2 - kTrailer.size()));
            const std::string& data = frames.back();
            const auto t3 = data.find('A'), t1 = data.find('~', t3 == data.npos ? 0 : t3);
            card = {t1 == data.npos ? "" : data.substr(t1 + 1), data.substr(0, std::min(t3, t1)),
                    t3 == data.npos ? "" : data.substr(t3 + 1, t1 - t3 - 1)};
            if (answerWrites)
                port.feed(std::string("\x1b\"0") + writeResult);
        } else if (name == "ReadyCheck" && answerReady) {
            port.feed("y");
        } else if (name.rfind("Read", 0) == 0 && answerReads) {
            port.feed("\x1bs" + card[1] + "\x7f" + "A" + card[2] + "\x7f~" + card[0] + "\x7f?");
        }
    }

    FakeSerialPort& port;
    char writeResult = 'p';
    bool answerWrites = true, answerReads = true, answerReady = true;
    std::array<std::string, 3> card; // tracks 1..3
    std::vector<std::string> frames; // the data of every write frame, in order
};

// A connected window with the scripted reader on the line, driven tick by tick.
struct EngineBench {
    Bench bench;
    ScriptedReader reader{bench.port};
    Form1& form = bench.form;
    SharedValues& shared = bench.shared;

    EngineBench() { bench.connect(); }

    void select(TestMode mode) { form.Option1[static_cast<int>(mode)].select(); }
    void perLoop(std::string_view writes, std::string_view reads) {
        form.tx_WriteTimesPerLoop.setText(writes);
        form.tx_ReadTimesPerLoop.setText(reads);
    }
    void ticks(const std::array<int, 3>& values) {
        for (std::size_t i = 0; i < 3; ++i)
            form.Check1[i].setValue(values[i]);
    }
    void start() { form.Command2[0].click(); }
    void tick() { form.Timer1.tick(); }

    // The commands sent since the last call, as raw bytes or by name.
    std::vector<std::string> takeTexts() {
        auto texts = bench.port.commandTexts();
        bench.port.clearRecord();
        return texts;
    }
    std::vector<std::string> takeNames() {
        std::vector<std::string> names;
        for (const auto& text : takeTexts())
            names.push_back(commandName(text));
        return names;
    }

    const std::string& loops() const { return form.Label1[0].caption(); }
    const std::string& data(int track) const {
        return form.Text1[static_cast<std::size_t>(track - 1)].text();
    }
};

} // namespace dornal::testing
