#include "record_row.h"

#include <array>
#include <utility>

namespace dornal::record {

namespace {

constexpr std::array<std::pair<Event, std::string_view>, 8> kEventNames{{
    {Event::Setting, "setting"},
    {Event::Write, "write"},
    {Event::Read, "read"},
    {Event::Glitch, "glitch"},
    {Event::Reset, "reset"},
    {Event::Note, "note"},
    {Event::Summary, "summary"},
    {Event::End, "end"},
}};

} // namespace

std::string_view eventName(Event event) {
    for (const auto& [e, name] : kEventNames) {
        if (e == event) {
            return name;
        }
    }
    return {};
}

std::optional<Event> eventNamed(std::string_view name) {
    for (const auto& [e, n] : kEventNames) {
        if (n == name) {
            return e;
        }
    }
    return std::nullopt;
}

} // namespace dornal::record
