#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <cmath>

#include "platform/CurveThinning.h"

namespace {

// A G-sensor-like curve: slow waves with noise on every point and a lone jolt now and then.
QList<double> noisyCurve(qsizetype count) {
    QRandomGenerator random(static_cast<quint32>(count));
    QList<double> values;
    for (qsizetype i = 0; i < count; ++i) {
        const double jolt = i % 1009 == 500 ? (i % 2 == 0 ? 35.0 : -35.0) : 0.0;
        values.append(45.0 + 30.0 * std::sin(static_cast<double>(i) / 150.0) +
                      random.bounded(10.0) + jolt);
    }
    return values;
}

QList<QPointF> allPoints(const QList<double>& values) {
    QList<QPointF> points;
    for (qsizetype i = 0; i < values.size(); ++i) {
        points.append(QPointF(static_cast<double>(i), values.at(i)));
    }
    return points;
}

TEST(CurveThinning, KeepsItsOwnPointsInOrderAndOnlyTheNearestBeyondTheSpan) {
    struct Case {
        qsizetype count;
        double minimum;
        double maximum;
        double columns;
        bool whole;
    };
    const Case cases[] = {{0, 0, 10, 700, true},
                          {2800, 0, 2799, 700, true},
                          {3600, 5, 5, 700, true},
                          {3600, 9, 2, 700, true},
                          {3600, 0, 3599, 0, true},
                          {32767, 0, 32766, 600, false},
                          {32767, 1000.5, 9000.25, 600, false},
                          {32767, -50, 20000, 600, false},
                          {32767, 30000, 40000, 600, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " points, " << c.minimum << ".." << c.maximum
                                        << " in " << c.columns);
        const QList<double> values = noisyCurve(c.count);
        const QList<QPointF> kept =
            CurveThinning::thin(values, c.minimum, c.maximum, c.columns, 0.3);
        if (c.whole) {
            EXPECT_EQ(kept, allPoints(values));
            continue;
        }
        EXPECT_LE(kept.size(), 4 * (c.columns + 1) + 2);
        const auto first = std::max(0.0, std::ceil(c.minimum));
        const auto last = std::min(32766.0, std::floor(c.maximum));
        EXPECT_EQ(kept.front().x(), first > 0 ? first - 1 : 0.0);
        EXPECT_EQ(kept.back().x(), last < 32766 ? last + 1 : 32766.0);
        for (qsizetype k = 0; k < kept.size(); ++k) {
            const double x = kept.at(k).x();
            ASSERT_EQ(kept.at(k).y(), values.at(static_cast<qsizetype>(x)));
            ASSERT_TRUE(k == 0 || kept.at(k - 1).x() < x);
            ASSERT_TRUE((x >= first && x <= last) || k == 0 || k == kept.size() - 1) << x;
        }
    }
}

// The curve as the chart paints it: pen width 2, no antialiasing, the span on 715.6 pixels.
QImage paint(const QList<QPointF>& points, double maximum, double left) {
    QImage image(760, 100, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::red, 2));
    const auto at = [&](QPointF p) { return QPointF(left + p.x() * 715.6 / maximum, 90 - p.y()); };
    for (qsizetype i = 1; i < points.size(); ++i) {
        painter.drawLine(at(points.at(i - 1)), at(points.at(i)));
    }
    return image;
}

bool painted(const QImage& image, int x, int y) {
    return image.valid(x, y) && image.pixel(x, y) != qRgb(0, 0, 0);
}

// How many painted pixels of one picture have no painted pixel of the other within a pixel.
int strays(const QImage& picture, const QImage& other) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            bool near = false;
            for (int d = 0; d < 9 && !near; ++d) {
                near = painted(other, x + d % 3 - 1, y + d / 3 - 1);
            }
            count += painted(picture, x, y) && !near ? 1 : 0;
        }
    }
    return count;
}

TEST(CurveThinning, PaintsTheLineOfEveryPointInHalfPixelColumns) {
    for (const qsizetype count : {20000, 32767}) {
        for (const double left : {0.0, 27.4, 30.75}) {
            SCOPED_TRACE(testing::Message() << count << " points from x " << left);
            const QList<double> values = noisyCurve(count);
            const auto maximum = static_cast<double>(count - 1);
            const QList<QPointF> kept = CurveThinning::thin(values, 0.0, maximum, 2 * 715.6,
                                                            2 * left - std::floor(2 * left));
            ASSERT_LT(kept.size(), count / 2);
            const QImage full = paint(allPoints(values), maximum, left);
            const QImage thinned = paint(kept, maximum, left);

            // Where many short strokes overlap, their square ends reach a pixel further than those
            // of the few kept, so the two pictures differ at the edges of the line, never more.
            EXPECT_EQ(strays(full, thinned), 0) << "lost from the line";
            EXPECT_EQ(strays(thinned, full), 0) << "added to the line";
            int lit = 0;
            int different = 0;
            for (int y = 0; y < full.height(); ++y) {
                for (int x = 0; x < full.width(); ++x) {
                    lit += painted(full, x, y) ? 1 : 0;
                    different += full.pixel(x, y) != thinned.pixel(x, y) ? 1 : 0;
                }
            }
            EXPECT_LT(different, lit / 50) << lit << " painted";
        }
    }
}

}  // namespace
