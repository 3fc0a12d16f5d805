#include "platform/CurveThinning.h"

#include <algorithm>
#include <array>
#include <cmath>

QList<QPointF> CurveThinning::thin(const QList<double>& values, double minimum, double maximum,
                                   double columns, double offset) {
    const qsizetype count = values.size();
    QList<QPointF> points;
    const auto add = [&](qsizetype i) {
        points.append(QPointF(static_cast<double>(i), values.at(i)));
    };
    const double started = std::ceil(offset + columns);
    if (!(maximum > minimum) || !(columns > 0.0) ||
        static_cast<double>(count) <= kPointsPerColumn * (started + 1.0)) {
        points.reserve(count);
        for (qsizetype i = 0; i < count; ++i) {
            add(i);
        }
        return points;
    }

    const double scale = columns / (maximum - minimum);
    const auto columnOf = [&](qsizetype i) {
        return std::floor(offset + (static_cast<double>(i) - minimum) * scale);
    };
    const qsizetype first =
        std::clamp<qsizetype>(static_cast<qsizetype>(std::ceil(std::max(minimum, 0.0))), 0, count);
    const qsizetype last = std::clamp<qsizetype>(
        static_cast<qsizetype>(std::floor(std::min(maximum, static_cast<double>(count - 1)))), -1,
        count - 1);
    points.reserve(static_cast<qsizetype>(kPointsPerColumn * started) + 2);
    if (first > 0) {
        add(first - 1);
    }
    for (qsizetype start = first; start <= last;) {
        const double column = columnOf(start);
        qsizetype lowest = start;
        qsizetype highest = start;
        qsizetype end = start;
        while (end < last && columnOf(end + 1) == column) {
            ++end;
            if (values.at(end) < values.at(lowest)) {
                lowest = end;
            }
            if (values.at(end) > values.at(highest)) {
                highest = end;
            }
        }
        std::array<qsizetype, kPointsPerColumn> kept{start, lowest, highest, end};
        std::sort(kept.begin(), kept.end());
        const auto keptEnd = std::unique(kept.begin(), kept.end());
        std::for_each(kept.begin(), keptEnd, add);
        start = end + 1;
    }
    if (last + 1 < count) {
        add(last + 1);
    }
    return points;
}
