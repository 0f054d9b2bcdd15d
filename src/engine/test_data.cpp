#include "test_data.h"

#include <array>
#include <string>

namespace dornal {
namespace {

// Each loop pattern fills its box exactly, so a loop never grows the data beyond the box.
constexpr std::string_view kLoopPattern1 =
    "1111111111000000000011111111110000000000111111111100000000001111111111000000";
constexpr std::string_view kLoopPattern2 = "2222222222000000000022222222220000000";
constexpr std::string_view kLoopPattern3 =
    "333333333300000000003333333333000000000033333333330000000000333333333300000000003333333333"
    "00000000003333333";
static_assert(kLoopPattern1.size() == kTrackMaxLength[0]);
static_assert(kLoopPattern2.size() == kTrackMaxLength[1]);
static_assert(kLoopPattern3.size() == kTrackMaxLength[2]);

constexpr std::array<std::string_view, 3> kLoopPatterns{kLoopPattern1, kLoopPattern2,
                                                        kLoopPattern3};
constexpr std::array<std::string_view, 3> kSinglePatterns{"1123456789", "2123456789", "3123456789"};

// The serial number takes the last four characters of the data.
constexpr std::size_t kSerialDigits = 4;
constexpr std::uint64_t kSerialLimit = 10000;
constexpr std::string_view kEmptySerial = "0000";

} // namespace

std::string_view defaultPattern(int track, PatternSet set) {
    if (track < 1 || track > kTrackCount)
        return {};
    return set == PatternSet::Loop ? kLoopPatterns[trackIndex(track)]
                                   : kSinglePatterns[trackIndex(track)];
}

char testCharacter(int track, bool isoCharSet, std::uint64_t n) {
    const std::string_view alphabet =
        track == 1 ? kTrack1Alphabet : (isoCharSet ? kTrack3Alphabet : kTrack2Alphabet);
    return alphabet[n % alphabet.size()];
}

std::string serialNumber(std::uint64_t total) {
    if (total >= kSerialLimit)
        return std::string(kEmptySerial);
    const std::string digits = std::to_string(total);
    return std::string(kSerialDigits - digits.size(), '0') + digits;
}

void TestData::prepareTicked(PatternSet set, bool lastWriteFailed) {
    for (int track : kFrameTrackOrder) {
        if (holds(panel_.tickedTracks(), track)) {
            fillEmpty(track, set);
            advance(track, lastWriteFailed);
        }
    }
}

void TestData::advanceTicked(bool lastWriteFailed) {
    for (int track : kFrameTrackOrder)
        if (holds(panel_.tickedTracks(), track))
            advance(track, lastWriteFailed);
}

void TestData::fillEmpty(int track, PatternSet set) {
    if (!panel_.boxText(Row::Data, track).empty())
        return;
    panel_.setBoxText(Row::Data, track, defaultPattern(track, set));
    // The box cuts the zeros off a loop pattern, which already fills it.
    if (panel_.writeConfig() == WriteConfig::AddSerialNumber)
        panel_.setBoxText(Row::Data, track,
                          panel_.boxText(Row::Data, track) + std::string(kEmptySerial));
}

void TestData::advance(int track, bool lastWriteFailed) {
    const auto config = panel_.writeConfig();
    if (config == WriteConfig::AddTestChar && !lastWriteFailed)
        appendTestCharacter(track); // the data of a failed write are written again
    else if (config == WriteConfig::AddSerialNumber)
        putSerialNumber(track);
}

void TestData::appendTestCharacter(int track) {
    const bool iso = panel_.charSet() == CharSet::Iso;
    std::string data = panel_.boxText(Row::Data, track);
    data += testCharacter(track, iso, counters_.totals[trackIndex(track)]);
    const auto maxLength = static_cast<std::size_t>(kTrackMaxLength[trackIndex(track)]);
    // A full box keeps its first character and drops its second, so the data stays at the
    // maximum length and still changes with every write.
    if (data.size() > maxLength)
        data = data.substr(0, 1) + data.substr(data.size() - (maxLength - 1));
    panel_.setBoxText(Row::Data, track, data);
}

void TestData::putSerialNumber(int track) {
    const std::string data = panel_.boxText(Row::Data, track);
    // A text shorter than the serial is replaced by the serial alone.
    const std::size_t keep = data.size() > kSerialDigits ? data.size() - kSerialDigits : 0;
    panel_.setBoxText(Row::Data, track,
                      data.substr(0, keep) + serialNumber(counters_.totals[trackIndex(track)]));
}

} // namespace dornal
