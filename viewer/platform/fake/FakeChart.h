#pragma once

#include <QMap>
#include <QPoint>
#include <array>
#include <optional>
#include <tuple>

#include "platform/Chart.h"

// Remembers what it was given; the test says which point lies under which position, and
// releases the mouse over the chart as the user would.
class FakeChart : public Chart {
  public:
    struct Cursor {
        double x = 0.0;
        double low = 0.0;
        double high = 0.0;
        QColor colour;
        bool operator==(const Cursor&) const = default;
    };

    QWidget* widget() override { return nullptr; }
    void setCurve(int curve, const QList<double>& values) override;
    void setLabels(const QStringList& labels) override { m_labels = labels; }
    void setXRange(double minimum, double maximum) override { m_xRange = {minimum, maximum}; }
    void setYRange(double minimum, double maximum) override { m_yRange = {minimum, maximum}; }
    void setCursor(double x, double low, double high, QColor colour) override;
    void clearCursor() override { m_cursor.reset(); }
    int pointAt(int curve, QPoint position) const override;
    void setMouseUpHandler(MouseUpHandler handler) override { m_mouseUp = std::move(handler); }

    const QList<double>& curve(int curve) const { return m_curves.at(curve - 1); }
    const QStringList& labels() const { return m_labels; }
    std::pair<double, double> xRange() const { return m_xRange; }
    std::pair<double, double> yRange() const { return m_yRange; }
    const std::optional<Cursor>& cursor() const { return m_cursor; }
    // How often any curve was given: moving the cursor must not give them again.
    int curveFills() const { return m_fills; }

    void placePoint(int curve, QPoint position, int point) {
        m_points[{curve, position.x(), position.y()}] = point;
    }
    void releaseMouse(QPoint position, Qt::MouseButton button = Qt::LeftButton);

  private:
    std::array<QList<double>, kCurveCount> m_curves;
    QStringList m_labels;
    std::pair<double, double> m_xRange{0.0, 0.0};
    std::pair<double, double> m_yRange{0.0, 0.0};
    std::optional<Cursor> m_cursor;
    QMap<std::tuple<int, int, int>, int> m_points;
    MouseUpHandler m_mouseUp;
    int m_fills = 0;
};
