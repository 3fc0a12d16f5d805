#include <gtest/gtest.h>

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsLineItem>
#include <QLineSeries>
#include <QSignalSpy>
#include <QTest>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/QtChart.h"

namespace {

// What Qt logged while a test listened.
QStringList& logged() {
    static QStringList messages;
    return messages;
}

QList<double> smooth(qsizetype count) {
    QList<double> values;
    for (qsizetype i = 0; i < count; ++i) {
        values.append(50.0 + 40.0 * std::sin(static_cast<double>(i) / 300.0));
    }
    return values;
}

// The chart at its size in the control bar.
class QtChartTest : public testing::Test {
  protected:
    QtChartTest() : m_chart(&m_window) {
        m_window.resize(743, 89);
        m_chart.widget()->setGeometry(0, 0, 743, 89);
        m_window.show();
        settle();
    }

    // The chart lays itself out on posted events.
    static void settle() { QCoreApplication::processEvents(); }

    QChartView& view() { return *static_cast<QChartView*>(m_chart.widget()); }
    QChart& chart() { return *view().chart(); }
    QLineSeries& series(int curve) {
        return *static_cast<QLineSeries*>(chart().series().at(curve - 1));
    }
    QCategoryAxis& timeAxis() {
        return *static_cast<QCategoryAxis*>(chart().axes(Qt::Horizontal).front());
    }
    QValueAxis& valueAxis() {
        return *static_cast<QValueAxis*>(chart().axes(Qt::Vertical).front());
    }

    // Where a value lands in the chart widget.
    QPointF shown(double x, double y) {
        const QPointF inChart = chart().mapToPosition(QPointF(x, y), &series(1));
        return view().viewportTransform().map(chart().mapToScene(inChart));
    }
    QPoint pixel(double x, double y, QPoint nudge = {}) { return shown(x, y).toPoint() + nudge; }

    // A recording as the window gives it: its curves, a time label a point, the ranges.
    void open(const std::vector<QList<double>>& curves, double low = 0.0, double high = 100.0) {
        for (size_t i = 0; i < curves.size(); ++i) {
            m_chart.setCurve(static_cast<int>(i) + 1, curves[i]);
        }
        QStringList labels;
        for (qsizetype i = 0; i < curves.front().size(); ++i) {
            labels.append(QStringLiteral("t%1").arg(i));
        }
        m_chart.setLabels(labels);
        m_chart.setXRange(0.0, static_cast<double>(std::max<qsizetype>(labels.size() - 1, 0)));
        m_chart.setYRange(low, high);
        settle();
    }

    // The cursor lines on show, in widget coordinates; the axes draw thinner lines of their own.
    std::vector<std::pair<QLineF, QColor>> cursors() {
        std::vector<std::pair<QLineF, QColor>> found;
        for (QGraphicsItem* item : view().scene()->items()) {
            auto* line = qgraphicsitem_cast<QGraphicsLineItem*>(item);
            if (line != nullptr && line->isVisible() && line->pen().width() == 3) {
                const QTransform toView = line->sceneTransform() * view().viewportTransform();
                found.emplace_back(toView.map(line->line()), line->pen().color());
            }
        }
        return found;
    }

