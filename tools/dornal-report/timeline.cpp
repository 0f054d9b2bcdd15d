#include "timeline.h"

#include "engine/record/record_text.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

namespace dornal::report {

namespace {

using record::Event;
using record::RecordRow;
using Clock = std::chrono::system_clock;

constexpr int kLeft = 150;
constexpr int kRight = 20;
constexpr int kTop = 40;
constexpr int kBandHeight = 70;
constexpr int kBandGap = 8;
constexpr int kRateHeight = 150;
constexpr int kLegendHeight = 30;
constexpr int kMarkSize = 8;
// The rate is taken over at least a minute, and over no less than this share of the run.
constexpr int kRateBuckets = 200;

const QColor kBandColor{240, 240, 240};

// The first and the last time of a run's rows; the clock may have stepped back between rows.
struct TimeSpan {
    Clock::time_point from;
    Clock::time_point to;
};

TimeSpan spanOf(const std::vector<RecordRow>& rows) {
    const auto [first, last] =
        std::minmax_element(rows.begin(), rows.end(),
                            [](const RecordRow& a, const RecordRow& b) { return a.time < b.time; });
    return TimeSpan{first->time, last->time};
}

// Which band a row's mark goes in and at what height, or none.
struct Mark {
    QColor color;
    double heightInBand; // 0 top .. 1 bottom
};

std::optional<Mark> markOf(const RecordRow& row) {
    if (row.event == Event::Write && row.outcome == record::outcome::kFailed) {
        return Mark{kFailedWriteColor, 0.25};
    }
    if (row.event == Event::Read && row.outcome == record::outcome::kDiffers) {
        return Mark{kDifferenceColor, 0.5};
    }
    if (row.event == Event::Glitch) {
        return Mark{kGlitchColor, 0.75};
    }
    return std::nullopt;
}

int bandOf(const RecordRow& row) {
    if (row.track >= 1 && row.track <= 3) {
        return row.track;
    }
    return 0;
}

void drawMark(QPainter& painter, const QColor& color, QPointF at) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    const double h = kMarkSize / 2.0;
    if (color == kFailedWriteColor) {
        painter.drawRect(QRectF(at.x() - h, at.y() - h, kMarkSize, kMarkSize));
    } else if (color == kDifferenceColor) {
        painter.drawPolygon(QPolygonF({QPointF(at.x(), at.y() - h), QPointF(at.x() + h, at.y() + h),
                                       QPointF(at.x() - h, at.y() + h)}));
    } else {
        painter.drawEllipse(at, h, h);
    }
}

void drawBands(QPainter& painter, const TimelineLayout& layout) {
    const char* names[] = {"Reader", "Track 1", "Track 2", "Track 3"};
    for (int index = 0; index <= 3; ++index) {
        const QRect band = layout.band(index);
        painter.fillRect(band, kBandColor);
        painter.setPen(Qt::black);
        painter.drawText(QRect(8, band.top(), kLeft - 16, band.height()),
                         Qt::AlignVCenter | Qt::AlignLeft, names[index]);
    }
}

// Loops per minute in equal slices of the run: the rises of the loop count in each slice (a
// reset's fall counts nothing).
std::vector<double> loopRates(const std::vector<RecordRow>& rows, const TimeSpan& span,
                              Clock::duration slice) {
    // A last slice that would hold only the run's last moment is left out.
    const auto slices = (span.to - span.from + slice - Clock::duration(1)) / slice;
    const std::size_t count = std::max<std::size_t>(1, static_cast<std::size_t>(slices));
    std::vector<double> loops(count, 0.0);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (rows[i].loop > rows[i - 1].loop) {
            const auto at = static_cast<std::size_t>((rows[i].time - span.from) / slice);
            loops[std::min(at, count - 1)] += static_cast<double>(rows[i].loop - rows[i - 1].loop);
        }
    }
    const double minutes = std::chrono::duration<double, std::ratio<60>>(slice).count();
    for (double& value : loops) {
        value /= minutes;
    }
    return loops;
}

