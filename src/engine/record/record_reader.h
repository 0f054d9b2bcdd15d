#pragma once

#include "record_row.h"

#include <string>
#include <string_view>
#include <vector>

// A run's record read back from its CSV text.
namespace dornal::record {

struct ReadRecord {
    std::vector<RecordRow> rows;
    // The rows left out, each named by its line and why: a row cut off at the end of the file
    // (a crash in the middle of it), or a row that is not one of the record's.
    std::vector<std::string> skipped;
    // Set when the text is no record at all (no header, not CSV); then there are no rows.
    std::string error;
};

// Reads a record. The data of write and read rows stay as written (escapes and all).
ReadRecord readRecord(std::string_view text);

} // namespace dornal::record
