#pragma once

#include "reader/answer_wait.h"

namespace dornal {

// What the window's status line and firmware box say when the reader lets the bench down.
inline constexpr const char* kAnswerTimeoutText = "No answer from the reader";
inline constexpr const char* kNotReadyText = "Reader not ready";
inline constexpr const char* kPortErrorText = "Port error";
inline constexpr const char* kAnswerTooLongText = "Answer too long";

inline constexpr const char* kSelectTrackMessage = "Please select track to test!";

// The text for a wait that did not end whole; `timeoutText` says what a silent reader failed
// to send.
inline const char* incompleteText(Outcome outcome, const char* timeoutText) {
    switch (outcome) {
    case Outcome::TimedOut:
        return timeoutText;
    case Outcome::TooLong:
        return kAnswerTooLongText;
    default:
        return kPortErrorText;
    }
}

} // namespace dornal
