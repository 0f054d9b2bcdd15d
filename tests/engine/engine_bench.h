#pragma once

#include "engine/test_mode.h"
#include "scripted_reader.h"
#include "support/bench_fixture.h"

#include <string>
#include <vector>

namespace dornal::testing {

// A connected window with a scripted reader on the line, driven tick by tick.
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
    void start() { form.Command2[0].click(); }
    void abandon() { form.Command2[1].click(); }
    void tick() { form.Timer1.tick(); }

    // The commands sent since the last call, by name, and their raw bytes.
    std::vector<std::string> takeNames() {
        auto names = commandNames(bench.port.commandTexts());
        bench.port.clearRecord();
        return names;
    }
    std::vector<std::string> takeTexts() {
        auto texts = bench.port.commandTexts();
        bench.port.clearRecord();
        return texts;
    }

    const std::string& loops() const { return form.Label1[0].caption(); }
    const std::string& data(int track) const {
        return form.Text1[static_cast<std::size_t>(track - 1)].text();
    }
};

} // namespace dornal::testing
