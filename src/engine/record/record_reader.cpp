#include "record_reader.h"

#include "csv_reader.h"
#include "record_format.h"
#include "record_text.h"

#include <charconv>

namespace dornal::record {

namespace {

constexpr std::size_t kColumns = 8;
// How much of a cut-off row its name quotes.
constexpr std::size_t kQuotedText = 40;

std::optional<std::uint64_t> count(std::string_view text) {
    std::uint64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> trackNumber(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    if (text == "1" || text == "2" || text == "3") {
        return text[0] - '0';
    }
    return std::nullopt;
}

// The row, or why it is none of the record's.
std::string toRow(const std::vector<std::string>& fields, RecordRow& row) {
    if (fields.size() != kColumns) {
        return std::to_string(fields.size()) + " fields instead of " + std::to_string(kColumns);
    }
    const auto time = parseLocalTime(fields[0]);
    const auto loop = count(fields[1]);
    const auto event = eventNamed(fields[2]);
    const auto track = trackNumber(fields[3]);
    if (!time) {
        return "no time \"" + fields[0] + "\"";
    }
    if (!loop) {
        return "no loop count \"" + fields[1] + "\"";
    }
    if (!event) {
        return "no event \"" + fields[2] + "\"";
    }
    if (!track) {
        return "no track \"" + fields[3] + "\"";
    }
    row = RecordRow{*time, *loop, *event, *track, fields[4], fields[5], fields[6], fields[7]};
    return {};
}

std::string joined(const std::vector<std::string>& fields) {
    std::string out;
    for (const std::string& field : fields) {
        if (!out.empty()) {
            out += ',';
        }
        out += field;
    }
    return out;
}

std::string lineName(std::size_t line) {
    return "line " + std::to_string(line);
}

} // namespace

ReadRecord readRecord(std::string_view text) {
    ReadRecord record;
    CsvText csv = parseCsv(text);
    if (!csv.error.empty()) {
        record.error = "not a CSV file (" + csv.error + ")";
        return record;
    }
    if (csv.rows.empty() || joined(csv.rows.front().fields) != kRecordHeader) {
        record.error =
            "not a run record: its first line is not \"" + std::string(kRecordHeader) + "\"";
        return record;
    }
    for (std::size_t i = 1; i < csv.rows.size(); ++i) {
        RecordRow row;
        const std::string why = toRow(csv.rows[i].fields, row);
        if (why.empty()) {
            record.rows.push_back(std::move(row));
        } else {
            record.skipped.push_back(lineName(csv.rows[i].line) + ": " + why);
        }
    }
    if (csv.cutLine) {
        std::string shown = csv.cutText.substr(0, kQuotedText);
        record.skipped.push_back(lineName(*csv.cutLine) + ": cut off in the middle of the row (\"" +
                                 plainText(shown) + "\")");
    }
    return record;
}

} // namespace dornal::record
