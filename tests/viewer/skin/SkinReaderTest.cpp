#include <gtest/gtest.h>

#include <QFile>

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include "SkinFolder.h"
#include "platform/SkinElement.h"
#include "skin/QtSkinHost.h"

namespace {

// A skin file of a 200 × 100 window whose other parts are given.
QByteArray skin(const char* rest) {
    return QByteArray(R"({"skin": 1, "size": [200, 100])") + (rest[0] ? ", " : "") + rest + "}";
}

struct Malformed {
    const char* what;
    QByteArray file;
    // The part named and the fault, as the error gives them after the file's path.
    const char* error;
};

class MalformedSkinTest : public ::testing::TestWithParam<Malformed> {
  protected:
    void SetUp() override {
        m_folder.write(QStringLiteral("red.svg"), SkinFolder::solid(10, 10, "red"));
        m_folder.write(QStringLiteral("broken.svg"),
                       "<svg xmlns='http://www.w3.org/2000/svg' width='10'><rect");
        m_folder.write(QStringLiteral("notes.svg"), "shopping list: milk, eggs");
        m_folder.write(QStringLiteral("huge.svg"), SkinFolder::solid(5000, 10, "red"));
    }

    SkinFolder m_folder;
};

TEST_P(MalformedSkinTest, IsRefusedWithFileElementAndFault) {
    const QString path =
        m_folder.write(QStringLiteral("skin/control/MediaControl1.mp4"), GetParam().file);
    // Pictures are found beside the skin file.
    m_folder.write(QStringLiteral("skin/control/red.svg"), SkinFolder::solid(10, 10, "red"));
    QtSkinHost host;
    QString error;
    EXPECT_FALSE(host.loadSkin(path, &error));
    EXPECT_TRUE(error.startsWith(path + QStringLiteral(": "))) << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().error))) << error.toStdString();
    EXPECT_EQ(host.element(QStringLiteral("b")), nullptr);
}

