#pragma once

#include <QLineF>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <array>
#include <optional>

#include "platform/Chart.h"

class QCategoryAxis;
class QChart;
class QChartView;
class QGraphicsLineItem;
class QLineSeries;
class QValueAxis;

// The chart on Qt Charts, a QChartView made in the given parent. A curve's series holds only the
// points that show at the chart's width (CurveThinning), thinned again when the width or the
// horizontal range changes; the curve itself is kept whole for finding the point under a click.
// Each curve is drawn once into a cached picture; the cursor is a line laid over them, so moving
// it repaints the strip it leaves and the one it enters from those pictures.
class QtChart : public QObject, public Chart {
  public:
    explicit QtChart(QWidget* parent);
    ~QtChart() override;

    QtChart(const QtChart&) = delete;
    QtChart& operator=(const QtChart&) = delete;

    QWidget* widget() override;
    void setCurve(int curve, const QList<double>& values) override;
    void setLabels(const QStringList& labels) override;
    void setXRange(double minimum, double maximum) override;
    void setYRange(double minimum, double maximum) override;
    void setCursor(double x, double low, double high, QColor colour) override;
    void clearCursor() override;
    int pointAt(int curve, QPoint position) const override;
    void setMouseUpHandler(MouseUpHandler handler) override;

    // Where a point of a curve is drawn, in the chart widget's coordinates; nothing for a point
    // the curve does not have or that lies outside the plot.
    std::optional<QPoint> positionOf(int curve, int point) const;
    // The cursor as drawn, in the chart widget's coordinates; nothing while none shows.
    std::optional<QLineF> drawnCursor() const;

    // How many time labels the horizontal axis shows at most.
    static constexpr int kShownLabels = 9;
    // Curves are thinned in columns of half a pixel: the pen, two pixels wide, shows where
    // within its pixel a point lies.
    static constexpr int kColumnsPerPixel = 2;
    // The columns thinned for while the chart has not been laid out yet.
    static constexpr double kUnlaidColumns = 2048.0;
    // How far (in pixels, across and up or down) a click may land from a point and still hit it.
    static constexpr int kHitPixels = 6;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static void styleAxis(QValueAxis& axis);
    static void showScale(QValueAxis& axis);
    void rebuildLabels();
    void thinCurves();
    void thinCurve(size_t curve);
    void placeCursor();

    QPointer<QChartView> m_view;
    QChart* m_chart = nullptr;
    QCategoryAxis* m_timeAxis = nullptr;
    QValueAxis* m_yAxis = nullptr;
    std::array<QLineSeries*, kCurveCount> m_curves{};
    std::array<QList<double>, kCurveCount> m_values;
    QGraphicsLineItem* m_cursorLine = nullptr;

    QStringList m_labels;
    double m_xMinimum = 0.0;
    double m_xMaximum = 0.0;
    // The cursor in chart values, from (x, low) to (x, high); none while cleared.
    std::optional<QLineF> m_cursor;
    MouseUpHandler m_mouseUp;
};
