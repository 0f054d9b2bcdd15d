// dornal-report: the summary of a record, records that are cut off or none at all, the command
// line, and the picture's marks where the incidents are.
#include "report_cli.h"
#include "run_summary.h"
#include "timeline.h"

#include "engine/record/record_format.h"
#include "engine/record/record_reader.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace dornal::report {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using record::Event;
using record::RecordRow;

const system_clock::time_point kStart = system_clock::from_time_t(1796613164);

class Report : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        char pattern[] = "/tmp/dornal-report-XXXXXX";
        folder_ = mkdtemp(pattern);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    std::string file(const std::string& name, const std::string& text) const {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    fs::path folder_;
};

struct ReportRun {
    int status = 0;
    std::string out;
    std::string err;
};

ReportRun report(std::vector<std::string_view> args) {
    std::ostringstream out;
    std::ostringstream err;
    ReportRun run;
    run.status = runReport(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// Rows written as "seconds after the start,loop,event,track,data,answer,outcome,detail".
std::string record(const std::vector<std::string>& rows) {
    std::string text = std::string(record::kRecordHeader) + "\r\n";
    for (const std::string& row : rows) {
        const std::size_t comma = row.find(',');
        const auto at = kStart + seconds(std::stoi(row.substr(0, comma)));
        text += record::formatRow(RecordRow{at, 0, Event::Note, 0, "", "", "", ""}).substr(0, 23) +
                row.substr(comma) + "\r\n";
    }
    return text;
}

std::string summaryOf(const std::vector<std::string>& rows) {
    const record::ReadRecord read = record::readRecord(record(rows));
    EXPECT_EQ(read.error, "");
    return summaryText(summarize(read.rows), read.skipped);
}

TEST_F(Report, SummarisesEachTrackAndTheReader) {
    const struct {
        const char* name;
        std::vector<std::string> rows;
        std::string summary;
    } table[] = {
        {"no rows",
         {},
         "no rows\nended: no end row (the record stops there)\n"
         "reader (no single track):\n  glitches: none\n  no incident\n"},
        {"a write/read loop with every outcome",
         {"0,0,setting,,COM 1,,port,", "1,0,write,2,12,1B 72 70- 0,written,",
          "2,0,read,2,12,,same,", "3,1,write,2,13,1B 72 71- 0,failed,",
          "4,1,read,2,12,,no verdict,", "5,2,write,2,14,1B 72 70- 0,written,",
          "6,2,read,2,15,,differs,", "7,3,glitch,,,,timed out,awaiting a read answer",
          "8,3,glitch,,,,stray bytes dropped,3 bytes", "9,3,glitch,,,,stray bytes dropped,1 bytes",
          "10,3,end,2,,,abandoned,total=2 write=2 read=3 checked=2 differed=1",
          "11,3,end,,,,abandoned,loops=3"},
         "from 2026-12-07T03:12:44.000 to 2026-12-07T03:12:55.000, last loop 3\n"
         "ended: abandoned\n"
         "track 2:\n"
         "  writes 2 done, 1 failed; reads 3; checks 1 same, 1 differing, 1 no verdict\n"
         "  glitches: none\n"
         "  first incident 2026-12-07T03:12:47.000 in loop 1: failed write\n"
         "  last incident 2026-12-07T03:12:50.000 in loop 2: differs\n"
         "  at the end: total=2 write=2 read=3 checked=2 differed=1\n"
         "reader (no single track):\n"
         "  glitches: 2 stray bytes dropped, 1 timed out\n"
         "  first incident 2026-12-07T03:12:51.000 in loop 3: timed out\n"
         "  last incident 2026-12-07T03:12:53.000 in loop 3: stray bytes dropped\n"},
        {"tracks 1 and 3, a glitch of track 3, a limited record",
         {"0,0,write,3,1,1B 22 30 70- 0,written,", "0,0,write,1,A,1B 22 30 70- 0,written,",
          "60,5,note,,,,,the record passed 64 MiB", "61,5,glitch,3,,,not ready,",
          "62,6,read,1,A,,read,", "63,6,end,,,,window closed,loops=6"},
         "from 2026-12-07T03:12:44.000 to 2026-12-07T03:13:47.000, last loop 6\n"
         "ended: window closed\n"
         "track 1:\n"
         "  writes 1 done, 0 failed; reads 1; checks 0 same, 0 differing, 0 no verdict\n"
         "  glitches: none\n  no incident\n"
         "track 3:\n"
         "  writes 1 done, 0 failed; reads 0; checks 0 same, 0 differing, 0 no verdict\n"
         "  glitches: 1 not ready\n"
         "  first incident 2026-12-07T03:13:45.000 in loop 5: not ready\n"
         "  last incident 2026-12-07T03:13:45.000 in loop 5: not ready\n"
         "reader (no single track):\n  glitches: none\n  no incident\n"
         "note 2026-12-07T03:13:44.000 in loop 5: the record passed 64 MiB\n"},
    };
    for (const auto& row : table) {
        EXPECT_EQ(summaryOf(row.rows), row.summary) << row.name;
    }
}

TEST_F(Report, ReadsARecordCutOffMidRowUpToThatRow) {
    std::string text =
        record({"1,0,write,2,12,1B 72 70- 0,written,", "2,0,write,2,12,1B 72 71- 0,failed,"});
    text += "2026-12-07T03:12:47.000,1,wri";
    const std::string path = file("cut.csv", text);
    const ReportRun run = report({path});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("  writes 1 done, 1 failed; reads 0;"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("ended: no end row"), std::string::npos) << run.out;
    EXPECT_TRUE(run.out.ends_with(
        "skipped line 4: cut off in the middle of the row (\"2026-12-07T03:12:47.000,1,wri\")\n"))
        << run.out;
}

TEST_F(Report, RefusesFilesThatAreNoRecord) {
    const struct {
        const char* name;
        std::string text;
        std::string error;
    } table[] = {
        {"other CSV", "a,b\r\n1,2\r\n", "is not a run record: its first line is not \""},
        {"not CSV", "\x89PNG\r\n\"x\"y\r\n", "is not a CSV file (line 2: "},
        {"empty", "", "is not a run record"},
    };
    for (const auto& row : table) {
        const std::string path = file("wrong.csv", row.text);
        const ReportRun run = report({path});
        EXPECT_EQ(run.status, 1) << row.name;
        EXPECT_EQ(run.out, "") << row.name;
        EXPECT_TRUE(run.err.starts_with("dornal-report: " + path + " " + row.error)) << run.err;
    }
    const ReportRun missing = report({(folder_ / "none.csv").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "dornal-report: cannot read " + (folder_ / "none.csv").string() +
                               ": No such file or directory\n");
}

TEST_F(Report, WrongCommandLinesGetTheUsageAndStatusTwo) {
    const std::string path = file("r.csv", record({}));
    const struct {
        std::vector<std::string_view> args;
        std::string error;
    } table[] = {
        {{}, "which record? Name its CSV file"},
        {{"--pgn", path}, "unknown option --pgn"},
        {{path, "--png"}, "--png needs a file name"},
        {{"--png=", path}, "--png needs a file name"},
        {{path, path}, "one record at a time, not also " + path},
    };
    for (const auto& row : table) {
        const ReportRun run = report(row.args);
        EXPECT_EQ(run.status, 2) << row.error;
        EXPECT_EQ(run.out, "") << row.error;
        EXPECT_TRUE(run.err.starts_with("dornal-report: " + row.error + "\nUsage: dornal-report"))
            << run.err;
    }
    const ReportRun help = report({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: dornal-report [--png FILE] RECORD.csv\n"));
    EXPECT_NE(help.out.find("--png FILE"), std::string::npos);
}

// A run of an hour: a loop every 10 s for the first half hour, none after; a failed write of
// track 2 at 10 min, a difference on track 3 at 30 min, a glitch of track 1 at 20 min and one
// of no single track at 50 min.
std::vector<RecordRow> hourOfRun() {
    std::vector<RecordRow> rows;
    for (int s = 0; s <= 1800; s += 10) {
        rows.push_back({kStart + seconds(s), static_cast<std::uint64_t>(s / 10), Event::Write, 2,
                        "12", "", "written", ""});
    }
    rows.push_back({kStart + minutes(10), 60, Event::Write, 2, "12", "", "failed", ""});
    rows.push_back({kStart + minutes(20), 120, Event::Glitch, 1, "", "", "not ready", ""});
    rows.push_back({kStart + minutes(30), 180, Event::Read, 3, "12", "", "differs", ""});
    rows.push_back({kStart + minutes(50), 180, Event::Glitch, 0, "", "", "timed out", ""});
    rows.push_back({kStart + minutes(60), 180, Event::End, 0, "", "", "abandoned", ""});
    std::sort(rows.begin(), rows.end(),
              [](const RecordRow& a, const RecordRow& b) { return a.time < b.time; });
    return rows;
}

// The columns within `area` where a pixel has `color`.
std::vector<int> columnsWith(const QImage& image, const QRect& area, const QColor& color) {
    std::vector<int> columns;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (image.pixelColor(x, y) == color) {
                columns.push_back(x);
                break;
            }
        }
    }
    return columns;
}

TEST_F(Report, ThePictureMarksEachIncidentInItsBandAtItsTime) {
    const std::vector<RecordRow> rows = hourOfRun();
    const QImage image = drawTimeline(rows);
    ASSERT_EQ(image.size(), kTimelineSize);
    const TimelineLayout layout(kTimelineSize, kStart, kStart + minutes(60));
    const struct {
        QColor color;
        int band;
        int minute;
    } marks[] = {
        {kFailedWriteColor, 2, 10},
        {kGlitchColor, 1, 20},
        {kDifferenceColor, 3, 30},
        {kGlitchColor, 0, 50},
    };
    for (const auto& mark : marks) {
        for (int band = 0; band <= 3; ++band) {
            const std::vector<int> columns = columnsWith(image, layout.band(band), mark.color);
            const bool ours = band == mark.band;
            bool expected = ours;
            if (mark.color == kGlitchColor && (band == 0 || band == 1)) {
                expected = true; // both glitch marks
            }
            EXPECT_EQ(!columns.empty(), expected) << "band " << band << " minute " << mark.minute;
            if (!ours) {
                continue;
            }
            const int x = layout.x(kStart + minutes(mark.minute));
            const bool near = std::any_of(columns.begin(), columns.end(),
                                          [x](int c) { return std::abs(c - x) <= 4; });
            EXPECT_TRUE(near) << "band " << band << " minute " << mark.minute;
            for (int c : columns) {
                EXPECT_LE(std::abs(c - x), 6) << "band " << band << " minute " << mark.minute;
            }
        }
    }
}

// Six loops a minute for the first half hour: the line stands high there and at the floor
// once the loops stop.
TEST_F(Report, ThePictureDrawsTheLoopRate) {
    const QImage image = drawTimeline(hourOfRun());
    const TimelineLayout layout(kTimelineSize, kStart, kStart + minutes(60));
    const QRect area = layout.rateArea();
    const auto lineAt = [&](int minute) {
        const int x = layout.x(kStart + minutes(minute));
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (image.pixelColor(x, y) == kLoopRateColor) {
                return y;
            }
        }
        return -1;
    };
    EXPECT_GE(lineAt(15), area.top());
    EXPECT_LT(lineAt(15), area.top() + 40);
    EXPECT_GT(lineAt(45), area.bottom() - 5);
    for (int band = 0; band <= 3; ++band) {
        EXPECT_TRUE(columnsWith(image, layout.band(band), kLoopRateColor).empty()) << band;
    }
}

TEST_F(Report, WritesThePictureAsPng) {
    std::vector<std::string> rows;
    for (int s = 0; s < 120; ++s) {
        rows.push_back(std::to_string(s) + "," + std::to_string(s) + ",write,2,12,,written,");
    }
    const std::string path = file("run.csv", record(rows));
    const std::string png = (folder_ / "run.png").string();
    const ReportRun run = report({"--png", png, path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.ends_with("picture " + png + "\n")) << run.out;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(png), "PNG"));
    EXPECT_EQ(image.size(), kTimelineSize);
    const ReportRun unwritable =
        report({"--png", (folder_ / "no" / "such" / "x.png").string(), path});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("cannot write the picture"), std::string::npos);
}

} // namespace
} // namespace dornal::report