const Malformed kMalformed[] = {
    {"not JSON", "{\"skin\": 1,\n \"size\": [200, 100],\n \"elements\": [}", ": not valid JSON: "},
    {"line of the JSON fault", "{\"skin\": 1,\n \"size\": [200, 100],\n \"elements\": [}",
     "at line 3, column"},
    {"bytes that are no UTF-8",
     R"({"skin": 1, "size": [200, 100], "font": {"family": ")"
     "\xff\xfe\"}}",
     ": not valid JSON: "},
    {"a list, not an object", "[1, 2]", ": not a skin: the document is not a JSON object"},
    {"no format number", R"({"size": [200, 100]})", ": not a skin: \"skin\" must be 1"},
    {"another format", R"({"skin": 2, "size": [200, 100]})", ": not a skin: \"skin\" must be 1"},
    {"no size", R"({"skin": 1})", ": size must be [width, height]"},
    {"empty size", R"({"skin": 1, "size": [0, 100]})",
     ": size 0 × 100 is not from 1 × 1 to 4096 × 4096"},
    {"giant size", R"({"skin": 1, "size": [200, 5000]})",
     ": size 200 × 5000 is not from 1 × 1 to 4096 × 4096"},
    {"misspelt key", skin(R"("element": [])"), ": \"element\" is not a key of a skin"},
    {"elements not a list", skin(R"("elements": {})"), ": elements must be a list"},
    {"element not an object", skin(R"("elements": [3])"), ": element 1: not an object"},
    {"element without a name", skin(R"("elements": [{"kind": "button", "rect": [0, 0, 9, 9]}])"),
     ": element 1: no name"},
    {"name twice in other case",
     skin(R"("elements": [{"name": "Open", "kind": "button", "rect": [0, 0, 9, 9]},
                           {"name": "open", "kind": "button", "rect": [10, 0, 9, 9]}])"),
     ": element \"open\": the name is used twice"},
    {"no kind", skin(R"("elements": [{"name": "b", "rect": [0, 0, 9, 9]}])"),
     ": element \"b\": no kind; it is one of button, toggle, slider, picture, text"},
    {"unknown kind", skin(R"("elements": [{"name": "b", "kind": "knob", "rect": [0, 0, 9, 9]}])"),
     ": element \"b\": kind \"knob\" is unknown"},
    {"no rect", skin(R"("elements": [{"name": "b", "kind": "button"}])"),
     ": element \"b\": no rect"},
    {"rect of three", skin(R"("elements": [{"name": "b", "kind": "button", "rect": [0, 0, 9]}])"),
     ": element \"b\": rect must be [x, y, width, height]"},
    {"fractional rect",
     skin(R"("elements": [{"name": "b", "kind": "button", "rect": [0.5, 0, 9, 9]}])"),
     ": element \"b\": rect must be a whole number"},
    {"empty rect", skin(R"("elements": [{"name": "b", "kind": "button", "rect": [0, 0, 0, 9]}])"),
     ": element \"b\": rect 0,0,0,9 is empty"},
    {"rect beyond the window",
     skin(R"("elements": [{"name": "b", "kind": "button", "rect": [190, 0, 20, 9]}])"),
     ": element \"b\": rect 190,0,20,9 lies outside the 200 × 100 window"},
    {"value that is no text",
     skin(R"("elements": [{"name": "b", "kind": "button", "rect": [0, 0, 9, 9], "value": 1001}])"),
     ": element \"b\": value must be a text"},
    {"slider without a range",
     skin(R"("elements": [{"name": "volume", "kind": "slider", "rect": [0, 0, 90, 9]}])"),
     ": element \"volume\": slider without a range"},
    {"empty range",
     skin(
         R"("elements": [{"name": "b", "kind": "slider", "rect": [0, 0, 90, 9], "range": [5, 5]}])"),
     ": element \"b\": range 5..5 is empty"},
    {"start outside the range",
     skin(R"("elements": [{"name": "b", "kind": "slider", "rect": [0, 0, 90, 9],
                           "range": [0, 100], "start": 120}])"),
     ": element \"b\": start 120 lies outside the range 0..100"},
    {"mark outside the range",
     skin(R"("elements": [{"name": "b", "kind": "slider", "rect": [0, 0, 90, 9],
                           "range": [-7, 85], "marks": [-7, -8]}])"),
     ": element \"b\": mark -8 lies outside the range -7..85"},
    {"thumb as long as the slider",
     skin(R"("elements": [{"name": "b", "kind": "slider", "rect": [0, 0, 10, 20],
                           "range": [0, 1], "thumb": "red.svg"}])"),
     ": element \"b\": the thumb is as long as the slider itself"},
    {"key of another kind",
     skin(
         R"("elements": [{"name": "b", "kind": "button", "rect": [0, 0, 9, 9], "range": [0, 1]}])"),
     ": element \"b\": \"range\" is not a key of a button"},
    {"undeclared image",
     skin(
         R"("elements": [{"name": "A1", "kind": "picture", "rect": [0, 0, 25, 30], "image": "datum"}])"),
     ": element \"A1\": image \"datum\" is not declared"},
    {"missing picture",
     skin(
         R"("elements": [{"name": "b", "kind": "button", "rect": [0, 0, 9, 9], "looks": "nowhere.svg"}])"),
     ": element \"b\": picture \"nowhere.svg\" not found"},
    {"broken SVG",
     skin(
         R"("elements": [{"name": "b", "kind": "button", "rect": [0, 0, 9, 9], "looks": "../../broken.svg"}])"),
     ": element \"b\": picture \"../../broken.svg\" is not a readable SVG picture"},
    {"no picture at all",
     skin(
         R"("elements": [{"name": "b", "kind": "button", "rect": [0, 0, 9, 9], "icon": "../../notes.svg"}])"),
     ": element \"b\": picture \"../../notes.svg\" is neither an SVG nor a PNG or JPEG picture"},
    {"giant picture",
     skin(
         R"("elements": [{"name": "b", "kind": "button", "rect": [0, 0, 9, 9], "icon": "../../huge.svg"}])"),
     ": element \"b\": picture \"../../huge.svg\" is larger than 4096 × 4096 pixels"},
    {"region beyond the picture",
     skin(R"("elements": [{"name": "b", "kind": "button", "rect": [0, 0, 9, 9],
                           "looks": {"pressed": {"file": "red.svg", "region": [5, 5, 10, 10]}}}])"),
     ": element \"b\": region 5,5,10,10 lies outside picture \"red.svg\" (10 × 10)"},
    {"slice without a middle",
     skin(R"("elements": [{"name": "b", "kind": "button", "rect": [0, 0, 9, 9],
                           "looks": {"file": "red.svg", "slice": [5, 0, 5, 0]}}])"),
     ": element \"b\": slice 5,0,5,0 leaves no middle in picture \"red.svg\" (10 × 10)"},
    {"look of no state", skin(R"("elements": [{"name": "b", "kind": "button", "rect": [0, 0, 9, 9],
                           "looks": {"down": "red.svg"}}])"),
     ": element \"b\": \"down\" is not a key of looks"},
    {"bad colour",
     skin(
         R"("elements": [{"name": "b", "kind": "button", "rect": [0, 0, 9, 9], "colors": "#12345g"}])"),
     ": element \"b\": \"#12345g\" is not a colour"},
    {"tiny font",
     skin(
         R"("elements": [{"name": "b", "kind": "text", "rect": [0, 0, 9, 9], "font": {"size": 2}}])"),
     ": element \"b\": font size 2 is not from 4 to 200 pixels"},
    {"unknown weight",
     skin(
         R"("elements": [{"name": "b", "kind": "text", "rect": [0, 0, 9, 9], "font": {"weight": "heavy"}}])"),
     ": element \"b\": font weight must be"},
    {"unknown alignment",
     skin(
         R"("elements": [{"name": "b", "kind": "text", "rect": [0, 0, 9, 9], "align": "middle"}])"),
     ": element \"b\": align must be left, center or right"},
    {"undeclared style",
     skin(R"("elements": [{"name": "b", "style": "tool", "rect": [0, 0, 9, 9]}])"),
     ": element \"b\": style \"tool\" is not declared"},
    {"style with a style", skin(R"("styles": {"tool": {"style": "chip"}})"),
     ": style \"tool\": a style must be an object without a style of its own"},
    {"area beyond the window", skin(R"("areas": {"client": [0, 0, 300, 10]})"),
     ": area \"client\": rect 0,0,300,10 lies outside the 200 × 100 window"},
    {"area twice in other case",
     skin(R"("areas": {"Client": [0, 0, 9, 9], "client": [0, 0, 9, 9]})"),
     ": area \"client\": the name is used twice"},
    {"missing image file", skin(R"("images": {"datum": "datum.svg"})"),
     ": image \"datum\": picture \"datum.svg\" not found"},
    {"text image without a size", skin(R"("images": {"1001": {"text": "km/h"}})"),
     ": image \"1001\": size must be a list of 2 whole numbers"},
    {"text outside its image",
     skin(R"("images": {"1001": {"text": "km/h", "size": [66, 29], "textRect": [0, 3, 66, 27]}})"),
     ": image \"1001\": textRect 0,3,66,27 lies outside the image"},
    {"bad background", skin(R"("background": "navy-ish")"),
     ": background: \"navy-ish\" is not a colour"},
    {"title beyond the window", skin(R"("title": {"rect": [0, 0, 201, 28]})"),
     ": title: rect 0,0,201,28 lies outside the 200 × 100 window"},
    {"named title button",
     skin(
         R"("title": {"rect": [0, 0, 200, 28], "close": {"name": "x", "rect": [170, 0, 30, 28]}})"),
     ": title close button: \"name\" is not a key of a title button"},
};

