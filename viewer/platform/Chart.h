#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QStringList>
#include <functional>

class QWidget;

// The speed and G-sensor chart of the control bar. Point i of a curve (counted from 0) lies
// at x = i. Three curves (1: speed or G x, red; 2: G y, (128,128,255); 3: G z, lime) are
// always given whole, and a cursor (one vertical line) moves over them without the curves
// being drawn again.
class Chart {
  public:
    static constexpr int kCurveCount = 3;
    using MouseUpHandler = std::function<void(Qt::MouseButton button, QPoint position)>;

    virtual ~Chart();

    // The chart itself; nullptr for charts without one.
    virtual QWidget* widget() = 0;

    // Replaces curve 1, 2 or 3 whole; an empty list clears it.
    virtual void setCurve(int curve, const QList<double>& values) = 0;
    // The time text of every point; the chart shows a handful of them, evenly spaced.
    virtual void setLabels(const QStringList& labels) = 0;
    virtual void setXRange(double minimum, double maximum) = 0;
    virtual void setYRange(double minimum, double maximum) = 0;

    // The cursor: one vertical line at x from low to high, in a colour; cleared, none.
    virtual void setCursor(double x, double low, double high, QColor colour) = 0;
    virtual void clearCursor() = 0;

    // The point of a curve under a position of the chart widget, or -1 when none is near.
    virtual int pointAt(int curve, QPoint position) const = 0;
    // Told of every mouse button released over the chart.
    virtual void setMouseUpHandler(MouseUpHandler handler) = 0;
};
