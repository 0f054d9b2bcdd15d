#include "report_cli.h"

#include "run_summary.h"
#include "timeline.h"

#include "engine/record/record_reader.h"

#include <QString>

#include <cerrno>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>

namespace dornal::report {

namespace {

constexpr std::string_view kUsage = R"(Usage: dornal-report [--png FILE] RECORD.csv
Prints what the record of a bench run says, per track: the writes done and failed, the reads,
the read-back checks that agreed and differed, the glitches by kind, and the first and the
last incident (a failed write, a difference or a glitch) with its time and loop. Glitches of no
single track are summed up under "reader". A record that a crash cut off in the middle of a
row is read up to that row; the rows left out are named at the end.

  --png FILE   also draw the run as a PNG picture: time across, a band per track and one for
               the reader, a red square for each failed write, an orange triangle for each
               difference and a purple circle for each glitch; below, the loops per minute
               as a green line
  --help       show this text

Exit status: 0 done, 1 the file cannot be read or is no run record, or the picture cannot be
written, 2 a wrong command line.
)";

struct ReportOptions {
    std::string record;
    std::optional<std::string> png;
    bool help = false;
};

struct ParsedArgs {
    std::optional<ReportOptions> options;
    std::string error;
};

ParsedArgs parseArgs(std::span<const std::string_view> args) {
    ReportOptions options;
    bool haveRecord = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--png") {
            if (i + 1 >= args.size()) {
                return {std::nullopt, "--png needs a file name"};
            }
            options.png = std::string(args[++i]);
        } else if (arg.starts_with("--png=")) {
            options.png = std::string(arg.substr(6));
        } else if (arg.starts_with("-") && arg.size() > 1) {
            return {std::nullopt, "unknown option " + std::string(arg)};
        } else if (haveRecord) {
            return {std::nullopt, "one record at a time, not also " + std::string(arg)};
        } else {
            options.record = std::string(arg);
            haveRecord = true;
        }
    }
    if (options.png && options.png->empty()) {
        return {std::nullopt, "--png needs a file name"};
    }
    if (!haveRecord && !options.help) {
        return {std::nullopt, "which record? Name its CSV file"};
    }
    return {options, {}};
}

std::optional<std::string> fileText(const std::string& path, std::string& why) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = std::system_category().message(errno);
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        why = "read error";
        return std::nullopt;
    }
    return text.str();
}

} // namespace

int runReport(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    const ParsedArgs parsed = parseArgs(args);
    if (!parsed.options) {
        err << "dornal-report: " << parsed.error << "\n" << kUsage;
        return 2;
    }
    const ReportOptions& options = *parsed.options;
    if (options.help) {
        out << kUsage;
        return 0;
    }
    std::string why;
    const std::optional<std::string> text = fileText(options.record, why);
    if (!text) {
        err << "dornal-report: cannot read " << options.record << ": " << why << "\n";
        return 1;
    }
    const record::ReadRecord read = record::readRecord(*text);
    if (!read.error.empty()) {
        err << "dornal-report: " << options.record << " is " << read.error << "\n";
        return 1;
    }
    out << "record " << options.record << "\n" << summaryText(summarize(read.rows), read.skipped);
    if (options.png) {
        if (!drawTimeline(read.rows).save(QString::fromStdString(*options.png), "PNG")) {
            err << "dornal-report: cannot write the picture " << *options.png << "\n";
            return 1;
        }
        out << "picture " << *options.png << "\n";
    }
    return 0;
}

} // namespace dornal::report
