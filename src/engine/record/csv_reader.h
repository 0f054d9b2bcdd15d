#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// RFC 4180 CSV read back: fields split at commas, quoted fields with doubled quotes and line
// breaks inside them, rows ending in CR LF (or a bare LF).
namespace dornal::record {

struct CsvRow {
    std::vector<std::string> fields;
    std::size_t line = 0; // where the row begins, from 1
};

struct CsvText {
    std::vector<CsvRow> rows;
    // A last row without its line end, as a writer leaves it when it stops in the middle of a
    // row: its line and the text it got to.
    std::optional<std::size_t> cutLine;
    std::string cutText;
    // Set when the text is no CSV (a stray quote): where and why. The rows before it stay.
    std::string error;
};

CsvText parseCsv(std::string_view text);

} // namespace dornal::record
