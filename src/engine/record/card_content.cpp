#include "card_content.h"

#include "shared/tracks.h"

namespace dornal::record {

namespace {

bool isTrack(int track) {
    return track >= 1 && track <= kTrackCount;
}

} // namespace

void CardContent::writeDone(int track, std::string_view data) {
    if (isTrack(track)) {
        tracks_[trackIndex(track)] = std::string(data);
    }
}

void CardContent::writeFailed(int track) {
    if (isTrack(track)) {
        tracks_[trackIndex(track)].reset();
    }
}

std::optional<std::string_view> CardContent::expected(int track) const {
    if (!isTrack(track) || !tracks_[trackIndex(track)]) {
        return std::nullopt;
    }
    return std::string_view(*tracks_[trackIndex(track)]);
}

} // namespace dornal::record
