#pragma once

#include "engine/record/record_row.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <chrono>
#include <vector>

// The picture of a run: time across, a band per track and one for the glitches of no single
// track, marks for its incidents, and the loop rate below.
namespace dornal::report {

inline const QColor kFailedWriteColor{214, 39, 40}; // red squares
inline const QColor kDifferenceColor{255, 127, 14}; // orange triangles
inline const QColor kGlitchColor{148, 103, 189};    // purple circles
inline const QColor kLoopRateColor{44, 160, 44};    // a green line
inline const QSize kTimelineSize{1200, 600};

// Where the picture puts things, for a run from `from` to `to`.
class TimelineLayout {
public:
    using TimePoint = std::chrono::system_clock::time_point;

    TimelineLayout(QSize size, TimePoint from, TimePoint to);

    // Band 1..3 for the tracks, band 0 for the glitches of no single track (drawn last).
    QRect band(int index) const;
    QRect rateArea() const;
    QRect legendArea() const;
    int x(TimePoint time) const;

private:
    QSize size_;
    TimePoint from_;
    TimePoint to_;
};

QImage drawTimeline(const std::vector<record::RecordRow>& rows, QSize size = kTimelineSize);

} // namespace dornal::report
