// How fast the control bar's chart draws. A recording is drawn whole when the window opens it
// (goal: under 100 ms for an hour and more, 32767 points a curve), and the cursor moves every
// 800 ms while it plays (goal: the move and its repaint under 5 ms). Runs on Qt's offscreen
// platform unless QT_QPA_PLATFORM names another.
#include <benchmark/benchmark.h>

#include "QtBenchmarkMain.h"

#include <QApplication>
#include <QChartView>
#include <QImage>
#include <QWidget>
#include <array>
#include <cmath>

#include "platform/QtChart.h"

namespace {

// The chart's size in the control bar.
constexpr int kWidth = 743;
constexpr int kHeight = 89;

// One recording as the window gives it to the chart: three curves, a time label a second.
struct Recording {
    std::array<QList<double>, Chart::kCurveCount> curves;
    QStringList labels;
    double low = 0.0;
    double high = 0.0;
};

// Speeds with the jitter of real fixes, or G-sensor readings around their rest values.
Recording makeRecording(qsizetype points, bool gSensor, int startSecond) {
    Recording r;
    r.low = gSensor ? -2.0 : 0.0;
    r.high = gSensor ? 2.0 : 130.0;
    for (qsizetype i = 0; i < points; ++i) {
        const auto t = static_cast<double>(i);
        for (size_t c = 0; c < r.curves.size(); ++c) {
            const double wave = std::sin(t / (97.0 + 31.0 * static_cast<double>(c)));
            const double jitter =
                static_cast<double>((i * 7919 + static_cast<qsizetype>(c) * 31) % 13);
            r.curves[c].append(gSensor ? 0.8 * wave + 0.02 * jitter - 0.1
                                       : 65.0 + 50.0 * wave + jitter);
        }
        const qsizetype s = startSecond + i;
        r.labels.append(QStringLiteral("%1:%2:%3")
                            .arg(s / 3600 % 24, 2, 10, QChar(u'0'))
                            .arg(s / 60 % 60, 2, 10, QChar(u'0'))
                            .arg(s % 60, 2, 10, QChar(u'0')));
    }
    return r;
}

// The chart shown at its control-bar size.
class ChartFixture {
  public:
    ChartFixture() : m_chart(&m_window) {
        m_window.resize(kWidth, kHeight);
        m_chart.widget()->setGeometry(0, 0, kWidth, kHeight);
        m_window.show();
        QCoreApplication::processEvents();
    }

    QtChart& chart() { return m_chart; }
    QWidget& view() { return *m_chart.widget(); }
    QWidget& viewport() { return *static_cast<QChartView*>(m_chart.widget())->viewport(); }

    void open(const Recording& r) {
        for (int c = 0; c < Chart::kCurveCount; ++c) {
            m_chart.setCurve(c + 1, r.curves.at(static_cast<size_t>(c)));
        }
        m_chart.setLabels(r.labels);
        m_chart.setXRange(0.0, static_cast<double>(r.labels.size() - 1));
        m_chart.setYRange(r.low, r.high);
    }

  private:
    QWidget m_window;
    QtChart m_chart;
};

// Two recordings taken in turn, so each round draws everything anew: the curves, the labels and
// both ranges change.
void BM_OpenRecording(benchmark::State& state) {
    const qsizetype points = state.range(0);
    const std::array<Recording, 2> recordings{makeRecording(points, false, 12 * 3600),
                                              makeRecording(points - 1, true, 15 * 3600)};
    ChartFixture fixture;
    QImage picture(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    size_t next = 0;
    for (auto _ : state) {
        fixture.open(recordings.at(next));
        next = 1 - next;
        // The layout the new labels ask for, then one picture of the whole chart.
        QCoreApplication::processEvents();
        fixture.view().render(&picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_OpenRecording)->Arg(600)->Arg(3600)->Arg(32767)->Unit(benchmark::kMillisecond);

// The cursor moved to the next second, then the chart repainted whole on screen (the event loop
// repaints no more than that).
void BM_MoveCursor(benchmark::State& state) {
    const qsizetype points = state.range(0);
    ChartFixture fixture;
    fixture.open(makeRecording(points, false, 12 * 3600));
    QCoreApplication::processEvents();
    fixture.viewport().repaint();
    qsizetype second = 0;
    for (auto _ : state) {
        second = (second + 1) % points;
        fixture.chart().setCursor(static_cast<double>(second), 0.0, 130.0, Qt::white);
        QCoreApplication::processEvents();
        fixture.viewport().repaint();
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_MoveCursor)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv);
}
