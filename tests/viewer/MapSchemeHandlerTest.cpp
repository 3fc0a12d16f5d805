#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include "MapPageProbe.h"
#include "platform/MapSchemeHandler.h"

namespace {

// A program folder with a map page, a file beside the map folder and links in and out.
class MapSchemeHandlerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(m_program.path()).mkpath(QStringLiteral("map/harvdvr")));
        write(QStringLiteral("map/harvdvr/DeskMap.asp"), "<html><body>served</body></html>");
        write(QStringLiteral("secret.txt"), "not for the page");
        ASSERT_TRUE(QFile::link(QStringLiteral("DeskMap.asp"), path("map/harvdvr/in.asp")));
        ASSERT_TRUE(QFile::link(QStringLiteral("../../secret.txt"), path("map/harvdvr/out.txt")));
        ASSERT_TRUE(QFile::link(QStringLiteral("../.."), path("map/harvdvr/up")));
    }

    QString path(const char* relative) const {
        return m_program.filePath(QString::fromLatin1(relative));
    }

    void write(const QString& relative, const QByteArray& content) {
        QFile file(m_program.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QString mapFolder() const { return path("map"); }

    QTemporaryDir m_program;
};

TEST_F(MapSchemeHandlerTest, ServesOnlyFilesInsideTheMapFolder) {
    const QString page = QFileInfo(path("map/harvdvr/DeskMap.asp")).canonicalFilePath();
    const struct {
        QString address;
        QString served;
    } cases[] = {
        {QStringLiteral("harvdvr-map://app/harvdvr/DeskMap.asp?LangID=1028"), page},
        {QStringLiteral("harvdvr-map://app/harvdvr/in.asp"), page},
        {QStringLiteral("harvdvr-map://app/harvdvr/../../secret.txt"), QString()},
        {QStringLiteral("harvdvr-map://app/harvdvr/..%2F..%2Fsecret.txt"), QString()},
        {QStringLiteral("harvdvr-map://app/harvdvr/out.txt"), QString()},
        {QStringLiteral("harvdvr-map://app/harvdvr/up/secret.txt"), QString()},
        {QStringLiteral("harvdvr-map://app/") + path("secret.txt"), QString()},
        {QStringLiteral("harvdvr-map://app/harvdvr/./DeskMap.asp"), QString()},
        {QStringLiteral("harvdvr-map://app/harvdvr/DeskMap.asp%00.txt"), QString()},
        {QStringLiteral("harvdvr-map://app/harvdvr"), QString()},
        {QStringLiteral("harvdvr-map://app/harvdvr/missing.js"), QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MapSchemeHandler::resolve(mapFolder(), QUrl(c.address)), c.served)
            << c.address.toStdString();
    }
}

TEST_F(MapSchemeHandlerTest, TheWebViewGetsThePageAndNothingOutside) {
    MapWebSetup setup;
    setup.programFolder = m_program.path();
    MapPageProbe probe(MapPageProbe::makeProfile(setup));

    ASSERT_TRUE(probe.load(QStringLiteral("harvdvr-map://app/harvdvr/DeskMap.asp?LangID=1028")));
    EXPECT_EQ(probe.evaluate(QStringLiteral("document.body.textContent")), "served");
    EXPECT_EQ(probe.evaluate(QStringLiteral("document.contentType")), "text/html");

    EXPECT_FALSE(probe.load(QStringLiteral("harvdvr-map://app/harvdvr/out.txt")));
    EXPECT_FALSE(probe.load(QStringLiteral("harvdvr-map://app/harvdvr/up/secret.txt")));
    EXPECT_FALSE(probe.load(QStringLiteral("harvdvr-map://app/harvdvr/missing.asp")));
}

TEST(MapSchemeHandlerTypes, PagesScriptsAndPicturesGoOutAsTheirType) {
    const std::pair<const char*, const char*> cases[] = {
        {"DeskMap.asp", "text/html"},          {"index.HTML", "text/html"},
        {"leaflet.js", "text/javascript"},     {"DeskMap.css", "text/css"},
        {"layers.png", "image/png"},           {"car.svg", "image/svg+xml"},
        {"notes", "application/octet-stream"},
    };
    for (const auto& [name, type] : cases) {
        EXPECT_EQ(MapSchemeHandler::mimeType(QString::fromLatin1(name)), QByteArray(type)) << name;
    }
}

}  // namespace
