#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "MapPageProbe.h"
#include "platform/MapWebProfile.h"
#include "services/MapPage.h"
#include "services/Rounding.h"
#include "services/clsDot.h"

namespace {

struct Position {
    double lon;
    double lat;
};
using Route = std::vector<Position>;

// n points from a start, a step apart: every pair differs in both coordinates.
Route line(int n, Position start, Position step) {
    Route route;
    for (int i = 0; i < n; ++i) {
        route.push_back({start.lon + i * step.lon, start.lat + i * step.lat});
    }
    return route;
}

QString point(const Position& p) {
    return QString::number(p.lon, 'f', 6) + u'!' + QString::number(p.lat, 'f', 6) + u'|';
}

// The batches of one route as the viewer sends them: the serial heads the first, at most ten
// points follow in each, "Over" ends them. A batch goes when the count of points k sent so far
// gives (k - shift) % 10 == 0.
std::vector<QString> batches(int serial, const Route& route, int shift) {
    std::vector<QString> batches;
    QString buffer = QStringLiteral("%1").arg(serial, 3, 10, QLatin1Char('0'));
    for (std::size_t k = 1; k <= route.size(); ++k) {
        buffer += point(route[k - 1]);
        if ((static_cast<int>(k) - shift) % 10 == 0) {
            batches.push_back(buffer);
            buffer.clear();
        }
    }
    if (!buffer.isEmpty()) {
        batches.push_back(buffer);
    }
    batches.push_back(QStringLiteral("Over"));
    return batches;
}

// While the track loader reads a track: the serial with point 0, then 1-10, 11-20, ….
std::vector<QString> loaderBatches(int serial, const Route& route) {
    return batches(serial, route, 1);
}

// A stored track sent again: the serial with points 1-10, then 11-20, ….
std::vector<QString> storedBatches(int serial, const Route& route) {
    return batches(serial, route, 0);
}

// Sends as the viewer does: through the map page service, which checks every text.
void send(MapPage& page, const std::vector<QString>& batches) {
    for (const QString& batch : batches) {
        EXPECT_TRUE(page.getContentHis(batch)) << batch.toStdString();
    }
}

// Tiles from a port the web engine never opens: the page is offline at once.
MapWebSetup offline() {
    MapWebSetup setup;
    setup.tileAddress = QStringLiteral("http://127.0.0.1:9/{z}/{x}/{y}.png");
    return setup;
}

const Route kTaipei = line(25, {121.533958, 25.036512}, {0.000150, 0.000110});
const Route kNearby = line(25, {121.540000, 25.030000}, {0.000120, -0.000090});

class DeskMapPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_probe.load(MapPageProbe::pageAddress()));
        m_page.attach(&m_probe.browser());
        m_page.setReadyFlag(MapPage::kReady);
    }

    QString value(const QString& expression) {
        return m_probe.evaluate(expression).value_or(QStringLiteral("no answer"));
    }

    MapPageProbe m_probe{MapPageProbe::makeProfile(offline())};
    MapPage m_page;
};

struct FeedCase {
    const char* name;
    std::function<void(MapPage&)> feed;
    std::vector<std::pair<QString, QString>> expected;
};

void PrintTo(const FeedCase& feed, std::ostream* out) {
    *out << feed.name;
}

class DeskMapPageFeedTest : public DeskMapPageTest,
                            public ::testing::WithParamInterface<FeedCase> {};

TEST_P(DeskMapPageFeedTest, DrawsWhatTheViewerSends) {
    GetParam().feed(m_page);
    for (const auto& [expression, expected] : GetParam().expected) {
        EXPECT_EQ(value(expression), expected) << expression.toStdString();
    }
}

const Route kNoFixFirst = [] {
    Route route(3, {0.0, 0.0});
    const Route fixes = line(12, {121.5, 25.0}, {0.0002, 0.0001});
    route.insert(route.end(), fixes.begin(), fixes.end());
    return route;
}();