    QWidget m_window;
    QtChart m_chart;
};

TEST_F(QtChartTest, AClickFindsThePointUnderItAndNoneAwayFromPointsOrOutsideThePlot) {
    open({{10, 80, 30, 0, 20}, {50, 50, 50, 50, 50}, {}});
    struct Case {
        const char* what;
        int curve;
        QPoint position;
        int point;
    };
    const Case cases[] = {
        {"on point 1", 1, pixel(1, 80), 1},
        {"near point 2", 1, pixel(2, 30, {5, -5}), 2},
        {"above point 2", 1, pixel(2, 30, {0, -9}), -1},
        {"beside point 2", 1, pixel(2, 30, {9, 0}), -1},
        {"on the line between points 1 and 2", 1, pixel(1.5, 55), -1},
        {"point 3 on the plot's bottom edge, from above", 1, pixel(3, 0, {0, -4}), 3},
        {"point 3 on the plot's bottom edge, from below", 1, pixel(3, 0, {0, 4}), -1},
        {"point 0, from the labels to its left", 1, pixel(0, 10, {-4, 0}), -1},
        {"curve 2 at curve 1's point", 2, pixel(1, 80), -1},
        {"the empty curve", 3, pixel(2, 30), -1},
        {"no curve 4", 4, pixel(2, 30), -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_chart.pointAt(c.curve, c.position), c.point) << c.what;
    }
}

TEST_F(QtChartTest, ACurveIsReplacedWholeAndALongOneKeepsOnlyItsOwnPointsThatShow) {
    open({smooth(100), smooth(100)});
    m_chart.setCurve(1, {5, 6, 7});
    EXPECT_EQ(series(1).points(), (QList<QPointF>{{0, 5}, {1, 6}, {2, 7}}));
    EXPECT_EQ(series(2).count(), 100);
    m_chart.setCurve(2, {});
    EXPECT_EQ(series(2).count(), 0);

    const QList<double> hours = smooth(32767);
    open({hours});
    const QList<QPointF> kept = series(1).points();
    // Four points at most in a column of half a pixel, and the ends.
    EXPECT_LE(kept.size(), 4 * (std::ceil(2 * chart().plotArea().width()) + 1) + 2);
    EXPECT_EQ(kept.front().x(), 0.0);
    EXPECT_EQ(kept.back().x(), 32766.0);
    for (const QPointF& p : kept) {
        ASSERT_EQ(p.y(), hours.at(static_cast<qsizetype>(p.x())));
    }
    // A click still finds any point, kept or not; half a pixel spans some 23 of them.
    for (const int point : {1234, 20001}) {
        EXPECT_NEAR(m_chart.pointAt(1, pixel(point, hours.at(point))), point, 25);
    }
}

TEST_F(QtChartTest, TheTimeAxisShowsAFewEvenlySpacedLabelsInsideTheRange) {
    struct Case {
        qsizetype labels;
        double minimum;
        double maximum;
        bool oneTime;
    };
    const Case cases[] = {{3, 0, 2, false},         {17, 0, 16, false},      {3600, 0, 3599, false},
                          {32767, 0, 32766, false}, {3600, 100, 460, false}, {600, 0, 599, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.labels << " labels, " << c.minimum << ".." << c.maximum);
        QStringList labels;
        for (qsizetype i = 0; i < c.labels; ++i) {
            labels.append(c.oneTime ? QStringLiteral("12:03:07") : QString::number(i));
        }
        m_chart.setLabels(labels);
        m_chart.setXRange(c.minimum, c.maximum);

        std::vector<double> at;
        for (const QString& label : timeAxis().categoriesLabels()) {
            at.push_back(timeAxis().endValue(label));
            EXPECT_EQ(QString(label).remove(QChar(0x200B)),
                      labels.at(static_cast<qsizetype>(at.back())));
        }
        ASSERT_FALSE(at.empty());
        EXPECT_LE(at.size(), 10u);
        EXPECT_GE(at.size(), c.labels >= 17 ? 8u : 1u);
        // Off the ends, where the chart's edges would cut a label in half.
        EXPECT_GT(at.front(), c.minimum);
        EXPECT_LT(at.back(), c.maximum);
        for (size_t i = 2; i < at.size(); ++i) {
            EXPECT_LE(std::abs((at[i] - at[i - 1]) - (at[1] - at[0])), 1.0) << "label " << i;
        }
    }

    // Nothing else rebuilds them.
    QSignalSpy rebuilt(&timeAxis(), &QCategoryAxis::categoriesChanged);
    m_chart.setCurve(1, smooth(600));
    m_chart.setYRange(-10.0, 120.0);
    m_chart.setCursor(300.0, 0.0, 100.0, Qt::white);
    m_chart.setXRange(0.0, 599.0);
    settle();
    EXPECT_EQ(rebuilt.count(), 0);
}

TEST_F(QtChartTest, TheCursorIsOneLineWhereItsValuesLandUntilCleared) {
    open({smooth(100)});
    const auto expectCursor = [this](double x, double low, double high, QColor colour) {
        settle();
        const auto lines = cursors();
        ASSERT_EQ(lines.size(), 1u);
        const auto [line, drawn] = lines.front();
        EXPECT_NEAR((line.p1() - shown(x, low)).manhattanLength(), 0.0, 0.5);
        EXPECT_NEAR((line.p2() - shown(x, high)).manhattanLength(), 0.0, 0.5);
        EXPECT_EQ(drawn, colour);
    };
    m_chart.setCursor(25.0, 0.0, 100.0, Qt::white);
    expectCursor(25.0, 0.0, 100.0, Qt::white);
    m_chart.setCursor(40.0, 20.0, 80.0, Qt::red);
    expectCursor(40.0, 20.0, 80.0, Qt::red);
    m_chart.setXRange(0.0, 49.0);
    m_chart.setYRange(0.0, 200.0);
    expectCursor(40.0, 20.0, 80.0, Qt::red);
    view().resize(500, 89);
    expectCursor(40.0, 20.0, 80.0, Qt::red);

    m_chart.clearCursor();
    EXPECT_TRUE(cursors().empty());
    m_chart.setCursor(75.0, 0.0, 100.0, Qt::white);
    EXPECT_TRUE(cursors().empty()) << "past the end of the range";
}

TEST_F(QtChartTest, MovingTheCursorLeavesTheCurvesAndAxesAlone) {
    open({smooth(32767), smooth(32767), smooth(32767)});
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (int curve = 1; curve <= 3; ++curve) {
        spies.push_back(std::make_unique<QSignalSpy>(&series(curve), &QXYSeries::pointsReplaced));
        spies.push_back(std::make_unique<QSignalSpy>(&series(curve), &QXYSeries::pointsRemoved));
    }
    spies.push_back(std::make_unique<QSignalSpy>(&timeAxis(), &QValueAxis::rangeChanged));
    spies.push_back(std::make_unique<QSignalSpy>(&valueAxis(), &QValueAxis::rangeChanged));
    spies.push_back(std::make_unique<QSignalSpy>(&chart(), &QChart::plotAreaChanged));

    for (int second = 0; second < 20; ++second) {
        m_chart.setCursor(1000.0 + second, 0.0, 100.0, Qt::white);
        settle();
    }
    EXPECT_EQ(cursors().size(), 1u);
    for (size_t i = 0; i < spies.size(); ++i) {
        EXPECT_EQ(spies[i]->count(), 0) << "spy " << i;
    }
    // The curves keep their pictures, so repainting around the cursor only copies them.
    const auto items = view().scene()->items();
    EXPECT_EQ(std::count_if(items.begin(), items.end(),
                            [](const QGraphicsItem* item) {
                                return item->cacheMode() == QGraphicsItem::DeviceCoordinateCache;
                            }),
              3);
}

TEST_F(QtChartTest, AnEmptyRecordingIsTakenQuietlyAndShowsNoScale) {
    open({smooth(100)});
    m_chart.setCursor(50.0, 0.0, 100.0, Qt::white);
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { logged().append(text); });
    open({{}, {}, {}}, 0.0, 0.0);
    m_chart.setCursor(0.0, 0.0, 0.0, Qt::white);
    view().grab();
    qInstallMessageHandler(previous);
    EXPECT_EQ(logged(), QStringList());
    EXPECT_EQ(std::make_pair(timeAxis().min(), timeAxis().max()), std::make_pair(0.0, 0.0));
    EXPECT_EQ(std::make_pair(valueAxis().min(), valueAxis().max()), std::make_pair(0.0, 0.0));
    EXPECT_FALSE(timeAxis().labelsVisible());
    EXPECT_FALSE(valueAxis().labelsVisible());
    EXPECT_TRUE(cursors().empty());
    EXPECT_EQ(m_chart.pointAt(1, QPoint(300, 40)), -1);

    open({smooth(100)});
    EXPECT_TRUE(timeAxis().labelsVisible());
    EXPECT_TRUE(valueAxis().labelsVisible());
}

TEST_F(QtChartTest, MouseReleasesReachTheHandlerWithTheirPosition) {
    std::vector<std::pair<Qt::MouseButton, QPoint>> released;
    m_chart.setMouseUpHandler(
        [&released](Qt::MouseButton button, QPoint at) { released.emplace_back(button, at); });
    QTest::mousePress(view().viewport(), Qt::LeftButton, {}, QPoint(120, 30));
    QTest::mouseRelease(view().viewport(), Qt::LeftButton, {}, QPoint(120, 30));
    QTest::mouseRelease(view().viewport(), Qt::RightButton, {}, QPoint(7, 80));
    const std::vector<std::pair<Qt::MouseButton, QPoint>> expected{
        {Qt::LeftButton, QPoint(120, 30)}, {Qt::RightButton, QPoint(7, 80)}};
    EXPECT_EQ(released, expected);
}

}  // namespace
