#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace dornal::record {

// What the card should hold per track during a run, as far as the bench knows: the data of
// the last write of the track that the reader reported as done. Unknown before the first such
// write of the run, and after a write of the track that failed until the next one is done.
class CardContent {
public:
    void writeDone(int track, std::string_view data);
    void writeFailed(int track);
    // The data the track should hold; nullopt when unknown (no verdict on a read).
    std::optional<std::string_view> expected(int track) const;

private:
    std::array<std::optional<std::string>, 3> tracks_;
};

} // namespace dornal::record