INSTANTIATE_TEST_SUITE_P(
    Batches, DeskMapPageFeedTest,
    ::testing::Values(
        FeedCase{"a route as the loader sends it, 1 + 10 + 10 + 4 points",
                 [](MapPage& page) { send(page, loaderBatches(3, kTaipei)); },
                 {{"harvdvrPage.serials()", "003"},
                  {"harvdvrPage.pointCount('003')", "25"},
                  {"harvdvrPage.drawnPointCount('003')", "25"}}},
        FeedCase{"a second route, as a stored track is sent again",
                 [](MapPage& page) {
                     send(page, loaderBatches(3, kTaipei));
                     send(page, storedBatches(7, kNearby));
                 },
                 {{"harvdvrPage.serials()", "003,007"},
                  {"harvdvrPage.pointCount('007')", "25"},
                  {"harvdvrPage.routeColour('003') !== harvdvrPage.routeColour('007')", "true"}}},
        FeedCase{
            "serials of four digits, also where they could run into the longitude",
            [](MapPage& page) {
                send(page, loaderBatches(1234, kTaipei));
                send(page, loaderBatches(1234, line(20, {1.5, 43.6}, {0.0001, 0.0001})));
                send(page, loaderBatches(123, line(25, {12.5, 41.9}, {0.0001, 0.0001})));
                send(page, loaderBatches(4321, line(25, {-58.381592, -34.6}, {0.0001, 0.0001})));
            },
            {{"harvdvrPage.serials()", "1234,123,4321"},
             {"harvdvrPage.pointCount('1234')", "20"},
             {"harvdvrPage.pointCount('123')", "25"}}},
        FeedCase{"no-fix points are kept in the count but never drawn",
                 [](MapPage& page) {
                     send(page, loaderBatches(5, kNoFixFirst));
                     send(page, loaderBatches(9, Route(5, {0.0, 0.0})));
                 },
                 {{"harvdvrPage.pointCount('005')", "15"},
                  {"harvdvrPage.drawnPointCount('005')", "12"},
                  {"harvdvrPage.pointCount('009')", "5"},
                  {"harvdvrPage.drawnPointCount('009')", "0"}}},
        FeedCase{"a route sent again replaces the old one, clearHistroy takes one off",
                 [](MapPage& page) {
                     send(page, loaderBatches(3, kTaipei));
                     send(page, loaderBatches(7, kNearby));
                     send(page, storedBatches(3, Route(kNearby.begin(), kNearby.begin() + 12)));
                     EXPECT_TRUE(page.clearHistroy(QStringLiteral("007")));
                 },
                 {{"harvdvrPage.serials()", "003"},
                  {"harvdvrPage.pointCount('003')", "12"},
                  {"harvdvrPage.pointCount('007')", "0"}}},
        FeedCase{"the car stands where MoveCar puts it, turned, and is kept in view",
                 [](MapPage& page) {
                     send(page, loaderBatches(3, kTaipei));
                     EXPECT_TRUE(page.MoveCar(QStringLiteral("13.404954|52.520008|1|270")));
                 },
                 {{"harvdvrPage.car()", "13.404954|52.520008|1|270|true|true"}}},
        FeedCase{"a second without a fix takes the car off the map",
                 [](MapPage& page) {
                     EXPECT_TRUE(page.MoveCar(QStringLiteral("121.535458|25.037612|11|90")));
                     EXPECT_TRUE(page.MoveCar(QStringLiteral("0.000000|0.000000|12|0")));
                 },
                 {{"harvdvrPage.car()", "0|0|12|0|false|false"}}}),
    [](const ::testing::TestParamInfo<FeedCase>& param) { return std::to_string(param.index); });

// The clicked point as the viewer reads it: "(lat, lon)" in fixed point, then the first
// loaded track and pair that holds it; nothing for an empty click.
std::optional<std::pair<int, int>> viewerFinds(const QString& click,
                                               const std::vector<std::pair<int, Route>>& routes) {
    if (click.size() <= 2) {
        return std::nullopt;
    }
    const QStringList parts = click.mid(1, click.size() - 2).split(u',');
    if (parts.size() != 2) {
        return std::pair{-1, -1};
    }
    const auto fixed = [](const QString& text) {
        return static_cast<std::int32_t>(Rounding::halfEven(text.trimmed().toDouble() * 1e7));
    };
    for (const auto& [serial, route] : routes) {
        clsDot track;
        for (const Position& p : route) {
            track.SetDot({}, {}, 0, 0, QString::number(p.lon, 'f', 6),
                         QString::number(p.lat, 'f', 6), 0, 0, 0, 0, 0);
        }
        if (const std::int32_t pair = track.lPtLocal(fixed(parts[1]), fixed(parts[0])); pair > 0) {
            return std::pair{serial, static_cast<int>(pair)};
        }
    }
    return std::pair{0, 0};
}

// Route 3 ends in a long last pair; route 11's first pair spans a rectangle that holds the
// start of its third pair.
const Route kLong = [] {
    Route route = line(24, {121.500, 25.000}, {0.0008, 0.0005});
    route.push_back({route.back().lon + 0.004, route.back().lat + 0.001});
    return route;
}();
const Route kSouth = line(25, {121.500, 24.985}, {0.0008, -0.0004});
const Route kCrossing = {
    {121.535, 24.990}, {121.545, 25.000}, {121.544, 24.991}, {121.546, 24.993}, {121.548, 24.994}};

struct ClickCase {
    const char* name;
    Position a;
    Position b;
    double along;
    double dx;
    double dy;
    std::optional<std::pair<int, int>> found;
};

