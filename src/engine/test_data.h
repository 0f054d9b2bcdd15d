#pragma once

#include "panel.h"

#include <string_view>

namespace dornal {

enum class PatternSet { Loop, Single };

// The pattern an empty track box is filled with (track 1..3).
std::string_view defaultPattern(int track, PatternSet set);
// The character of the track's test alphabet that the n-th write appends.
char testCharacter(int track, bool isoCharSet, std::uint64_t n);
// The total as four digits; "0000" from 10000 on (the serial does not wrap round).
std::string serialNumber(std::uint64_t total);

// Prepares the data of the track boxes before each write, by "Write Config". The data live in
// the boxes, which the operator may edit during a run, so each step reads them anew.
class TestData {
public:
    TestData(Panel& panel, const Counters& counters) : panel_(panel), counters_(counters) {}

    // For the ticked tracks in frame order: an empty box gets the track's pattern (and "0000"
    // under "Add Serie Number"), then the data advance.
    void prepareTicked(PatternSet set, bool lastWriteFailed);
    // For the ticked tracks in frame order: nothing, one more test character (not after a
    // failed write), or the serial number in the last four characters.
    void advanceTicked(bool lastWriteFailed);

private:
    void fillEmpty(int track, PatternSet set);
    void advance(int track, bool lastWriteFailed);
    void appendTestCharacter(int track);
    void putSerialNumber(int track);

    Panel& panel_;
    const Counters& counters_;
};

} // namespace dornal
