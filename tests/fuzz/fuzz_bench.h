#pragma once

#include "bench_fixture.h"
#include "ui/entry_rules.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace dornal::fuzzing {

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A fuzz finding: libFuzzer reports the input that led here.
inline void require(bool condition) {
    if (!condition)
        std::abort();
}

inline bool isDecimal(const std::string& text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// What must hold after anything the reader or the operator sent.
inline void checkWindow(const Form1& form) {
    for (int i = 0; i < 3; ++i) {
        const TextBox& box = form.Text1[static_cast<std::size_t>(i)];
        require(box.text().size() <= static_cast<std::size_t>(box.maxLength()));
        require(box.text().empty() || trackAccepts(i, box.text().back()));
        require(form.Label3[static_cast<std::size_t>(i)].caption() ==
                std::to_string(box.text().size()));
    }
    for (const auto& label : form.Label1)
        require(isDecimal(label.caption()));
    for (int track = 1; track <= 3; ++track) {
        auto& f = const_cast<Form1&>(form);
        require(isDecimal(f.writeCounter(track).caption()));
        require(isDecimal(f.readCounter(track).caption()));
    }
    for (char c : form.Label5.caption())
        require(c >= 32 && c < 127);
}

} // namespace dornal::fuzzing
