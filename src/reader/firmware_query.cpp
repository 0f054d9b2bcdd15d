#include "reader_link.h"

#include "shared/protocol.h"

#include <array>
#include <limits>

namespace dornal {
namespace {

// One answer frame: two header bytes, the payload length L, L payload bytes, a closing byte.
// There is room for the longest payload and its closing byte, so no frame loses a byte.
constexpr int kLengthPosition = protocol::kFirmwareHeaderBytes;
constexpr int kPayloadStart = kLengthPosition + 1;
constexpr int kLongestPayload = std::numeric_limits<std::uint8_t>::max();
using FrameBuffer = std::array<std::uint8_t, kPayloadStart + kLongestPayload + 1>;

// Stores one frame from position 0; the closing byte lands just behind the payload.
Task<Outcome> readFrame(AnswerWait& wait, FrameBuffer& frame) {
    int end = kPayloadStart; // grows to the closing byte once the length is known
    for (int p = 0; p <= end; ++p) {
        const AwaitedByte next = co_await wait.next();
        if (next.outcome != Outcome::Complete)
            co_return next.outcome;
        frame[static_cast<std::size_t>(p)] = next.byte;
        if (p == kLengthPosition)
            end = kPayloadStart + next.byte;
    }
    co_return Outcome::Complete;
}

// The first L - 2 payload bytes, each the Latin-1 character of its code; the last two
// payload bytes are not part of the version.
std::string versionText(const FrameBuffer& frame) {
    const int shown = frame[kLengthPosition] - protocol::kFirmwareTrailingPayload;
    std::string text;
    for (int k = 0; k < shown; ++k)
        text.push_back(static_cast<char>(frame[static_cast<std::size_t>(kPayloadStart + k)]));
    return text;
}

} // namespace

Task<FirmwareReply> ReaderLink::queryFirmware() {
    co_await sendBytes({protocol::kFirmwareQuery.begin(), protocol::kFirmwareQuery.end()},
                       Drain::First);
    FrameBuffer frame{};
    AnswerWait wait(input_);
    // The first frame is read only to get past it; the second overwrites it.
    Outcome outcome = co_await readFrame(wait, frame);
    if (outcome == Outcome::Complete)
        outcome = co_await readFrame(wait, frame);
    if (outcome != Outcome::Complete)
        co_return FirmwareReply{outcome, {}};
    co_return FirmwareReply{outcome, versionText(frame)};
}

} // namespace dornal
