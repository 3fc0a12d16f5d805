#include "platform/QtChart.h"

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsLineItem>
#include <QLegend>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "platform/CurveThinning.h"

namespace {

const QColor kBackground(26, 27, 54);
const QColor kAxisLine(38, 37, 95);
const std::array<QColor, Chart::kCurveCount> kCurveColours{QColor(255, 0, 0), QColor(128, 128, 255),
                                                           QColor(0, 255, 0)};
constexpr int kCurvePenWidth = 2;
constexpr int kCursorPenWidth = 3;
// Readable, and small enough to leave most of a chart 89 pixels high to the curves.
constexpr int kLabelPixelSize = 10;
// Above the curves, the axes and their grid.
constexpr qreal kCursorZ = 1000.0;
constexpr int kYTickCount = 3;

// A category axis takes each label once; a time shown twice (a clock set back) gets an
// invisible mark of its own.
QString uniqueLabel(QCategoryAxis& axis, QString label) {
    const QStringList taken = axis.categoriesLabels();
    while (taken.contains(label)) {
        label += QChar(0x200B);
    }
    return label;
}

}  // namespace

QtChart::QtChart(QWidget* parent) : m_view(new QChartView(parent)) {
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->viewport()->setFocusPolicy(Qt::NoFocus);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setRubberBand(QChartView::NoRubberBand);
    m_view->setDragMode(QGraphicsView::NoDrag);
    // The chart takes no mouse input of its own (releases reach the handler through the event
    // filter); with it the scene would test the outline of every curve at each mouse move.
    m_view->setInteractive(false);
    m_view->setRenderHint(QPainter::Antialiasing, false);
    m_view->setBackgroundBrush(kBackground);
    m_view->viewport()->installEventFilter(this);

    m_chart = m_view->chart();
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->setBackgroundBrush(kBackground);
    m_chart->setBackgroundPen(Qt::NoPen);
    m_chart->setBackgroundRoundness(0);
    m_chart->setDropShadowEnabled(false);
    m_chart->setMargins(QMargins(0, 0, 0, 0));
    m_chart->layout()->setContentsMargins(0, 0, 0, 0);
    m_chart->legend()->hide();

    m_timeAxis = new QCategoryAxis(m_chart);
    m_timeAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_yAxis = new QValueAxis(m_chart);
    m_yAxis->setTickCount(kYTickCount);
    m_yAxis->setLabelFormat(QStringLiteral("%g"));
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_yAxis, Qt::AlignLeft);

    for (size_t i = 0; i < m_curves.size(); ++i) {
        auto* series = new QLineSeries(m_chart);
        // The series' drawing is the one new child item of the chart.
        const QList<QGraphicsItem*> before = m_chart->childItems();
        m_chart->addSeries(series);
        for (QGraphicsItem* item : m_chart->childItems()) {
            if (!before.contains(item)) {
                item->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
            }
        }
        series->attachAxis(m_timeAxis);
        series->attachAxis(m_yAxis);
        series->setPointsVisible(false);
        series->setPen(QPen(kCurveColours.at(i), kCurvePenWidth));
        m_curves.at(i) = series;
    }
    // Styled after being added: the chart's theme dresses what it is given.
    styleAxis(*m_timeAxis);
    styleAxis(*m_yAxis);
    m_timeAxis->setRange(0.0, 0.0);
    m_yAxis->setRange(0.0, 0.0);
    showScale(*m_timeAxis);
    showScale(*m_yAxis);

    m_cursorLine = new QGraphicsLineItem(m_chart);
    m_cursorLine->setZValue(kCursorZ);
    m_cursorLine->hide();
    QObject::connect(m_chart, &QChart::plotAreaChanged, this, [this] {
        thinCurves();
        placeCursor();
    });
}

QtChart::~QtChart() {
    if (m_view) {
        m_view->viewport()->removeEventFilter(this);
        QObject::disconnect(m_chart, nullptr, this, nullptr);
        delete m_view.data();
    }
}

