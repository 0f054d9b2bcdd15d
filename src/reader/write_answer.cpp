#include "answer_reception.h"

#include "protocol.h"

namespace dornal {
namespace {

// The status text shows the answer up to its first byte outside this range.
constexpr std::uint8_t kFirstShown = 32;
constexpr std::uint8_t kLastShown = 127;

void appendHex(std::string& text, std::uint8_t byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0F]);
}

// The tracks of the answer's code byte, when the result byte of that code reports success.
TrackSet writtenTracks(const AnswerBuffer& answer) {
    for (const protocol::WriteCode& row : protocol::kWriteCodes)
        if (row.code == answer.at(0))
            return answer.at(row.resultPosition) == protocol::kWriteOk ? row.tracks : TrackSet{0};
    return 0;
}

} // namespace

std::string writeStatusText(const AnswerBuffer& answer) {
    std::string text;
    appendHex(text, protocol::kEsc);
    for (int i = 0; i < answer.length; ++i) {
        const std::uint8_t byte = answer.at(i);
        if (byte < kFirstShown || byte > kLastShown)
            break;
        text.push_back(' ');
        appendHex(text, byte);
    }
    // Then the position just behind the answer, never filled, so always 0.
    text += "- 0";
    return text;
}

TrackSet DecodeWriteAnswer(Context& context, const AnswerBuffer& answer) {
    const TrackSet tracks = writtenTracks(answer);
    context.form.Label5.setCaption(writeStatusText(answer));
    return tracks;
}

} // namespace dornal