TEST_F(DeskMapPageTest, AClickNearARouteLeavesAPointTheViewerFindsInThatPair) {
    const std::vector<std::pair<int, Route>> routes{{3, kLong}, {7, kSouth}, {11, kCrossing}};
    for (const auto& [serial, route] : routes) {
        send(m_page, loaderBatches(serial, route));
    }
    const ClickCase cases[] = {
        {"beside pair 5 of route 3", kLong[4], kLong[5], 0.5, 2, 1, std::pair{3, 5}},
        {"beside pair 12 of route 7", kSouth[11], kSouth[12], 0.4, -1, 2, std::pair{7, 12}},
        {"on pair 3 of route 11, where pair 1's rectangle covers it", kCrossing[2], kCrossing[3],
         0.3, 0, 1, std::pair{11, 3}},
        {"beside the last pair, which the viewer never searches", kLong[23], kLong[24], 0.5, 0, 1,
         std::nullopt},
        {"far from every route", kLong[4], kLong[5], 0.5, 0, 60, std::nullopt},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<QString> click =
            m_probe.clickNear(c.a.lat + (c.b.lat - c.a.lat) * c.along,
                              c.a.lon + (c.b.lon - c.a.lon) * c.along, c.dx, c.dy);
        ASSERT_TRUE(click.has_value());
        EXPECT_EQ(viewerFinds(*click, routes), c.found) << click->toStdString();
        m_probe.browser().writePageValue(MapPage::kClickVariable, QString());
    }
}

// The map panel loads the page parked out of sight with no size and gives it one when it has
// loaded; routes that come while it has none are fitted as soon as it has its size.
TEST(DeskMapPageParkedTest, RoutesSentWhileThePageHasNoSizeAreFittedOnceItHasOne) {
    MapPageProbe probe(MapPageProbe::makeProfile(offline()));
    QWidget* view = probe.browser().widget();
    view->setGeometry(640, 480, 0, 0);
    ASSERT_TRUE(probe.load(MapPageProbe::pageAddress()));
    MapPage page;
    page.attach(&probe.browser());
    page.setReadyFlag(MapPage::kReady);

    // Wider than the view at the closest zoom: fitted before the page has its size, it would
    // stay far too close.
    const Route wide = line(25, {121.5, 25.0}, {0.002, 0.0015});
    send(page, loaderBatches(3, wide));
    view->setGeometry(0, 0, 640, 480);
    const QString inView =
        QStringLiteral(
            "harvdvrPage.map.getSize().x === 640 && harvdvrPage.map.getBounds().contains("
            "L.latLngBounds([[%1, %2], [%3, %4]]))")
            .arg(wide.front().lat, 0, 'f', 6)
            .arg(wide.front().lon, 0, 'f', 6)
            .arg(wide.back().lat, 0, 'f', 6)
            .arg(wide.back().lon, 0, 'f', 6);
    EXPECT_TRUE(MapPageProbe::waitUntil([&] { return probe.evaluate(inView) == "true"; }));
}

TEST_F(DeskMapPageTest, OfflineTheRoutesAndTheCarLieOnThePlainBackground) {
    send(m_page, loaderBatches(3, kTaipei));
    send(m_page, loaderBatches(7, kNearby));
    ASSERT_TRUE(m_page.MoveCar(QStringLiteral("121.535458|25.037612|11|135")));
    ASSERT_TRUE(MapPageProbe::waitUntil([&] { return value("harvdvrPage.offline()") == "true"; }));
    EXPECT_EQ(value("harvdvrPage.tilesLoaded()"), "0");

    // The page's own pixels: mostly the theme's navy, where no route, line or control is, and
    // each route in its colour. The view shows the page's drawing a moment after it is made.
    const QColor navy(26, 27, 54);
    const QColor routes[] = {QColor(value("harvdvrPage.routeColour('003')")),
                             QColor(value("harvdvrPage.routeColour('007')"))};
    QImage picture;
    const auto looksDrawn = [&] {
        picture = m_probe.browser().widget()->grab().toImage();
        std::map<QRgb, int> count;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                ++count[picture.pixel(x, y) | 0xff000000];
            }
        }
        return count[navy.rgb()] * 2 > picture.width() * picture.height() &&
               count[routes[0].rgb()] > 20 && count[routes[1].rgb()] > 20;
    };
    ASSERT_TRUE(routes[0].isValid() && routes[1].isValid());
    ASSERT_TRUE(MapPageProbe::waitUntil(looksDrawn));
    const QString folder = qEnvironmentVariable("HARVENTIS_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        picture.save(QDir(folder).filePath(QStringLiteral("map-page-offline.png")));
    }
}

}  // namespace
