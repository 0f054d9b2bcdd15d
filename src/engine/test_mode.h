#pragma once

#include "ui/model/form1.h"

#include <optional>

namespace dornal {

// The test modes in the order of the Option1 buttons.
enum class TestMode {
    WriteLoop = 0,    // "Auto &Write Loop"
    ReadLoop = 1,     // "Auto &Read Loop"
    SingleWrite = 2,  // "Singal Writ&e"
    SingleRead = 3,   // "Sin&gal Read"
    WriteReadLoop = 4 // "Auto Write/Read &Loop"
};

// The first selected Option1 button decides; none when no button is selected.
inline std::optional<TestMode> selectedMode(const Form1& form) {
    const int index = form.Option1.selectedIndex();
    if (index < 0)
        return std::nullopt;
    return static_cast<TestMode>(index);
}

} // namespace dornal