void drawLoopRate(QPainter& painter, const TimelineLayout& layout,
                  const std::vector<RecordRow>& rows, const TimeSpan& span) {
    const QRect area = layout.rateArea();
    painter.fillRect(area, kBandColor);
    painter.setPen(Qt::black);
    painter.drawText(QRect(8, area.top(), kLeft - 16, area.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, "Loops per minute");
    const Clock::duration slice =
        std::max<Clock::duration>(std::chrono::minutes(1), (span.to - span.from) / kRateBuckets);
    const std::vector<double> rates = loopRates(rows, span, slice);
    const double highest = std::max(1.0, *std::max_element(rates.begin(), rates.end()));
    painter.drawText(area.adjusted(4, 2, 0, 0), Qt::AlignTop | Qt::AlignLeft,
                     QString::number(highest, 'f', 1));
    QPolygonF line;
    for (std::size_t i = 0; i < rates.size(); ++i) {
        const auto middle = span.from + slice * static_cast<long>(i) + slice / 2;
        const auto clamped = std::min(middle, span.to);
        const double y = area.bottom() - rates[i] / highest * (area.height() - 20);
        line << QPointF(layout.x(clamped), y);
    }
    painter.setPen(QPen(kLoopRateColor, 2));
    painter.drawPolyline(line);
}

void drawLegend(QPainter& painter, const TimelineLayout& layout) {
    const QRect area = layout.legendArea();
    const std::pair<QColor, const char*> entries[] = {
        {kFailedWriteColor, "failed write"},
        {kDifferenceColor, "read back differs"},
        {kGlitchColor, "glitch"},
        {kLoopRateColor, "loops per minute"},
    };
    int x = area.left();
    for (const auto& [color, text] : entries) {
        if (color == kLoopRateColor) {
            painter.fillRect(QRect(x - kMarkSize / 2, area.center().y() - 1, kMarkSize, 3), color);
        } else {
            drawMark(painter, color, QPointF(x, area.center().y()));
        }
        painter.setPen(Qt::black);
        painter.drawText(QRect(x + kMarkSize, area.top(), 200, area.height()), Qt::AlignVCenter,
                         text);
        x += 220;
    }
}

void drawTimes(QPainter& painter, const TimelineLayout& layout, const TimeSpan& span) {
    painter.setPen(Qt::black);
    const QRect top(kLeft, 0, layout.rateArea().width(), kTop);
    painter.drawText(top, Qt::AlignVCenter | Qt::AlignLeft,
                     QString::fromStdString(record::localTimeText(span.from)));
    painter.drawText(top, Qt::AlignVCenter | Qt::AlignRight,
                     QString::fromStdString(record::localTimeText(span.to)));
}

} // namespace

TimelineLayout::TimelineLayout(QSize size, TimePoint from, TimePoint to)
    : size_(size), from_(from), to_(std::max(to, from + std::chrono::seconds(1))) {}

QRect TimelineLayout::band(int index) const {
    // The tracks first, the reader's band below them.
    int row = 3;
    if (index >= 1 && index <= 3) {
        row = index - 1;
    }
    return QRect(kLeft, kTop + row * (kBandHeight + kBandGap), size_.width() - kLeft - kRight,
                 kBandHeight);
}

QRect TimelineLayout::rateArea() const {
    const QRect last = band(0);
    return QRect(kLeft, last.bottom() + 1 + 2 * kBandGap, last.width(), kRateHeight);
}

QRect TimelineLayout::legendArea() const {
    return QRect(kLeft, size_.height() - kLegendHeight, rateArea().width(), kLegendHeight);
}

int TimelineLayout::x(TimePoint time) const {
    const double share = std::chrono::duration<double>(time - from_).count() /
                         std::chrono::duration<double>(to_ - from_).count();
    const QRect area = band(1);
    return area.left() + static_cast<int>(share * (area.width() - 1));
}

QImage drawTimeline(const std::vector<RecordRow>& rows, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (rows.empty()) {
        return image;
    }
    const TimeSpan span = spanOf(rows);
    const TimelineLayout layout(size, span.from, span.to);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawBands(painter, layout);
    drawTimes(painter, layout, span);
    for (const RecordRow& row : rows) {
        if (const auto mark = markOf(row)) {
            const QRect band = layout.band(bandOf(row));
            drawMark(painter, mark->color,
                     QPointF(layout.x(row.time), band.top() + mark->heightInBand * band.height()));
        }
    }
    drawLoopRate(painter, layout, rows, span);
    drawLegend(painter, layout);
    return image;
}

} // namespace dornal::report