INSTANTIATE_TEST_SUITE_P(Skins, MalformedSkinTest, ::testing::ValuesIn(kMalformed),
                         [](const ::testing::TestParamInfo<Malformed>& param) {
                             QString name = QString::fromLatin1(param.param.what);
                             name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")),
                                          QStringLiteral("_"));
                             return name.toStdString();
                         });

TEST(SkinFileTest, MissingFileIsNamed) {
    SkinFolder folder;
    QtSkinHost host;
    QString error;
    EXPECT_FALSE(host.loadSkin(folder.path(QStringLiteral("skin/setup/2.mp4")), &error));
    EXPECT_EQ(error, folder.path(QStringLiteral("skin/setup/2.mp4")) + ": file not found");
}

TEST(SkinFileTest, OversizedFileIsRefusedBeforeReading) {
    SkinFolder folder;
    QByteArray text = skin("");
    text.append(QByteArray(4 * 1024 * 1024, ' '));
    const QString path = folder.write(QStringLiteral("big.mp4"), text);
    QtSkinHost host;
    QString error;
    EXPECT_FALSE(host.loadSkin(path, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("too large for a skin"))) << error.toStdString();
}

// A skin naming a device or an oversized file as its picture is refused, never read for ever.
TEST(SkinFileTest, PicturesThatAreNoFilesOrTooLargeAreRefused) {
    SkinFolder folder;
    const QString big = folder.write(QStringLiteral("skin/art/big.svg"), QByteArray());
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(qint64(17) << 20));
    file.close();
    const struct {
        const char* picture;
        const char* fault;
    } cases[] = {{"/dev/zero", "is not a file"}, {"../art/big.svg", "is larger than 16 MiB"}};
    for (const auto& c : cases) {
        const QString path = folder.write(QStringLiteral("skin/setup/1.mp4"),
                                          skin(QStringLiteral(R"("background": {"picture": "%1"})")
                                                   .arg(QString::fromLatin1(c.picture))
                                                   .toUtf8()));
        QtSkinHost host;
        QString error;
        EXPECT_FALSE(host.loadSkin(path, &error)) << c.picture;
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.fault))) << error.toStdString();
    }
}

