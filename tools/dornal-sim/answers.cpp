#include "answers.h"

#include "shared/protocol.h"
#include "sim_choices.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace dornal::sim {

namespace {

using namespace protocol;

constexpr char ch(std::uint8_t byte) {
    return static_cast<char>(byte);
}

constexpr char kT3Marker = ch(kTrack3Marker);
constexpr char kT1Marker = ch(kTrack1Marker);

// One length-prefixed frame in the layout of the query itself: its two header bytes, the
// payload length, the payload and a closing byte that brings the sum of all bytes to 0 mod 256.
std::string firmwareFrame(std::string_view payload) {
    std::string frame{ch(kFirmwareQuery[0]), ch(kFirmwareQuery[1]),
                      ch(static_cast<std::uint8_t>(payload.size()))};
    frame.append(payload);
    unsigned sum = 0;
    for (char c : frame) {
        sum += static_cast<std::uint8_t>(c);
    }
    frame.push_back(ch(static_cast<std::uint8_t>(0x100 - (sum & 0xFF))));
    return frame;
}

} // namespace

WriteRequest splitFrameBody(std::string_view body) {
    WriteRequest request;
    const std::size_t track2End = std::min(body.find(kT3Marker), body.find(kT1Marker));
    request.data.track(2) = std::string(body.substr(0, track2End));
    if (!request.data.track(2).empty()) {
        request.tracks |= kTrack2;
    }
    std::string_view rest = track2End == std::string_view::npos ? "" : body.substr(track2End);
    if (rest.starts_with(kT3Marker)) {
        const std::size_t track3End = rest.find(kT1Marker);
        request.data.track(3) = std::string(rest.substr(1, track3End - 1));
        request.tracks |= kTrack3;
        rest = track3End == std::string_view::npos ? "" : rest.substr(track3End);
    }
    if (rest.starts_with(kT1Marker)) {
        request.data.track(1) = std::string(rest.substr(1));
        request.tracks |= kTrack1;
    }
    return request;
}

TrackSet tracksWritten(TrackSet carried) {
    if (carried == 0) {
        return kTrack2;
    }
    if (carried == (kTrack1 | kTrack3)) {
        return kAllTracks;
    }
    return carried;
}

std::string writeAnswer(TrackSet tracks, bool ok) {
    auto it = std::find_if(kWriteCodes.begin(), kWriteCodes.end(),
                           [tracks](const WriteCode& c) { return c.tracks == tracks; });
    if (it == kWriteCodes.end()) {
        return {};
    }
    std::string answer{ch(kEsc), ch(it->code)};
    answer.append(static_cast<std::size_t>(it->resultPosition - 1), choice::kWriteFiller);
    answer.push_back(ch(ok ? kWriteOk : kWriteFailed));
    return answer;
}

std::string readAnswer(const Card& card, TrackSet tracks) {
    std::string answer{ch(kEsc), ch(kReadAnswerKind)};
    // Track 2 carries no marker of its own.
    constexpr std::array<std::pair<int, std::string_view>, 3> kSegments{{
        {2, ""},
        {3, std::string_view(&kT3Marker, 1)},
        {1, std::string_view(&kT1Marker, 1)},
    }};
    for (const auto& [number, marker] : kSegments) {
        if (tracks & (1u << (number - 1))) {
            answer.append(marker);
            answer.append(card.track(number));
            answer.push_back(ch(kTrackEnd));
        }
    }
    answer.push_back(ch(kReadAnswerEnd));
    return answer;
}

std::string firmwareAnswer(std::string_view versionText) {
    versionText = versionText.substr(0, choice::kMaxVersionText);
    const std::string_view query(reinterpret_cast<const char*>(kFirmwareQuery.data()),
                                 kFirmwareQuery.size());
    std::string answer =
        firmwareFrame(query.substr(choice::kFirmwareCommandOffset, choice::kFirmwareCommandBytes));
    std::string payload(versionText);
    payload.append(choice::kVersionTrailer);
    answer.append(firmwareFrame(payload));
    return answer;
}

std::optional<TrackSet> tracksToRead(std::string_view escape) {
    constexpr std::array<std::pair<std::string_view, TrackSet>, 6> kReads{{
        {kReadT1, kTrack1},
        {kReadT2, kTrack2},
        {kReadT12, kTrack1 | kTrack2},
        {kReadT3, kTrack3},
        {kReadT123, kAllTracks},
        {kReadT23, kTrack2 | kTrack3},
    }};
    for (const auto& [command, tracks] : kReads) {
        if (command == escape) {
            return tracks;
        }
    }
    return std::nullopt;
}

} // namespace dornal::sim
