#pragma once

#include <QList>
#include <QPointF>

// The points of a curve that a chart needs to draw it as it would draw every point. A curve of
// an hour or more has far more points than the chart has pixels across, and the chart
// outlines every point it is given; within a narrow column of the chart the line through all
// of a column's points reaches no further than its first, lowest, highest and last point, so
// those are all it keeps.
class CurveThinning {
  public:
    // Point i of values lies at x = i. The span of x from minimum to maximum is cut into columns
    // of equal width (a count that need not be whole), the span starting offset (0 to 1) of a
    // column into its first one. Beyond the span only the nearest point on either side is kept:
    // the line runs out towards it. A curve that is short for its columns is kept whole.
    static QList<QPointF> thin(const QList<double>& values, double minimum, double maximum,
                               double columns, double offset = 0.0);

    // Points a column keeps at most.
    static constexpr int kPointsPerColumn = 4;
};
