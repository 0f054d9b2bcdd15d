#include "run_summary.h"

#include "engine/record/record_text.h"

namespace dornal::report {

namespace {

using record::Event;
namespace outcome = record::outcome;

void noteIncident(PartSummary& part, const RecordRow& row, std::string what) {
    Incident incident{row.time, row.loop, std::move(what)};
    if (!part.firstIncident) {
        part.firstIncident = incident;
    }
    part.lastIncident = std::move(incident);
}

void countAnswer(PartSummary& part, const RecordRow& row) {
    if (row.event == Event::Write) {
        if (row.outcome == outcome::kWritten) {
            ++part.writesDone;
        } else if (row.outcome == outcome::kFailed) {
            ++part.writesFailed;
            noteIncident(part, row, "failed write");
        }
        return;
    }
    ++part.reads;
    if (row.outcome == outcome::kSame) {
        ++part.same;
    } else if (row.outcome == outcome::kDiffers) {
        ++part.differing;
        noteIncident(part, row, "differs");
    } else if (row.outcome == outcome::kNoVerdict) {
        ++part.noVerdict;
    }
}

void take(RunSummary& summary, const RecordRow& row) {
    std::size_t index = 0;
    if (row.track >= 1 && row.track <= 3) {
        index = static_cast<std::size_t>(row.track);
    }
    PartSummary& part = summary.parts[index];
    switch (row.event) {
    case Event::Write:
    case Event::Read:
        part.seen = true;
        countAnswer(part, row);
        break;
    case Event::Glitch:
        part.seen = true;
        ++part.glitches[row.outcome];
        noteIncident(part, row, row.outcome);
        break;
    case Event::End:
        if (row.track == 0) {
            summary.ended = row.outcome;
        } else {
            part.endCounts = row.detail;
        }
        break;
    case Event::Note:
        summary.notes.push_back(record::localTimeText(row.time) + " in loop " +
                                std::to_string(row.loop) + ": " + row.detail);
        break;
    case Event::Setting:
    case Event::Reset:
    case Event::Summary:
        break;
    }
}

std::string incidentText(const char* which, const std::optional<Incident>& incident) {
    return std::string("  ") + which + " incident " + record::localTimeText(incident->time) +
           " in loop " + std::to_string(incident->loop) + ": " + incident->what + "\n";
}

std::string glitchText(const PartSummary& part) {
    if (part.glitches.empty()) {
        return "none";
    }
    std::string text;
    for (const auto& [kind, count] : part.glitches) {
        if (!text.empty()) {
            text += ", ";
        }
        text += std::to_string(count) + " " + kind;
    }
    return text;
}

std::string partText(const std::string& name, const PartSummary& part) {
    std::string text = name + ":\n";
    if (!name.starts_with("reader")) {
        text += "  writes " + std::to_string(part.writesDone) + " done, " +
                std::to_string(part.writesFailed) + " failed; reads " + std::to_string(part.reads) +
                "; checks " + std::to_string(part.same) + " same, " +
                std::to_string(part.differing) + " differing, " + std::to_string(part.noVerdict) +
                " no verdict\n";
    }
    text += "  glitches: " + glitchText(part) + "\n";
    if (part.firstIncident) {
        text += incidentText("first", part.firstIncident);
        text += incidentText("last", part.lastIncident);
    } else {
        text += "  no incident\n";
    }
    if (!part.endCounts.empty()) {
        text += "  at the end: " + part.endCounts + "\n";
    }
    return text;
}

} // namespace

RunSummary summarize(const std::vector<RecordRow>& rows) {
    RunSummary summary;
    for (const RecordRow& row : rows) {
        if (!summary.from) {
            summary.from = row.time;
        }
        summary.to = row.time;
        summary.lastLoop = row.loop;
        take(summary, row);
    }
    return summary;
}

std::string summaryText(const RunSummary& summary, const std::vector<std::string>& skipped) {
    std::string text;
    if (summary.from) {
        text += "from " + record::localTimeText(*summary.from) + " to " +
                record::localTimeText(*summary.to) + ", last loop " +
                std::to_string(summary.lastLoop) + "\n";
    } else {
        text += "no rows\n";
    }
    if (summary.ended.empty()) {
        text += "ended: no end row (the record stops there)\n";
    } else {
        text += "ended: " + summary.ended + "\n";
    }
    for (int track = 1; track <= 3; ++track) {
        if (summary.parts[static_cast<std::size_t>(track)].seen) {
            text += partText("track " + std::to_string(track),
                             summary.parts[static_cast<std::size_t>(track)]);
        }
    }
    text += partText("reader (no single track)", summary.parts[0]);
    for (const std::string& note : summary.notes) {
        text += "note " + note + "\n";
    }
    for (const std::string& row : skipped) {
        text += "skipped " + row + "\n";
    }
    return text;
}

} // namespace dornal::report
