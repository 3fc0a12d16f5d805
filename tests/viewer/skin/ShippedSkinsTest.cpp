#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "UserInput.h"
#include "skin/QtSkinElement.h"
#include "skin/QtSkinHost.h"
#include "skin/SkinPicture.h"
#include "skin/SkinTitleStrip.h"

namespace {

// The program folder the build lays out as installed.
QString programFile(const QString& name) {
    return QStringLiteral(HARVENTIS_APP_DIR) + u'/' + name;
}

// What the windows rely on in each skin file: its size, whether it draws a title strip,
// the buttons they dispatch on, the other elements they set, and the areas they fill.
struct Shipped {
    QString file;
    QSize size;
    bool titleStrip = false;
    QStringList buttons;
    QStringList elements;
    QMap<QString, QRect> areas;  // an empty rectangle: the area must exist, anywhere
    QMap<QString, QString> values;
};

std::vector<Shipped> shippedSkins() {
    std::vector<Shipped> skins;
    for (const QString& n : {QStringLiteral("1"), QStringLiteral("2")}) {
        skins.push_back({QStringLiteral("skin/main/%1.mp4").arg(n),
                         QSize(1024, 708),
                         true,
                         {QStringLiteral("open"), QStringLiteral("delete"), QStringLiteral("setup"),
                          QStringLiteral("info")},
                         {},
                         {{QStringLiteral("client"), QRect(5, 60, 771, 643)},
                          {QStringLiteral("ControlBand"), QRect(776, 60, 248, 648)}},
                         {}});
        skins.push_back({QStringLiteral("skin/media/ls%1.MP4").arg(n),
                         QSize(248, 370),
                         false,
                         {QStringLiteral("ALL"), QStringLiteral("NORMAL"), QStringLiteral("LOCK"),
                          QStringLiteral("NONE")},
                         {},
                         {{QStringLiteral("list"), QRect()}},
                         {}});
        skins.push_back(
            {QStringLiteral("skin/control/MediaControl%1.mp4").arg(n),
             QSize(771, 209),
             false,
             {QStringLiteral("CMDPLAY"), QStringLiteral("PAUSE"), QStringLiteral("STOP"),
              QStringLiteral("HEAD"), QStringLiteral("END"), QStringLiteral("BACK"),
              QStringLiteral("FAST"), QStringLiteral("SPEAKER"), QStringLiteral("speaker"),
              QStringLiteral("SPEED"), QStringLiteral("GS"), QStringLiteral("PHOTO"),
              QStringLiteral("photo")},
             {QStringLiteral("playprogress"), QStringLiteral("PLAYPROGRESS"),
              QStringLiteral("playspeed"), QStringLiteral("PLAYSPEED"), QStringLiteral("volume"),
              QStringLiteral("VOLUME"), QStringLiteral("chart"), QStringLiteral("unit"),
              QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3")},
             {{QStringLiteral("chart"), QRect()}},
             {}});
        skins.push_back(
            {QStringLiteral("skin/setup/%1.mp4").arg(n),
             QSize(800, 480),
             true,
             {QStringLiteral("CMDCLOSE"), QStringLiteral("LANG1001"), QStringLiteral("LANG1002"),
              QStringLiteral("UNIT1001"), QStringLiteral("UNIT1002"), QStringLiteral("UNIT1003")},
             {QStringLiteral("cmdclose"), QStringLiteral("lang1001"), QStringLiteral("lang1002"),
              QStringLiteral("unit1001"), QStringLiteral("unit1002"), QStringLiteral("unit1003")},
             {},
             {{QStringLiteral("lang1001"), QStringLiteral("1001")},
              {QStringLiteral("lang1002"), QStringLiteral("1002")},
              {QStringLiteral("unit1001"), QStringLiteral("1001")},
              {QStringLiteral("unit1002"), QStringLiteral("1002")},
              {QStringLiteral("unit1003"), QStringLiteral("1003")}}});
        skins.push_back({QStringLiteral("skin/load/load%1.mp4").arg(n),
                         QSize(1024, 708),
                         false,
                         {},
                         {},
                         {},
                         {}});
    }
    skins.push_back({QStringLiteral("skin/media/ctl.MP4"),
                     QSize(248, 648),
                     false,
                     {},
                     {},
                     {{QStringLiteral("map"), QRect(0, 0, 248, 278)},
                      {QStringLiteral("mylist"), QRect(0, 278, 248, 370)}},
                     {}});
    skins.push_back({QStringLiteral("skin/about.mp4"),
                     QSize(600, 400),
                     true,
                     {QStringLiteral("close"), QStringLiteral("webstation")},
                     {},
                     {},
                     {}});
    return skins;
}

QRect rectOf(SkinElement* element) {
    auto* drawn = dynamic_cast<QtSkinElement*>(element);
    return drawn != nullptr ? drawn->rect() : QRect();
}

class ShippedSkinTest : public ::testing::TestWithParam<Shipped> {
  protected:
    void SetUp() override {
        QString error;
        ASSERT_TRUE(m_host.loadSkin(programFile(GetParam().file), &error)) << error.toStdString();
        m_host.setClickHandler([this](SkinElement& e) { m_clicked << e.name(); });
        m_host.applySkin(&m_window);
        m_window.show();
    }

    QtSkinHost m_host;
    QWidget m_window;
    QStringList m_clicked;
};

TEST_P(ShippedSkinTest, HasWhatTheWindowsUse) {
    const Shipped& skin = GetParam();
    EXPECT_EQ(m_host.size(), skin.size);
    EXPECT_EQ(m_window.findChild<SkinTitleStrip*>() != nullptr, skin.titleStrip);
    for (const QString& name : skin.buttons + skin.elements) {
        SkinElement* element = m_host.element(name);
        ASSERT_NE(element, nullptr) << name.toStdString();
        EXPECT_TRUE(QRect(QPoint(0, 0), skin.size).contains(rectOf(element)));
    }
    for (auto it = skin.areas.constBegin(); it != skin.areas.constEnd(); ++it) {
        const QRect area = m_host.area(it.key());
        EXPECT_FALSE(area.isEmpty()) << it.key().toStdString();
        if (!it.value().isNull()) {
            EXPECT_EQ(area, it.value()) << it.key().toStdString();
        }
    }
    for (auto it = skin.values.constBegin(); it != skin.values.constEnd(); ++it) {
        EXPECT_EQ(m_host.element(it.key())->valueText(), it.value());
    }
}

TEST_P(ShippedSkinTest, EveryButtonAnswersAClick) {
    UserInput input(m_window);
    QStringList expected;
    QSet<SkinElement*> seen;
    for (const QString& name : GetParam().buttons) {
        SkinElement* element = m_host.element(name);
        ASSERT_NE(element, nullptr) << name.toStdString();
        if (seen.contains(element)) {
            continue;
        }
        seen.insert(element);
        input.click(rectOf(element).center());
        expected << element->name();
    }
    EXPECT_EQ(m_clicked, expected);
}

TEST_P(ShippedSkinTest, AreasAreFreeOfControls) {
    // Whatever a window places in an area covers it; a control there could never be used.
    const QStringList names = m_host.elementNames();
    for (const QString& area :
         {QStringLiteral("client"), QStringLiteral("chart"), QStringLiteral("list")}) {
        for (const QString& name : names) {
            SkinElement* element = m_host.element(name);
            const bool control = dynamic_cast<QtSkinElement*>(element)->definition().takesInput();
            if (control && !m_host.area(area).isEmpty()) {
                EXPECT_FALSE(m_host.area(area).intersects(rectOf(element)))
                    << name.toStdString() << " in " << area.toStdString();
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Program, ShippedSkinTest, ::testing::ValuesIn(shippedSkins()),
                         [](const ::testing::TestParamInfo<Shipped>& param) {
                             QString name = param.param.file;
                             name.replace(u'/', u'_').replace(u'.', u'_');
                             return name.toStdString();
                         });

class ShippedControlBarTest : public ::testing::TestWithParam<QString> {
  protected:
    void SetUp() override {
        QString error;
        ASSERT_TRUE(m_host.loadSkin(programFile(GetParam()), &error)) << error.toStdString();
        m_host.applySkin(&m_window);
    }

    SkinElement& element(const char* name) { return *m_host.element(QString::fromLatin1(name)); }
    QImage drawn(const char* name) {
        return m_window.grab(rectOf(m_host.element(QString::fromLatin1(name)))).toImage();
    }

    QtSkinHost m_host;
    QWidget m_window;
};

TEST_P(ShippedControlBarTest, SlidersHaveTheirRanges) {
    const struct {
        const char* name;
        int minimum;
        int maximum;
    } ranges[] = {{"playprogress", 0, 100}, {"playspeed", -7, 85}, {"volume", 0, 100}};
    for (const auto& range : ranges) {
        element(range.name).setSliderValue(-1000);
        EXPECT_EQ(element(range.name).sliderValue(), range.minimum) << range.name;
        element(range.name).setSliderValue(1000);
        EXPECT_EQ(element(range.name).sliderValue(), range.maximum) << range.name;
    }
}

TEST_P(ShippedControlBarTest, SpeedDigitsShowEveryDigitOfTheStrip) {
    EXPECT_EQ(m_host.imageSize(QStringLiteral("datum")), QSize(250, 30));
    for (const char* name : {"A1", "A2", "A3"}) {
        EXPECT_EQ(rectOf(&element(name)).size(), QSize(25, 30)) << name;
    }
    std::vector<QImage> digits;
    for (int digit = 0; digit <= 9; ++digit) {
        element("A2").setImageReference(QStringLiteral("datum"), {25 * digit, 0, 250, 30});
        digits.push_back(drawn("A2"));
        for (int earlier = 0; earlier < digit; ++earlier) {
            EXPECT_NE(digits[size_t(earlier)], digits.back()) << earlier << " and " << digit;
        }
    }
}

TEST_P(ShippedControlBarTest, UnitPictureShowsEachUnit) {
    EXPECT_EQ(rectOf(&element("unit")).size(), QSize(66, 23));
    element("unit").setImageReference(QStringLiteral("no unit"), {0, 3, 66, 23, 1, 0, 60});
    const QImage none = drawn("unit");
    std::vector<QImage> units;
    for (const char* code : {"1001", "1002", "1003"}) {
        const QSize size = m_host.imageSize(QString::fromLatin1(code));
        EXPECT_GE(size.width(), 66) << code;
        EXPECT_GE(size.height(), 26) << code;
        element("unit").setImageReference(QString::fromLatin1(code), {0, 3, 66, 23, 1, 0, 60});
        units.push_back(drawn("unit"));
        EXPECT_NE(units.back(), none) << code;
    }
    EXPECT_NE(units[0], units[1]);
    EXPECT_NE(units[1], units[2]);
    EXPECT_NE(units[0], units[2]);
}

TEST_P(ShippedControlBarTest, StatesLookDifferent) {
    for (const char* name : {"SPEED", "GS", "chart"}) {
        const QImage normal = drawn(name);
        element(name).setLook(SkinElement::Look::Selected);
        EXPECT_NE(drawn(name), normal) << name;
        element(name).setLook(SkinElement::Look::Normal);
        EXPECT_EQ(drawn(name), normal) << name;
    }
    for (const char* name : {"speaker", "photo", "chart"}) {
        const QImage normal = drawn(name);
        element(name).setPressedFlag(true);
        EXPECT_NE(drawn(name), normal) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Program, ShippedControlBarTest,
                         ::testing::Values(QStringLiteral("skin/control/MediaControl1.mp4"),
                                           QStringLiteral("skin/control/MediaControl2.mp4")),
                         [](const ::testing::TestParamInfo<QString>& param) {
                             return "Language" + std::to_string(param.index + 1);
                         });

TEST(ShippedSettingsTest, ChoicesShowTheirSelection) {
    for (const char* file : {"skin/setup/1.mp4", "skin/setup/2.mp4"}) {
        QtSkinHost host;
        QWidget window;
        ASSERT_TRUE(host.loadSkin(programFile(QString::fromLatin1(file))));
        host.applySkin(&window);
        for (const char* name : {"lang1001", "lang1002", "unit1001", "unit1002", "unit1003"}) {
            SkinElement* element = host.element(QString::fromLatin1(name));
            const QImage normal = window.grab(rectOf(element)).toImage();
            element->setLook(SkinElement::Look::Selected);
            EXPECT_NE(window.grab(rectOf(element)).toImage(), normal) << file << ' ' << name;
        }
    }
}

TEST(ShippedSkinFilesTest, BothLanguagesHaveTheSameElements) {
    const QStringList pairs[] = {
        {QStringLiteral("skin/main/1.mp4"), QStringLiteral("skin/main/2.mp4")},
        {QStringLiteral("skin/media/ls1.MP4"), QStringLiteral("skin/media/ls2.MP4")},
        {QStringLiteral("skin/control/MediaControl1.mp4"),
         QStringLiteral("skin/control/MediaControl2.mp4")},
        {QStringLiteral("skin/setup/1.mp4"), QStringLiteral("skin/setup/2.mp4")},
        {QStringLiteral("skin/load/load1.mp4"), QStringLiteral("skin/load/load2.mp4")}};
    for (const QStringList& pair : pairs) {
        QtSkinHost english;
        QtSkinHost chinese;
        ASSERT_TRUE(english.loadSkin(programFile(pair[0])));
        ASSERT_TRUE(chinese.loadSkin(programFile(pair[1])));
        EXPECT_EQ(english.elementNames(), chinese.elementNames()) << pair[0].toStdString();
        EXPECT_EQ(english.size(), chinese.size());
    }
}

TEST(ShippedSkinFilesTest, EverySkinFileInTheProgramFolderLoads) {
    // Pictures keep skin-style endings too; those in art/ and support/ are no skins.
    QDirIterator files(programFile(QStringLiteral("skin")), QDir::Files,
                       QDirIterator::Subdirectories);
    int skins = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        if (!path.endsWith(QLatin1String(".mp4"), Qt::CaseInsensitive) ||
            path.contains(QLatin1String("/support/")) || path.contains(QLatin1String("/art/"))) {
            continue;
        }
        QtSkinHost host;
        QString error;
        EXPECT_TRUE(host.loadSkin(path, &error)) << error.toStdString();
        ++skins;
    }
    EXPECT_EQ(skins, 12);
}

TEST(ShippedSkinFilesTest, BackgroundPicturesAndClipAreInPlace) {
    const struct {
        const char* file;
        QSize size;
    } pictures[] = {{"skin/support/playback.MP4", QSize(771, 434)},
                    {"skin/support/rightback.mp4", QSize(248, 648)}};
    for (const auto& picture : pictures) {
        QString error;
        const auto loaded =
            SkinPicture::load(programFile(QString::fromLatin1(picture.file)), &error);
        ASSERT_TRUE(loaded) << picture.file << ": " << error.toStdString();
        EXPECT_EQ(loaded->size(), picture.size) << picture.file;
        // Windows that show the picture themselves get it drawn at their own size.
        EXPECT_EQ(loaded->toImage(picture.size * 2).size(), picture.size * 2);
        // Or read it as a picture whose kind is told by its content, whatever its name.
        QImageReader reader(programFile(QString::fromLatin1(picture.file)));
        reader.setDecideFormatFromContent(true);
        EXPECT_EQ(reader.read().size(), picture.size) << picture.file;
    }

    QFile clip(programFile(QStringLiteral("system/bk.MP4")));
    ASSERT_TRUE(clip.open(QIODevice::ReadOnly));
    const QByteArray bytes = clip.readAll();
    EXPECT_EQ(bytes.mid(4, 4), QByteArray("ftyp"));
    EXPECT_TRUE(bytes.contains("avc1"));
    EXPECT_FALSE(bytes.contains("mp4a"));
}

}  // namespace