TEST(SkinFileTest, ReadsUtf8WithOrWithoutByteOrderMark) {
    SkinFolder folder;
    const QByteArray body = skin(
        R"("elements": [{"name": "tw", "kind": "text", "rect": [0, 0, 90, 20], "value": "台北 1002"}])");
    for (const QByteArray& text : {body, QByteArray("\xEF\xBB\xBF") + body}) {
        const QString path = folder.write(QStringLiteral("skin/setup/2.mp4"), text);
        QtSkinHost host;
        QString error;
        ASSERT_TRUE(host.loadSkin(path, &error)) << error.toStdString();
        ASSERT_NE(host.element(QStringLiteral("tw")), nullptr);
        EXPECT_EQ(host.element(QStringLiteral("tw"))->valueText(), QStringLiteral("台北 1002"));
    }
}

TEST(SkinFileTest, FindsPicturesBesideTheSkinFileAndTakesThemByContent) {
    SkinFolder folder;
    // Skin pictures keep the program's own endings: content decides what a picture is.
    folder.write(QStringLiteral("skin/support/rightback.mp4"), SkinFolder::solid(20, 20, "navy"));
    const QString path = folder.write(QStringLiteral("skin/media/ctl.MP4"),
                                      skin(R"("background": {"picture": "../support/rightback.mp4"},
                "areas": {"map": [0, 0, 200, 40], "mylist": [0, 40, 200, 60]})"));
    QtSkinHost host;
    QString error;
    ASSERT_TRUE(host.loadSkin(path, &error)) << error.toStdString();
    EXPECT_EQ(host.area(QStringLiteral("mylist")), QRect(0, 40, 200, 60));
}

}  // namespace
