// Records read back: CSV with quoted line breaks, a row cut off by a crash, files that are no
// record.
#include "engine/record/csv_reader.h"
#include "engine/record/record_format.h"
#include "engine/record/record_reader.h"
#include "engine/record/record_text.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

namespace dornal::record {
namespace {

using Fields = std::vector<std::string>;

std::vector<Fields> fieldsOf(const CsvText& csv) {
    std::vector<Fields> rows;
    for (const CsvRow& row : csv.rows) {
        rows.push_back(row.fields);
    }
    return rows;
}

TEST(ParseCsv, SplitsRowsAndFields) {
    const struct {
        const char* name;
        std::string text;
        std::vector<Fields> rows;
    } table[] = {
        {"nothing", "", {}},
        {"CR LF rows", "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
        {"bare LF rows", "a,b\nc\n", {{"a", "b"}, {"c"}}},
        {"empty fields", ",,\r\n", {{"", "", ""}}},
        {"empty line", "\r\n", {{""}}},
        {"quoted comma and quotes", "\"a,\"\"b\"\"\",c\r\n", {{"a,\"b\"", "c"}}},
        {"quoted line breaks", "\"one\r\ntwo\nthree\",x\r\n", {{"one\r\ntwo\nthree", "x"}}},
        {"empty quoted field", "\"\",\"\"\r\n", {{"", ""}}},
        {"lone CR inside a field", "a\rb\r\n", {{"a\rb"}}},
    };
    for (const auto& row : table) {
        const CsvText csv = parseCsv(row.text);
        EXPECT_EQ(fieldsOf(csv), row.rows) << row.name;
        EXPECT_FALSE(csv.cutLine) << row.name;
        EXPECT_EQ(csv.error, "") << row.name;
    }
}

TEST(ParseCsv, CountsLinesInsideQuotes) {
    const CsvText csv = parseCsv("a\r\n\"b\nc\nd\"\r\ne\r\n");
    ASSERT_EQ(csv.rows.size(), 3u);
    EXPECT_EQ(csv.rows[0].line, 1u);
    EXPECT_EQ(csv.rows[1].line, 2u);
    EXPECT_EQ(csv.rows[2].line, 5u);
}

TEST(ParseCsv, NamesARowCutOffAtTheEnd) {
    const struct {
        const char* name;
        std::string text;
        std::size_t rows;
        std::size_t cutLine;
        std::string cutText;
    } table[] = {
        {"no line end", "a,b\r\nc,d", 1, 2, "c,d"},
        {"inside quotes", "a\r\n\"b\nc", 1, 2, "\"b\nc"},
        {"after a comma", "a,", 0, 1, "a,"},
        {"half a line end", "a\r\nb\r", 1, 2, "b\r"},
    };
    for (const auto& row : table) {
        const CsvText csv = parseCsv(row.text);
        EXPECT_EQ(csv.rows.size(), row.rows) << row.name;
        EXPECT_EQ(csv.cutLine, row.cutLine) << row.name;
        EXPECT_EQ(csv.cutText, row.cutText) << row.name;
    }
}

TEST(ParseCsv, StrayQuotesAreNoCsv) {
    EXPECT_EQ(parseCsv("ok\r\na\"b\r\n").error,
              "line 2: a quote inside a field that does not begin with one");
    EXPECT_EQ(parseCsv("\"a\"b,c\r\n").error, "line 1: text after the closing quote of a field");
}

// Whatever a row holds, its CSV line reads back as the same eight fields, the data as
// lineBytesText says them, and the line end is the row's end.
RC_GTEST_PROP(ParseCsv, ReadsBackEveryFormattedRow, (std::string data, std::string detail)) {
    const RecordRow row{
        std::chrono::system_clock::time_point{}, 5, Event::Read, 2, data, "", "read", detail};
    const CsvText csv = parseCsv(formatRow(row) + formatRow(row));
    RC_ASSERT(csv.error.empty());
    RC_ASSERT(!csv.cutLine);
    RC_ASSERT(csv.rows.size() == 2u);
    const Fields& fields = csv.rows[1].fields;
    RC_ASSERT(fields.size() == 8u);
    RC_ASSERT(fields[4] == lineBytesText(data));
    RC_ASSERT(fields[7] == plainText(detail));
}

const std::string kHeader = std::string(kRecordHeader) + "\r\n";

TEST(ReadRecord, TakesTheRowsOfARecord) {
    const ReadRecord record =
        readRecord(kHeader + "2026-12-07T03:12:44.123,12,write,2,\"1,2\",1B 72 70- 0,"
                             "written,\r\n"
                             "2026-12-07T03:12:45.000,12,end,,,,abandoned,loops=12\r\n");
    EXPECT_EQ(record.error, "");
    EXPECT_TRUE(record.skipped.empty());
    ASSERT_EQ(record.rows.size(), 2u);
    EXPECT_EQ(record.rows[0].loop, 12u);
    EXPECT_EQ(record.rows[0].event, Event::Write);
    EXPECT_EQ(record.rows[0].track, 2);
    EXPECT_EQ(record.rows[0].data, "1,2");
    EXPECT_EQ(record.rows[0].answer, "1B 72 70- 0");
    EXPECT_EQ(record.rows[0].outcome, "written");
    EXPECT_EQ(record.rows[1].event, Event::End);
    EXPECT_EQ(record.rows[1].track, 0);
    EXPECT_EQ(record.rows[1].detail, "loops=12");
    EXPECT_EQ(record.rows[1].time - record.rows[0].time, std::chrono::milliseconds(877));
}

TEST(ReadRecord, SkipsAndNamesRowsThatAreNoneOfTheRecords) {
    const ReadRecord record = readRecord(kHeader + "2026-12-07T03:12:44.123,1,read,2,1,,read,\r\n"
                                                   "2026-12-07T03:12:44.123,1,read,2,1,,read\r\n"
                                                   "yesterday,1,read,2,1,,read,\r\n"
                                                   "2026-12-07T03:12:44.123,-1,read,2,1,,read,\r\n"
                                                   "2026-12-07T03:12:44.123,1,wrote,2,1,,read,\r\n"
                                                   "2026-12-07T03:12:44.123,1,read,4,1,,read,\r\n"
                                                   "2026-12-07T03:12:44.123,2,read,3,1,,same,\r\n"
                                                   "2026-12-07T03:12:44.200,2,read,1,\"A\nB");
    EXPECT_EQ(record.error, "");
    ASSERT_EQ(record.rows.size(), 2u);
    EXPECT_EQ(record.rows[1].outcome, "same");
    const std::vector<std::string> skipped = {
        "line 3: 7 fields instead of 8",
        "line 4: no time \"yesterday\"",
        "line 5: no loop count \"-1\"",
        "line 6: no event \"wrote\"",
        "line 7: no track \"4\"",
        "line 9: cut off in the middle of the row (\"2026-12-07T03:12:44.200,2,read,1,\"A\\x0AB\")",
    };
    EXPECT_EQ(record.skipped, skipped);
}

TEST(ReadRecord, RefusesTextsThatAreNoRecord) {
    const struct {
        const char* name;
        std::string text;
        std::string error;
    } table[] = {
        {"empty", "",
         "not a run record: its first line is not \"" + std::string(kRecordHeader) + "\""},
        {"other header", "time,loop,event\r\n1,2,3\r\n",
         "not a run record: its first line is not \"" + std::string(kRecordHeader) + "\""},
        {"header cut off", "time,loop,ev",
         "not a run record: its first line is not \"" + std::string(kRecordHeader) + "\""},
        {"not CSV", "\x89PNG\r\n\x1a\n\"\x01\"zz",
         "not a CSV file (line 3: text after the closing quote of a field)"},
    };
    for (const auto& row : table) {
        const ReadRecord record = readRecord(row.text);
        EXPECT_EQ(record.error, row.error) << row.name;
        EXPECT_TRUE(record.rows.empty()) << row.name;
    }
}

} // namespace
} // namespace dornal::record
