#include "trace.h"

#include "sim_error.h"

namespace dornal::sim {

std::string hexBytes(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!text.empty()) {
            text.push_back(' ');
        }
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0xF]);
    }
    return text;
}

Trace::~Trace() {
    if (ownsFile_) {
        std::fclose(out_);
    }
}

void Trace::open(const std::string& file) {
    if (file.empty()) {
        out_ = stderr;
        return;
    }
    out_ = std::fopen(file.c_str(), "a");
    if (out_ == nullptr) {
        throwSystemError("cannot open the trace file " + file);
    }
    ownsFile_ = true;
}

void Trace::bytes(std::string_view direction, std::string_view data) {
    line(direction, hexBytes(data));
}

void Trace::note(std::string_view text) {
    line("--", text);
}

void Trace::line(std::string_view tag, std::string_view text) {
    if (out_ == nullptr) {
        return;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
    std::fprintf(out_, "%11.6f %-3.*s %.*s\n", elapsed.count(), static_cast<int>(tag.size()),
                 tag.data(), static_cast<int>(text.size()), text.data());
    std::fflush(out_);
}

} // namespace dornal::sim
