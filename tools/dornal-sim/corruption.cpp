#include "corruption.h"

#include "shared/tracks.h"

#include <string_view>
#include <vector>

namespace dornal::sim {

namespace {

// Track 1's test alphabet holds neither "?", which ends a read answer, nor DEL, which ends a
// track; "A" is left out too, as it marks track 3 after track 2 data.
constexpr char kNotInTrack1 = 'A';

} // namespace

char changedCharacter(int track, char c) {
    if (track != 1) {
        if (c >= '0' && c <= '8') {
            return static_cast<char>(c + 1);
        }
        return '0';
    }
    std::string_view alphabet = kTrack1Alphabet;
    std::size_t at = alphabet.find(c);
    if (at == std::string_view::npos) {
        at = alphabet.size() - 1; // so that the first step lands on the alphabet's start
    }
    do {
        at = (at + 1) % alphabet.size();
    } while (alphabet[at] == kNotInTrack1 || alphabet[at] == c);
    return alphabet[at];
}

bool changeOneCharacter(Card& card, TrackSet tracks, std::uint64_t nth) {
    std::vector<int> withData;
    for (int number : kFrameTrackOrder) {
        if (holds(tracks, number) && !card.track(number).empty()) {
            withData.push_back(number);
        }
    }
    if (withData.empty()) {
        return false;
    }
    const int number = withData[nth % withData.size()];
    std::string& data = card.track(number);
    const std::size_t position = (nth / withData.size()) % data.size();
    data[position] = changedCharacter(number, data[position]);
    return true;
}

} // namespace dornal::sim
