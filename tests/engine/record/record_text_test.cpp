// How the record writes fields, bytes, times, rows and file names.
#include "engine/record/record_format.h"
#include "engine/record/record_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace dornal::record {
namespace {

using namespace std::chrono;

// The record's times are local; the tests read them in UTC.
class UtcTime : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

// 2026-12-07T03:12:44.123 UTC.
const system_clock::time_point kTime = system_clock::from_time_t(1796613164) + milliseconds(123);

TEST(CsvField, QuotesOnlyFieldsWithACommaAQuoteOrALineBreak) {
    const struct {
        std::string text;
        std::string field;
    } table[] = {
        {"", ""},
        {"plain text 12", "plain text 12"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
        {"tab\tand 'single'", "tab\tand 'single'"},
    };
    for (const auto& row : table) {
        EXPECT_EQ(csvField(row.text), row.field) << row.text;
    }
}

TEST(LineBytesText, SaysEveryByteUnmistakably) {
    const struct {
        std::string bytes;
        std::string text;
    } table[] = {
        {"12=34", "12=34"},
        {"!\"#$&'()", "!\"#$&'()"},
        {"A\\B", "A\\\\B"},
        {std::string("\x00\x1f\x7f", 3), "\\x00\\x1F\\x7F"},
        {"\r\n", "\\x0D\\x0A"},
        {"\x80", "\xc2\x80"},
        {"caf\xe9", "caf\xc3\xa9"},
        {"\xff", "\xc3\xbf"},
        {"~ ?", "~ ?"},
    };
    for (const auto& row : table) {
        EXPECT_EQ(lineBytesText(row.bytes), row.text) << row.text;
    }
}

TEST(PlainText, KeepsUtf8AndEscapesControlBytesAndBackslashes) {
    EXPECT_EQ(plainText("/home/jos\xc3\xa9/x"), "/home/jos\xc3\xa9/x");
    EXPECT_EQ(plainText("a\nb\\c"), "a\\x0Ab\\\\c");
}

TEST_F(UtcTime, TimesAreLocalToTheMillisecondAndReadBack) {
    EXPECT_EQ(localTimeText(kTime), "2026-12-07T03:12:44.123");
    EXPECT_EQ(localTimeText(kTime + milliseconds(876) + microseconds(999)),
              "2026-12-07T03:12:44.999");
    EXPECT_EQ(parseLocalTime("2026-12-07T03:12:44.123"), kTime);
    for (const char* wrong :
         {"", "2026-12-07 03:12:44.123", "2026-12-07T03:12:44", "-026-12-07T03:12:44.123",
          "2026-12-07T03:12:44.12x", "2026-12-07T03:12:44.1234"}) {
        EXPECT_FALSE(parseLocalTime(wrong)) << wrong;
    }
}

TEST_F(UtcTime, RowsHoldTheirColumnsInOrder) {
    const struct {
        RecordRow row;
        std::string line;
    } table[] = {
        {{kTime, 2406, Event::Write, 1, "!\"#,", "1B 20 30 70- 0", "written", ""},
         "2026-12-07T03:12:44.123,2406,write,1,\"!\"\"#,\",1B 20 30 70- 0,written,\r\n"},
        {{kTime, 7, Event::Read, 2, std::string("1\x7f", 2), "", "differs", "position 2"},
         "2026-12-07T03:12:44.123,7,read,2,1\\x7F,,differs,position 2\r\n"},
        {{kTime, 0, Event::Setting, 0, "/dev/tty\\S0", "", "device", ""},
         "2026-12-07T03:12:44.123,0,setting,,/dev/tty\\\\S0,,device,\r\n"},
        {{kTime, 3, Event::Glitch, 0, "", "", "stray bytes dropped", "3 bytes"},
         "2026-12-07T03:12:44.123,3,glitch,,,,stray bytes dropped,3 bytes\r\n"},
        {{kTime, 9, Event::End, 3, "", "", "abandoned", "total=1 write=2, read=3\nx"},
         "2026-12-07T03:12:44.123,9,end,3,,,abandoned,\"total=1 write=2, read=3\\x0Ax\"\r\n"},
        {{kTime, 1, Event::Reset, 4, "", "", "", ""}, "2026-12-07T03:12:44.123,1,reset,,,,,\r\n"},
    };
    for (const auto& entry : table) {
        EXPECT_EQ(formatRow(entry.row), entry.line);
    }
}

TEST(EventNames, GoBothWays) {
    const char* names[] = {"setting", "write", "read", "glitch", "reset", "note", "summary", "end"};
    for (const char* name : names) {
        const auto event = eventNamed(name);
        ASSERT_TRUE(event) << name;
        EXPECT_EQ(eventName(*event), name);
    }
    EXPECT_FALSE(eventNamed("Write"));
    EXPECT_FALSE(eventNamed(""));
}

TEST_F(UtcTime, FileNamesCarryTheStartAndTheMode) {
    const struct {
        std::string mode;
        std::string name;
    } table[] = {
        {"Auto Write/Read &Loop", "2026-12-07_03-12-44_auto-write-read-loop"},
        {"Singal Writ&e", "2026-12-07_03-12-44_singal-write"},
        {"auto-read-loop", "2026-12-07_03-12-44_auto-read-loop"},
        {"  ../x  ", "2026-12-07_03-12-44_x"},
        {"", "2026-12-07_03-12-44"},
    };
    for (const auto& row : table) {
        EXPECT_EQ(recordBaseName(kTime, row.mode), row.name) << row.mode;
    }
}

} // namespace
} // namespace dornal::record