void QtChart::styleAxis(QValueAxis& axis) {
    QFont font = QApplication::font();
    font.setPixelSize(kLabelPixelSize);
    axis.setLabelsFont(font);
    axis.setLabelsColor(Qt::white);
    axis.setLinePenColor(kAxisLine);
    axis.setGridLineColor(kAxisLine);
    axis.setMinorTickCount(0);
    axis.setMinorGridLineVisible(false);
    axis.setShadesVisible(false);
    axis.setTitleVisible(false);
}

void QtChart::showScale(QValueAxis& axis) {
    // Qt Charts leaves an axis over an empty range as it was; its labels and grid would belong
    // to the recording before.
    const bool scale = axis.max() > axis.min();
    axis.setLabelsVisible(scale);
    axis.setGridLineVisible(scale);
}

QWidget* QtChart::widget() {
    return m_view;
}

void QtChart::setCurve(int curve, const QList<double>& values) {
    if (curve < 1 || curve > kCurveCount) {
        return;
    }
    const auto index = static_cast<size_t>(curve - 1);
    m_values.at(index) = values;
    thinCurve(index);
}

void QtChart::thinCurves() {
    for (size_t i = 0; i < m_curves.size(); ++i) {
        thinCurve(i);
    }
}

void QtChart::thinCurve(size_t curve) {
    const QList<double>& values = m_values.at(curve);
    QLineSeries* series = m_curves.at(curve);
    // Without a range of its own a curve is thinned over its whole length, as the window shows
    // it once it sets the range.
    double minimum = m_xMinimum;
    double maximum = m_xMaximum;
    if (!(maximum > minimum)) {
        minimum = 0.0;
        maximum = static_cast<double>(values.size() - 1);
    }
    const QRectF plot = m_chart->plotArea();
    const double perPixel = m_view->devicePixelRatioF() * kColumnsPerPixel;
    const double left = plot.left() * perPixel;
    const double columns = plot.width() > 0.0 ? plot.width() * perPixel : kUnlaidColumns;
    QList<QPointF> points =
        CurveThinning::thin(values, minimum, maximum, columns, left - std::floor(left));
    // Each replace outlines the whole curve again; a resize that moves no column keeps it.
    if (points != series->points()) {
        series->replace(points);
    }
}

void QtChart::setLabels(const QStringList& labels) {
    m_labels = labels;
    rebuildLabels();
}

void QtChart::setXRange(double minimum, double maximum) {
    if (minimum == m_xMinimum && maximum == m_xMaximum) {
        return;
    }
    m_xMinimum = minimum;
    m_xMaximum = maximum;
    // The series are thinned for the new range below; outlined again for it first, their
    // present points would be outlined for nothing.
    for (QLineSeries* series : m_curves) {
        series->clear();
    }
    m_timeAxis->setRange(minimum, maximum);
    showScale(*m_timeAxis);
    rebuildLabels();
    thinCurves();
    placeCursor();
}

void QtChart::setYRange(double minimum, double maximum) {
    m_yAxis->setRange(minimum, maximum);
    showScale(*m_yAxis);
    placeCursor();
}

void QtChart::rebuildLabels() {
    for (const QString& label : m_timeAxis->categoriesLabels()) {
        m_timeAxis->remove(label);
    }
    m_timeAxis->setStartValue(m_xMinimum);
    const qsizetype first = std::max<qsizetype>(0, static_cast<qsizetype>(std::ceil(m_xMinimum)));
    const qsizetype last =
        std::min<qsizetype>(m_labels.size() - 1, static_cast<qsizetype>(std::floor(m_xMaximum)));
    if (last < first) {
        return;
    }
    // Each label in the middle of its share of the points, away from the chart's edges, which
    // would cut it in half; a short recording gets fewer labels rather than labels at its ends.
    const qsizetype span = last - first;
    const qsizetype shown = std::clamp<qsizetype>((span + 1) / 2, 1, kShownLabels);
    for (qsizetype k = 0; k < shown; ++k) {
        const qsizetype point = first + span * (2 * k + 1) / (2 * shown);
        m_timeAxis->append(uniqueLabel(*m_timeAxis, m_labels.at(point)),
                           static_cast<double>(point));
    }
}

