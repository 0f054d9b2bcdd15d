#pragma once

#include "ui/model/form1.h"

#include <cstdint>

namespace dornal {

// Adds `delta` to a counter label: its leading number plus delta, as exact decimal text.
void addToCounter(Label& counter, int delta = 1);

// A write answer's tracks (bit 0 track 1 ... bit 2 track 3): totals first, then write counters,
// each in the order track 1, 2, 3. An empty set changes nothing.
void CountWriteAnswer(Form1& form, std::uint8_t tracks);

// One present segment of a read answer; totals are left alone in "Auto Write/Read Loop".
void CountReadSegment(Form1& form, int track, bool hasData);

} // namespace dornal
