#include "colors.h"

#include <array>

namespace dornal::view {
namespace {

constexpr Color kSystemColorFlag = 0x80000000;

// Roles for the system colour indexes 0..24, in index order.
constexpr std::array<QPalette::ColorRole, 25> kSystemRoles{
    QPalette::Button,          // 0 scroll bars
    QPalette::Window,          // 1 desktop
    QPalette::Highlight,       // 2 active title bar
    QPalette::Window,          // 3 inactive title bar
    QPalette::Window,          // 4 menu bar
    QPalette::Base,            // 5 window background
    QPalette::Shadow,          // 6 window frame
    QPalette::WindowText,      // 7 menu text
    QPalette::Text,            // 8 window text
    QPalette::HighlightedText, // 9 active title bar text
    QPalette::Mid,             // 10 active border
    QPalette::Mid,             // 11 inactive border
    QPalette::Dark,            // 12 application workspace
    QPalette::Highlight,       // 13 highlight
    QPalette::HighlightedText, // 14 highlight text
    QPalette::Button,          // 15 button face
    QPalette::Dark,            // 16 button shadow
    QPalette::PlaceholderText, // 17 disabled text
    QPalette::ButtonText,      // 18 button text
    QPalette::WindowText,      // 19 inactive title bar text
    QPalette::Light,           // 20 button highlight
    QPalette::Shadow,          // 21 3-D dark shadow
    QPalette::Midlight,        // 22 3-D light
    QPalette::ToolTipText,     // 23 tooltip text
    QPalette::ToolTipBase,     // 24 tooltip background
};

} // namespace

QColor toQColor(Color color, const QPalette& platform) {
    if (color & kSystemColorFlag) {
        const Color index = color & ~kSystemColorFlag;
        const auto role = index < kSystemRoles.size() ? kSystemRoles[index] : QPalette::Base;
        return platform.color(QPalette::Active, role);
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

QPalette withBackColor(Color color, QPalette platform) {
    const QColor back = toQColor(color, platform);
    platform.setColor(QPalette::Active, QPalette::Base, back);
    platform.setColor(QPalette::Inactive, QPalette::Base, back);
    return platform;
}

} // namespace dornal::view