void QtChart::setCursor(double x, double low, double high, QColor colour) {
    m_cursor = QLineF(x, low, x, high);
    m_cursorLine->setPen(QPen(colour, kCursorPenWidth));
    placeCursor();
}

void QtChart::clearCursor() {
    m_cursor.reset();
    m_cursorLine->hide();
}

void QtChart::placeCursor() {
    const QRectF plot = m_chart->plotArea();
    const bool ranges = m_timeAxis->max() > m_timeAxis->min() && m_yAxis->max() > m_yAxis->min();
    if (!m_cursor || !ranges || plot.isEmpty()) {
        m_cursorLine->hide();
        return;
    }
    QLineSeries* series = m_curves.front();
    const QPointF low = m_chart->mapToPosition(m_cursor->p1(), series);
    const QPointF high = m_chart->mapToPosition(m_cursor->p2(), series);
    if (low.x() < plot.left() || low.x() > plot.right()) {
        m_cursorLine->hide();
        return;
    }
    // Kept inside the plot, off the labels.
    const auto inside = [&plot](double y) { return std::clamp(y, plot.top(), plot.bottom()); };
    m_cursorLine->setLine(low.x(), inside(low.y()), high.x(), inside(high.y()));
    m_cursorLine->show();
}

int QtChart::pointAt(int curve, QPoint position) const {
    if (curve < 1 || curve > kCurveCount || !m_view) {
        return -1;
    }
    const auto index = static_cast<size_t>(curve - 1);
    QLineSeries* series = m_curves.at(index);
    const QList<double>& values = m_values.at(index);
    const QPointF at = m_chart->mapFromScene(m_view->mapToScene(position));
    if (values.isEmpty() || !m_chart->plotArea().contains(at)) {
        return -1;
    }
    const double x = std::round(m_chart->mapToValue(at, series).x());
    if (!(x >= 0.0 && x < static_cast<double>(values.size()))) {
        return -1;
    }
    const auto point = static_cast<qsizetype>(x);
    const QPointF shown = m_chart->mapToPosition(QPointF(x, values.at(point)), series);
    if (std::abs(shown.x() - at.x()) > kHitPixels || std::abs(shown.y() - at.y()) > kHitPixels) {
        return -1;
    }
    return static_cast<int>(point);
}

std::optional<QPoint> QtChart::positionOf(int curve, int point) const {
    if (curve < 1 || curve > kCurveCount || !m_view) {
        return std::nullopt;
    }
    const auto index = static_cast<size_t>(curve - 1);
    const QList<double>& values = m_values.at(index);
    if (point < 0 || point >= values.size()) {
        return std::nullopt;
    }
    const QPointF shown =
        m_chart->mapToPosition(QPointF(point, values.at(point)), m_curves.at(index));
    if (!m_chart->plotArea().contains(shown)) {
        return std::nullopt;
    }
    return m_view->mapFromScene(m_chart->mapToScene(shown));
}

std::optional<QLineF> QtChart::drawnCursor() const {
    if (!m_view || !m_cursorLine->isVisible()) {
        return std::nullopt;
    }
    const QLineF line = m_cursorLine->line();
    return QLineF(m_view->mapFromScene(m_cursorLine->mapToScene(line.p1())),
                  m_view->mapFromScene(m_cursorLine->mapToScene(line.p2())));
}

void QtChart::setMouseUpHandler(MouseUpHandler handler) {
    m_mouseUp = std::move(handler);
}

bool QtChart::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && m_mouseUp) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_mouseUp(mouse->button(), mouse->position().toPoint());
    }
    return QObject::eventFilter(watched, event);
}
