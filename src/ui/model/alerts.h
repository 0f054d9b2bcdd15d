#pragma once

#include <string_view>

namespace dornal {

// The window's two ways to alert the operator; tests replace them to count and answer.
class Alerts {
public:
    virtual ~Alerts() = default;
    virtual void beep() = 0;
    // A modal message with an OK button only and no icon; returns when it is closed. An
    // informative text (UTF-8) below the message says more, e.g. why something failed.
    virtual void messageBox(std::string_view text, std::string_view title,
                            std::string_view informative = {}) = 0;
};

} // namespace dornal
