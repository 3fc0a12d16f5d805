#include <gtest/gtest.h>

#include <QBuffer>
#include <QColor>
#include <QHostAddress>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <map>
#include <memory>
#include <vector>

#include "MapPageProbe.h"
#include "TempHome.h"
#include "platform/MapTileInterceptor.h"
#include "platform/MapWebProfile.h"

namespace {

// The headers of one request, by their names in lower case.
using TileRequest = std::map<QByteArray, QByteArray>;

// A tile server on this machine: answers every request with one PNG tile, kept a day, or with
// the status it is given.
class TileStub {
  public:
    explicit TileStub(int status = 200) : m_status(status) {
        QImage tile(256, 256, QImage::Format_RGB32);
        tile.fill(QColor(236, 232, 224));
        QBuffer buffer(&m_png);
        buffer.open(QIODevice::WriteOnly);
        tile.save(&buffer, "PNG");
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { accept(); });
        m_server.listen(QHostAddress::LocalHost);
    }

    QString address() const {
        return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(m_server.serverPort());
    }
    const std::vector<TileRequest>& requests() const { return m_requests; }

  private:
    void accept() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            auto received = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
                *received += socket->readAll();
                if (received->contains("\r\n\r\n")) {
                    answer(socket, *received);
                }
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void answer(QTcpSocket* socket, const QByteArray& request) {
        TileRequest headers;
        for (const QByteArray& line : request.left(request.indexOf("\r\n\r\n")).split('\n')) {
            const qsizetype colon = line.indexOf(':');
            headers[line.left(colon).trimmed().toLower()] = line.mid(colon + 1).trimmed();
        }
        m_requests.push_back(headers);
        const QByteArray body = m_status == 200 ? m_png : QByteArray("no tile");
        socket->write("HTTP/1.1 " + QByteArray::number(m_status) +
                      (m_status == 200 ? " OK" : " Failed") +
                      "\r\nContent-Type: " + (m_status == 200 ? "image/png" : "text/plain") +
                      "\r\nCache-Control: public, max-age=86400\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    int m_status;
    QByteArray m_png;
    QTcpServer m_server;
    std::vector<TileRequest> m_requests;
};

const char kContact[] = "https://www.harventis.example/dvr-tools";

MapWebSetup tilesFrom(const TileStub& stub, const char* referer = "") {
    MapWebSetup setup;
    setup.tileAddress = stub.address();
    setup.contact = QString::fromLatin1(kContact);
    setup.tileReferer = QString::fromLatin1(referer);
    return setup;
}

// Every tile the page asked for has come, or failed.
bool tilesSettled(MapPageProbe& probe) {
    return probe.evaluate(QStringLiteral("harvdvrPage.tilesSettled()")) == QStringLiteral("true");
}

TEST(MapBrowserTileTest, TileRequestsNameTheViewer) {
    // The stub is a plain http server: a secure page address is never sent to it.
    const std::pair<const char*, QByteArray> cases[] = {
        {"http://www.harventis.example/", "http://www.harventis.example/"},
        {"https://www.harventis.example/", ""},
        {"", ""},
    };
    for (const auto& [referer, sent] : cases) {
        SCOPED_TRACE(referer);
        TileStub stub;
        MapPageProbe probe(MapPageProbe::makeProfile(tilesFrom(stub, referer)));
        ASSERT_TRUE(probe.load(MapPageProbe::pageAddress()));
        ASSERT_TRUE(MapPageProbe::waitUntil([&] { return tilesSettled(probe); }));

        EXPECT_EQ(probe.evaluate(QStringLiteral("harvdvrPage.offline()")), "false");
        ASSERT_FALSE(stub.requests().empty());
        for (const TileRequest& request : stub.requests()) {
            EXPECT_EQ(request.at("user-agent"),
                      QByteArray("HarventisDVRTools/" HARVENTIS_VERSION " (+") + kContact + ')');
            EXPECT_EQ(request.count("referer") ? request.at("referer") : QByteArray(), sent);
        }
    }
}

TEST(MapBrowserTileTest, TilesComeBackFromTheDiskCacheInTheNextRun) {
    TileStub stub;
    const QString name = QStringLiteral("map-cache-test");
    {
        MapPageProbe first(MapPageProbe::makeProfile(tilesFrom(stub), name));
        ASSERT_TRUE(first.load(MapPageProbe::pageAddress()));
        ASSERT_TRUE(MapPageProbe::waitUntil([&] { return tilesSettled(first); }));
    }
    const std::size_t fetched = stub.requests().size();
    ASSERT_GT(fetched, 0U);

    // A new profile on the same folder: nothing is left in memory from the first.
    MapPageProbe second(MapPageProbe::makeProfile(tilesFrom(stub), name));
    ASSERT_TRUE(second.load(MapPageProbe::pageAddress()));
    ASSERT_TRUE(MapPageProbe::waitUntil([&] { return tilesSettled(second); }));
    EXPECT_EQ(second.evaluate(QStringLiteral("harvdvrPage.tileErrors()")), "0");
    EXPECT_EQ(stub.requests().size(), fetched);
}

TEST(MapBrowserTileTest, ANewTileAddressTakesEffectAtOnceAndInLaterPages) {
    TileStub stub;
    MapWebSetup offline;
    offline.tileAddress = QStringLiteral("http://127.0.0.1:9/{z}/{x}/{y}.png");
    MapPageProbe probe(MapPageProbe::makeProfile(offline));
    ASSERT_TRUE(probe.load(MapPageProbe::pageAddress()));

    probe.browser().setTileAddress(stub.address());
    ASSERT_TRUE(MapPageProbe::waitUntil(
        [&] { return probe.evaluate(QStringLiteral("harvdvrPage.tilesLoaded() > 0")) == "true"; }));
    ASSERT_TRUE(probe.load(MapPageProbe::pageAddress()));
    EXPECT_EQ(probe.evaluate(QStringLiteral("harvdvrPage.tileAddress()")), stub.address());
}

TEST(MapBrowserTileTest, AFailingTileServerLeavesThePlainBackground) {
    TileStub stub(503);
    MapPageProbe probe(MapPageProbe::makeProfile(tilesFrom(stub)));
    ASSERT_TRUE(probe.load(MapPageProbe::pageAddress()));
    ASSERT_TRUE(MapPageProbe::waitUntil([&] { return tilesSettled(probe); }));

    EXPECT_FALSE(stub.requests().empty());
    EXPECT_EQ(probe.evaluate(QStringLiteral("harvdvrPage.offline()")), "true");
    EXPECT_EQ(probe.evaluate(QStringLiteral("harvdvrPage.tilesLoaded()")), "0");
    EXPECT_EQ(probe.evaluate(QStringLiteral(
                  "document.querySelectorAll('canvas.leaflet-tile').length > 0 && "
                  "Array.from(document.querySelectorAll('img.leaflet-tile')).every("
                  "function (tile) { return tile.style.visibility === 'hidden'; })")),
              "true");
}

TEST(MapBrowserProfileTest, TheCacheFollowsXdgCacheHomeWhenItIsAbsolute) {
    TempHome home;
    const QString below = QStringLiteral("/harventis-dvr-tools/web");
    const struct {
        const char* value;
        QString folder;
    } cases[] = {
        {"", home.home() + QStringLiteral("/.cache") + below},
        {"relative/cache", home.home() + QStringLiteral("/.cache") + below},
        {nullptr, home.home() + QStringLiteral("/.cache") + below},
        {"absolute", home.cacheHome() + below},
    };
    for (const auto& c : cases) {
        if (c.value == nullptr) {
            home.unset("XDG_CACHE_HOME");
        } else {
            home.set("XDG_CACHE_HOME", qstrcmp(c.value, "absolute") == 0
                                           ? home.cacheHome().toLocal8Bit()
                                           : QByteArray(c.value));
        }
        EXPECT_EQ(MapWebProfile::defaultCacheFolder(), c.folder) << (c.value ? c.value : "unset");
    }
}

TEST(MapBrowserProfileTest, OnlyAWebAddressIsTakenForTiles) {
    const QString fallback = MapWebProfile::kDefaultTileAddress;
    const std::pair<QString, QString> cases[] = {
        {QString(), fallback},
        {QStringLiteral("  "), fallback},
        {QStringLiteral("javascript:alert(1)//{z}"), fallback},
        {QStringLiteral("file:///etc/{z}/{x}/{y}.png"), fallback},
        {QStringLiteral("tiles/{z}/{x}/{y}.png"), fallback},
        {QStringLiteral(" https://{s}.tiles.example/{z}/{x}/{y}.png "),
         QStringLiteral("https://{s}.tiles.example/{z}/{x}/{y}.png")},
        {QStringLiteral("http://192.168.1.5:8080/osm/{z}/{x}/{y}.png"),
         QStringLiteral("http://192.168.1.5:8080/osm/{z}/{x}/{y}.png")},
    };
    for (const auto& [address, taken] : cases) {
        EXPECT_EQ(MapWebProfile::tileAddressOr(address), taken) << address.toStdString();
    }
    EXPECT_TRUE(fallback.startsWith(QStringLiteral("https://{s}.tile.openstreetmap.org/")));
}

TEST(MapBrowserProfileTest, TileRequestsAreKnownByTheirServer) {
    MapTileInterceptor interceptor;
    interceptor.setTileAddress(QStringLiteral("https://{s}.tiles.example:8443/{z}/{x}/{y}.png"));
    const std::pair<const char*, bool> cases[] = {
        {"https://a.tiles.example:8443/3/4/5.png", true},
        {"https://c.tiles.example:8443/3/4/5.png?x=1", true},
        {"https://a.tiles.example/3/4/5.png", false},
        {"http://a.tiles.example:8443/3/4/5.png", false},
        {"https://a.tiles.example.evil:8443/3/4/5.png", false},
        {"harvdvr-map://app/harvdvr/DeskMap.js", false},
    };
    for (const auto& [address, tile] : cases) {
        EXPECT_EQ(interceptor.isTileRequest(QUrl(QString::fromLatin1(address))), tile) << address;
    }
}

TEST(MapBrowserProfileTest, NoSettingCanBreakTheUserAgentHeader) {
    EXPECT_EQ(MapWebProfile::userAgent(QString()),
              QByteArray("HarventisDVRTools/" HARVENTIS_VERSION));
    EXPECT_EQ(MapWebProfile::userAgent(QStringLiteral("https://a.example\r\nX-Evil: 1")),
              QByteArray("HarventisDVRTools/" HARVENTIS_VERSION " (+https://a.exampleX-Evil: 1)"));
}

}  // namespace
