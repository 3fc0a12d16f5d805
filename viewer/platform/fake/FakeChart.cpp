#include "platform/fake/FakeChart.h"

void FakeChart::setCurve(int curve, const QList<double>& values) {
    if (curve < 1 || curve > kCurveCount) {
        return;
    }
    m_curves.at(static_cast<size_t>(curve - 1)) = values;
    ++m_fills;
}

void FakeChart::setCursor(double x, double low, double high, QColor colour) {
    m_cursor = Cursor{x, low, high, colour};
}

int FakeChart::pointAt(int curve, QPoint position) const {
    return m_points.value({curve, position.x(), position.y()}, -1);
}

void FakeChart::releaseMouse(QPoint position, Qt::MouseButton button) {
    if (m_mouseUp) {
        m_mouseUp(button, position);
    }
}
