#include "answer_shaping.h"

#include "sim_choices.h"

namespace dornal::sim {

std::optional<std::string> shapeAnswer(const Answer& answer, const Faults& faults) {
    if (faults.silent || (faults.neverReady && answer.kind == Answer::Kind::Ready)) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(faults.stray + answer.bytes.size());
    for (std::size_t i = 0; i < faults.stray; ++i) {
        bytes.push_back(choice::kStrayBytes[i % choice::kStrayBytes.size()]);
    }
    const std::size_t kept =
        std::min(answer.bytes.size(), faults.cut.value_or(answer.bytes.size()));
    bytes.append(answer.bytes, 0, kept);
    return bytes;
}

std::string garble(std::string_view bytes, std::minstd_rand& noise) {
    std::uniform_int_distribution<int> pick(choice::kNoiseFirst, 255);
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out.push_back(static_cast<char>(pick(noise)));
    }
    return out;
}

} // namespace dornal::sim
