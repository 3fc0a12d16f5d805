#include "skin/SkinReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>
#include <QStringList>
#include <cmath>
#include <initializer_list>

#include "skin/SkinDocument.h"
#include "skin/SkinPicture.h"

namespace {

constexpr qint64 kLargestFile = 4 * 1024 * 1024;
constexpr int kLargestWindow = 4096;
constexpr int kLargestNumber = 1000000;

// A fault found while reading; where names the part of the skin ("element \"volume\"").
struct Fault {
    QString where;
    QString what;
};

QString rectText(const QRect& r) {
    return QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

const QStringList& kindNames() {
    static const QStringList names{QStringLiteral("button"), QStringLiteral("toggle"),
                                   QStringLiteral("slider"), QStringLiteral("picture"),
                                   QStringLiteral("text")};
    return names;
}

class Reader {
  public:
    explicit Reader(const QString& path) : m_path(path), m_folder(QFileInfo(path).absoluteDir()) {}

    std::shared_ptr<SkinDocument> read();

  private:
    [[noreturn]] void fail(const QString& what) const { throw Fault{m_where, what}; }

    QJsonObject parse();
    void checkKeys(const QJsonObject& object, std::initializer_list<const char*> allowed,
                   const QString& owner) const;
    int wholeNumber(const QJsonValue& value, const QString& what) const;
    QList<int> numbers(const QJsonValue& value, const QString& what, int count) const;
    QString text(const QJsonValue& value, const QString& what) const;
    QRect rectangle(const QJsonValue& value, const QString& what) const;
    QColor colour(const QJsonValue& value) const;
    QFont font(const QJsonValue& value, const QFont& base) const;
    Qt::Alignment alignment(const QJsonValue& value) const;
    std::shared_ptr<const SkinPicture> pictureFile(const QString& name);
    SkinDocument::Picture picture(const QJsonValue& value, const QString& what);
    SkinDocument::Looks looks(const QJsonValue& value, const QString& what);
    SkinDocument::Colors colors(const QJsonValue& value) const;

    void readImages(const QJsonValue& value);
    void readAreas(const QJsonValue& value);
    void readTitle(const QJsonValue& value);
    QJsonObject withStyle(const QJsonObject& element) const;
    SkinDocument::Element element(const QJsonObject& object);
    void readButtonKeys(const QJsonObject& object, SkinDocument::Element& element);
    void readSliderKeys(const QJsonObject& object, SkinDocument::Element& element);

    QString m_path;
    QDir m_folder;
    QString m_where;
    std::shared_ptr<SkinDocument> m_document;
    QFont m_font;
    QJsonObject m_styles;
    QHash<QString, std::shared_ptr<const SkinPicture>> m_pictures;
};

QJsonObject Reader::parse() {
    QFile file(m_path);
    if (!file.exists()) {
        fail(QStringLiteral("file not found"));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot be read: ") + file.errorString());
    }
    if (file.size() > kLargestFile) {
        fail(QStringLiteral("larger than %1 bytes, too large for a skin").arg(kLargestFile));
    }
    const QByteArray bytes = file.readAll();
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        const QByteArray before = bytes.left(error.offset);
        const qsizetype line = before.count('\n') + 1;
        const qsizetype column = error.offset - (before.lastIndexOf('\n') + 1) + 1;
        fail(QStringLiteral("not valid JSON: %1 at line %2, column %3")
                 .arg(error.errorString())
                 .arg(line)
                 .arg(column));
    }
    if (!json.isObject()) {
        fail(QStringLiteral("not a skin: the document is not a JSON object"));
    }
    return json.object();
}

void Reader::checkKeys(const QJsonObject& object, std::initializer_list<const char*> allowed,
                       const QString& owner) const {
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool known = it.key() == QLatin1String("comment");
        for (const char* key : allowed) {
            known = known || it.key() == QLatin1String(key);
        }
        if (!known) {
            fail(QStringLiteral("%1 is not a key of %2").arg(quoted(it.key()), owner));
        }
    }
}

int Reader::wholeNumber(const QJsonValue& value, const QString& what) const {
    const double number = value.toDouble(std::nan(""));
    if (!value.isDouble() || std::floor(number) != number || std::abs(number) > kLargestNumber) {
        fail(QStringLiteral("%1 must be a whole number").arg(what));
    }
    return static_cast<int>(number);
}

QList<int> Reader::numbers(const QJsonValue& value, const QString& what, int count) const {
    if (!value.isArray() || (count >= 0 && value.toArray().size() != count)) {
        fail(QStringLiteral("%1 must be a list of %2whole numbers")
                 .arg(what, count >= 0 ? QString::number(count) + u' ' : QString()));
    }
    QList<int> result;
    for (const QJsonValue& item : value.toArray()) {
        result << wholeNumber(item, what);
    }
    return result;
}

QString Reader::text(const QJsonValue& value, const QString& what) const {
    if (!value.isString()) {
        fail(QStringLiteral("%1 must be a text").arg(what));
    }
    return value.toString();
}

QRect Reader::rectangle(const QJsonValue& value, const QString& what) const {
    if (!value.isArray() || value.toArray().size() != 4) {
        fail(QStringLiteral("%1 must be [x, y, width, height]").arg(what));
    }
    const QList<int> n = numbers(value, what, 4);
    const QRect rect(n[0], n[1], n[2], n[3]);
    if (rect.isEmpty()) {
        fail(QStringLiteral("%1 %2 is empty").arg(what, rectText(rect)));
    }
    if (!QRect(QPoint(0, 0), m_document->size).contains(rect)) {
        fail(QStringLiteral("%1 %2 lies outside the %3 × %4 window")
                 .arg(what, rectText(rect))
                 .arg(m_document->size.width())
                 .arg(m_document->size.height()));
    }
    return rect;
}

QColor Reader::colour(const QJsonValue& value) const {
    const QColor color = QColor::fromString(value.toString());
    if (!value.isString() || !color.isValid()) {
        fail(QStringLiteral("%1 is not a colour")
                 .arg(value.isString() ? quoted(value.toString()) : QStringLiteral("a colour")));
    }
    return color;
}

QFont Reader::font(const QJsonValue& value, const QFont& base) const {
    if (!value.isObject()) {
        fail(QStringLiteral("font must be an object"));
    }
    const QJsonObject object = value.toObject();
    checkKeys(object, {"family", "size", "weight", "italic"}, QStringLiteral("a font"));
    QFont result = base;
    if (object.contains(QLatin1String("family"))) {
        const QJsonValue family = object.value(QLatin1String("family"));
        QStringList families;
        if (family.isString()) {
            families << family.toString();
        } else if (family.isArray()) {
            for (const QJsonValue& name : family.toArray()) {
                families << text(name, QStringLiteral("font family"));
            }
        }
        if (families.isEmpty() || families.contains(QString())) {
            fail(QStringLiteral("font family must be a name or a list of names"));
        }
        result.setFamilies(families);
    }
    if (object.contains(QLatin1String("size"))) {
        const int size =
            wholeNumber(object.value(QLatin1String("size")), QStringLiteral("font size"));
        if (size < 4 || size > 200) {
            fail(QStringLiteral("font size %1 is not from 4 to 200 pixels").arg(size));
        }
        result.setPixelSize(size);
    }
    if (object.contains(QLatin1String("weight"))) {
        const QJsonValue weight = object.value(QLatin1String("weight"));
        static const QHash<QString, int> named{{QStringLiteral("light"), QFont::Light},
                                               {QStringLiteral("normal"), QFont::Normal},
                                               {QStringLiteral("medium"), QFont::Medium},
                                               {QStringLiteral("demibold"), QFont::DemiBold},
                                               {QStringLiteral("bold"), QFont::Bold},
                                               {QStringLiteral("black"), QFont::Black}};
        int w = 0;
        if (weight.isString()) {
            w = named.value(weight.toString(), 0);
        } else {
            w = wholeNumber(weight, QStringLiteral("font weight"));
        }
        if (w < 100 || w > 900) {
            fail(
                QStringLiteral("font weight must be light, normal, medium, demibold, bold, "
                               "black or a number from 100 to 900"));
        }
        result.setWeight(static_cast<QFont::Weight>(w));
    }
    if (object.contains(QLatin1String("italic"))) {
        if (!object.value(QLatin1String("italic")).isBool()) {
            fail(QStringLiteral("font italic must be true or false"));
        }
        result.setItalic(object.value(QLatin1String("italic")).toBool());
    }
    return result;
}

Qt::Alignment Reader::alignment(const QJsonValue& value) const {
    const QString name = value.toString();
    if (name == QLatin1String("left")) {
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
    if (name == QLatin1String("center")) {
        return Qt::AlignCenter;
    }
    if (name == QLatin1String("right")) {
        return Qt::AlignRight | Qt::AlignVCenter;
    }
    fail(QStringLiteral("align must be left, center or right"));
}

std::shared_ptr<const SkinPicture> Reader::pictureFile(const QString& name) {
    if (name.isEmpty()) {
        fail(QStringLiteral("a picture needs a file name"));
    }
    const QString path = QDir::cleanPath(m_folder.filePath(name));
    auto it = m_pictures.constFind(path);
    if (it != m_pictures.constEnd()) {
        return *it;
    }
    QString why;
    std::shared_ptr<const SkinPicture> file = SkinPicture::load(path, &why);
    if (!file) {
        fail(QStringLiteral("picture %1 %2").arg(quoted(name), why));
    }
    m_pictures.insert(path, file);
    return file;
}

SkinDocument::Picture Reader::picture(const QJsonValue& value, const QString& what) {
    SkinDocument::Picture result;
    if (value.isString()) {
        result.file = pictureFile(value.toString());
        return result;
    }
    if (!value.isObject() || !value.toObject().contains(QLatin1String("file"))) {
        fail(QStringLiteral("%1 must be a picture file or {\"file\", \"region\", \"slice\"}")
                 .arg(what));
    }
    const QJsonObject object = value.toObject();
    checkKeys(object, {"file", "region", "slice"}, QStringLiteral("a picture"));
    const QString name = text(object.value(QLatin1String("file")), what + QStringLiteral(" file"));
    result.file = pictureFile(name);
    const QRect whole(QPoint(0, 0), result.file->size());
    if (object.contains(QLatin1String("region"))) {
        const QList<int> n =
            numbers(object.value(QLatin1String("region")), what + QStringLiteral(" region"), 4);
        result.region = QRect(n[0], n[1], n[2], n[3]);
        if (result.region.isEmpty() || !whole.contains(result.region)) {
            fail(QStringLiteral("region %1 lies outside picture %2 (%3 × %4)")
                     .arg(rectText(result.region), quoted(name))
                     .arg(whole.width())
                     .arg(whole.height()));
        }
    }
    if (object.contains(QLatin1String("slice"))) {
        const QList<int> n =
            numbers(object.value(QLatin1String("slice")), what + QStringLiteral(" slice"), 4);
        result.slice = QMargins(n[0], n[1], n[2], n[3]);
        const QSize size = result.size();
        if (n[0] < 0 || n[1] < 0 || n[2] < 0 || n[3] < 0 || n[0] + n[2] >= size.width() ||
            n[1] + n[3] >= size.height()) {
            fail(QStringLiteral("slice %1,%2,%3,%4 leaves no middle in picture %5 (%6 × %7)")
                     .arg(n[0])
                     .arg(n[1])
                     .arg(n[2])
                     .arg(n[3])
                     .arg(quoted(name))
                     .arg(size.width())
                     .arg(size.height()));
        }
    }
    return result;
}

SkinDocument::Looks Reader::looks(const QJsonValue& value, const QString& what) {
    SkinDocument::Looks result;
    if (value.isString() || value.toObject().contains(QLatin1String("file"))) {
        result.normal = picture(value, what);
        return result;
    }
    if (!value.isObject()) {
        fail(QStringLiteral("%1 must be a picture or {\"normal\", \"hover\", \"pressed\"}")
                 .arg(what));
    }
    const QJsonObject object = value.toObject();
    checkKeys(object, {"normal", "hover", "pressed"}, what);
    if (object.contains(QLatin1String("normal"))) {
        result.normal = picture(object.value(QLatin1String("normal")), what);
    }
    if (object.contains(QLatin1String("hover"))) {
        result.hover = picture(object.value(QLatin1String("hover")), what);
    }
    if (object.contains(QLatin1String("pressed"))) {
        result.pressed = picture(object.value(QLatin1String("pressed")), what);
    }
    return result;
}

SkinDocument::Colors Reader::colors(const QJsonValue& value) const {
    SkinDocument::Colors result;
    if (value.isString()) {
        result.normal = colour(value);
        return result;
    }
    if (!value.isObject()) {
        fail(QStringLiteral("colors must be a colour or {\"normal\", \"hover\", \"pressed\"}"));
    }
    const QJsonObject object = value.toObject();
    checkKeys(object, {"normal", "hover", "pressed"}, QStringLiteral("colors"));
    result.normal = object.contains(QLatin1String("normal"))
                        ? colour(object.value(QLatin1String("normal")))
                        : QColor(Qt::white);
    if (object.contains(QLatin1String("hover"))) {
        result.hover = colour(object.value(QLatin1String("hover")));
    }
    if (object.contains(QLatin1String("pressed"))) {
        result.pressed = colour(object.value(QLatin1String("pressed")));
    }
    return result;
}

void Reader::readImages(const QJsonValue& value) {
    if (!value.isObject()) {
        fail(QStringLiteral("images must be an object of named pictures"));
    }
    const QJsonObject images = value.toObject();
    for (auto it = images.begin(); it != images.end(); ++it) {
        m_where = QStringLiteral("image ") + quoted(it.key());
        if (it.key().isEmpty()) {
            fail(QStringLiteral("an image needs a name"));
        }
        if (m_document->images.contains(it.key().toLower())) {
            fail(QStringLiteral("the name is used twice"));
        }
        std::shared_ptr<const SkinPicture> image;
        if (it.value().isString()) {
            image = pictureFile(it.value().toString());
        } else if (it.value().isObject()) {
            // A word drawn in the skin's font: the speed units read in the window's language
            // without a picture per language.
            const QJsonObject object = it.value().toObject();
            checkKeys(object, {"text", "size", "textRect", "font", "color", "align"},
                      QStringLiteral("a text image"));
            const QString words = text(object.value(QLatin1String("text")), QStringLiteral("text"));
            const QList<int> size =
                numbers(object.value(QLatin1String("size")), QStringLiteral("size"), 2);
            if (size[0] < 1 || size[1] < 1 || size[0] > kLargestWindow ||
                size[1] > kLargestWindow) {
                fail(QStringLiteral("size must be from 1 × 1 to %1 × %1").arg(kLargestWindow));
            }
            QRect textRect;
            if (object.contains(QLatin1String("textRect"))) {
                const QList<int> n =
                    numbers(object.value(QLatin1String("textRect")), QStringLiteral("textRect"), 4);
                textRect = QRect(n[0], n[1], n[2], n[3]);
                if (textRect.isEmpty() || !QRect(0, 0, size[0], size[1]).contains(textRect)) {
                    fail(QStringLiteral("textRect %1 lies outside the image")
                             .arg(rectText(textRect)));
                }
            }
            const QFont f = object.contains(QLatin1String("font"))
                                ? font(object.value(QLatin1String("font")), m_font)
                                : m_font;
            const QColor c = object.contains(QLatin1String("color"))
                                 ? colour(object.value(QLatin1String("color")))
                                 : QColor(Qt::white);
            const Qt::Alignment a = object.contains(QLatin1String("align"))
                                        ? alignment(object.value(QLatin1String("align")))
                                        : Qt::Alignment(Qt::AlignCenter);
            image = SkinPicture::fromText(words, QSize(size[0], size[1]), textRect, f, c, a);
        } else {
            fail(QStringLiteral("an image must be a picture file or a text image"));
        }
        m_document->images.insert(it.key().toLower(), image);
    }
    m_where.clear();
}

void Reader::readAreas(const QJsonValue& value) {
    if (!value.isObject()) {
        fail(QStringLiteral("areas must be an object of named rectangles"));
    }
    const QJsonObject areas = value.toObject();
    for (auto it = areas.begin(); it != areas.end(); ++it) {
        m_where = QStringLiteral("area ") + quoted(it.key());
        if (it.key().isEmpty()) {
            fail(QStringLiteral("an area needs a name"));
        }
        if (m_document->areas.contains(it.key().toLower())) {
            fail(QStringLiteral("the name is used twice"));
        }
        m_document->areas.insert(it.key().toLower(), rectangle(it.value(), QStringLiteral("rect")));
    }
    m_where.clear();
}

void Reader::readTitle(const QJsonValue& value) {
    m_where = QStringLiteral("title");
    if (!value.isObject()) {
        fail(QStringLiteral("the title strip must be an object"));
    }
    const QJsonObject object = value.toObject();
    checkKeys(object, {"rect", "caption", "minimise", "close"}, QStringLiteral("the title strip"));
    SkinDocument::TitleStrip title;
    title.rect = rectangle(object.value(QLatin1String("rect")), QStringLiteral("rect"));
    title.captionRect = title.rect;
    title.font = m_font;
    title.color = Qt::white;
    if (object.contains(QLatin1String("caption"))) {
        const QJsonValue caption = object.value(QLatin1String("caption"));
        if (!caption.isObject()) {
            fail(QStringLiteral("caption must be an object"));
        }
        const QJsonObject c = caption.toObject();
        checkKeys(c, {"rect", "font", "color"}, QStringLiteral("the caption"));
        if (c.contains(QLatin1String("rect"))) {
            title.captionRect =
                rectangle(c.value(QLatin1String("rect")), QStringLiteral("caption rect"));
        }
        if (c.contains(QLatin1String("font"))) {
            title.font = font(c.value(QLatin1String("font")), m_font);
        }
        if (c.contains(QLatin1String("color"))) {
            title.color = colour(c.value(QLatin1String("color")));
        }
    }
    for (const char* which : {"minimise", "close"}) {
        if (!object.contains(QLatin1String(which))) {
            continue;
        }
        const QJsonValue button = object.value(QLatin1String(which));
        m_where = QStringLiteral("title %1 button").arg(QLatin1String(which));
        if (!button.isObject()) {
            fail(QStringLiteral("must be an object"));
        }
        for (const char* reserved : {"name", "kind", "value"}) {
            if (button.toObject().contains(QLatin1String(reserved))) {
                fail(QStringLiteral("%1 is not a key of a title button").arg(quoted(reserved)));
            }
        }
        // A title button is a button whatever its style says.
        QJsonObject definition = withStyle(button.toObject());
        definition.insert(QStringLiteral("name"), QLatin1String(which));
        definition.insert(QStringLiteral("kind"), QStringLiteral("button"));
        const QString where = m_where;
        SkinDocument::Element element = this->element(definition);
        m_where = where;
        if (QLatin1String(which) == QLatin1String("close")) {
            title.close = element;
        } else {
            title.minimise = element;
        }
    }
    m_document->title = title;
    m_where.clear();
}

QJsonObject Reader::withStyle(const QJsonObject& element) const {
    if (!element.contains(QLatin1String("style"))) {
        return element;
    }
    const QString name = text(element.value(QLatin1String("style")), QStringLiteral("style"));
    if (!m_styles.contains(name)) {
        fail(QStringLiteral("style %1 is not declared").arg(quoted(name)));
    }
    QJsonObject merged = m_styles.value(name).toObject();
    for (auto it = element.begin(); it != element.end(); ++it) {
        merged.insert(it.key(), it.value());
    }
    merged.remove(QStringLiteral("style"));
    return merged;
}

void Reader::readButtonKeys(const QJsonObject& object, SkinDocument::Element& element) {
    if (object.contains(QLatin1String("looks"))) {
        element.looks = looks(object.value(QLatin1String("looks")), QStringLiteral("looks"));
    }
    if (object.contains(QLatin1String("icon"))) {
        element.icons = looks(object.value(QLatin1String("icon")), QStringLiteral("icon"));
    }
    if (object.contains(QLatin1String("colors"))) {
        element.colors = colors(object.value(QLatin1String("colors")));
    }
    if (object.contains(QLatin1String("gap"))) {
        element.gap = wholeNumber(object.value(QLatin1String("gap")), QStringLiteral("gap"));
        if (element.gap < 0) {
            fail(QStringLiteral("gap must not be negative"));
        }
    }
}

void Reader::readSliderKeys(const QJsonObject& object, SkinDocument::Element& element) {
    if (!object.contains(QLatin1String("range"))) {
        fail(QStringLiteral("slider without a range"));
    }
    const QList<int> range =
        numbers(object.value(QLatin1String("range")), QStringLiteral("range"), 2);
    element.minimum = range[0];
    element.maximum = range[1];
    if (element.minimum >= element.maximum) {
        fail(QStringLiteral("range %1..%2 is empty").arg(element.minimum).arg(element.maximum));
    }
    auto inRange = [&](int value, const QString& what) {
        if (value < element.minimum || value > element.maximum) {
            fail(QStringLiteral("%1 %2 lies outside the range %3..%4")
                     .arg(what)
                     .arg(value)
                     .arg(element.minimum)
                     .arg(element.maximum));
        }
    };
    element.start = element.minimum;
    if (object.contains(QLatin1String("start"))) {
        element.start = wholeNumber(object.value(QLatin1String("start")), QStringLiteral("start"));
        inRange(element.start, QStringLiteral("start"));
    }
    if (object.contains(QLatin1String("step"))) {
        element.step = wholeNumber(object.value(QLatin1String("step")), QStringLiteral("step"));
        if (element.step < 1) {
            fail(QStringLiteral("step must be at least 1"));
        }
    }
    if (object.contains(QLatin1String("marks"))) {
        element.marks = numbers(object.value(QLatin1String("marks")), QStringLiteral("marks"), -1);
        for (int mark : element.marks) {
            inRange(mark, QStringLiteral("mark"));
        }
    }
    if (object.contains(QLatin1String("orientation"))) {
        const QString orientation = object.value(QLatin1String("orientation")).toString();
        if (orientation == QLatin1String("vertical")) {
            element.orientation = Qt::Vertical;
        } else if (orientation != QLatin1String("horizontal")) {
            fail(QStringLiteral("orientation must be horizontal or vertical"));
        }
    }
    if (object.contains(QLatin1String("track"))) {
        element.track = picture(object.value(QLatin1String("track")), QStringLiteral("track"));
    }
    if (object.contains(QLatin1String("fill"))) {
        element.fill = picture(object.value(QLatin1String("fill")), QStringLiteral("fill"));
    }
    if (object.contains(QLatin1String("mark"))) {
        element.mark = picture(object.value(QLatin1String("mark")), QStringLiteral("mark"));
    }
    if (object.contains(QLatin1String("thumb"))) {
        element.thumb = looks(object.value(QLatin1String("thumb")), QStringLiteral("thumb"));
    }
    const QSize thumb = element.thumb.normal.size();
    const bool fits = element.orientation == Qt::Horizontal
                          ? thumb.width() < element.rect.width()
                          : thumb.height() < element.rect.height();
    if (!fits) {
        fail(QStringLiteral("the thumb is as long as the slider itself"));
    }
}

SkinDocument::Element Reader::element(const QJsonObject& raw) {
    SkinDocument::Element element;
    const QJsonObject object = withStyle(raw);
    if (!object.contains(QLatin1String("kind"))) {
        fail(QStringLiteral("no kind; it is one of ") + kindNames().join(QStringLiteral(", ")));
    }
    const QString kind = object.value(QLatin1String("kind")).toString();
    const qsizetype kindIndex = kindNames().indexOf(kind);
    if (kindIndex < 0) {
        fail(QStringLiteral("kind %1 is unknown; it is one of %2")
                 .arg(quoted(kind), kindNames().join(QStringLiteral(", "))));
    }
    element.kind = static_cast<SkinDocument::Kind>(kindIndex);
    element.name = object.value(QLatin1String("name")).toString();

    const QString owner = QStringLiteral("a ") + kind;
    switch (element.kind) {
        case SkinDocument::Kind::Button:
        case SkinDocument::Kind::Toggle:
            checkKeys(object,
                      {"name", "kind", "rect", "value", "tip", "looks", "icon", "label", "font",
                       "colors", "align", "padding", "gap"},
                      owner);
            break;
        case SkinDocument::Kind::Slider:
            checkKeys(object,
                      {"name", "kind", "rect", "value", "tip", "range", "orientation", "start",
                       "step", "marks", "track", "fill", "mark", "thumb"},
                      owner);
            break;
        case SkinDocument::Kind::Picture:
            checkKeys(object, {"name", "kind", "rect", "value", "tip", "looks", "image", "numbers"},
                      owner);
            break;
        case SkinDocument::Kind::Text:
            checkKeys(object,
                      {"name", "kind", "rect", "value", "tip", "label", "font", "color", "align",
                       "wrap", "padding"},
                      owner);
            break;
    }

    if (!object.contains(QLatin1String("rect"))) {
        fail(QStringLiteral("no rect"));
    }
    element.rect = rectangle(object.value(QLatin1String("rect")), QStringLiteral("rect"));
    if (object.contains(QLatin1String("value"))) {
        element.valueText = text(object.value(QLatin1String("value")), QStringLiteral("value"));
    }
    if (object.contains(QLatin1String("tip"))) {
        element.tip = text(object.value(QLatin1String("tip")), QStringLiteral("tip"));
    }
    if (object.contains(QLatin1String("label"))) {
        element.label = text(object.value(QLatin1String("label")), QStringLiteral("label"));
    }
    element.font = object.contains(QLatin1String("font"))
                       ? font(object.value(QLatin1String("font")), m_font)
                       : m_font;
    element.colors.normal = Qt::white;
    if (object.contains(QLatin1String("color"))) {
        element.colors.normal = colour(object.value(QLatin1String("color")));
    }
    if (object.contains(QLatin1String("align"))) {
        element.align = alignment(object.value(QLatin1String("align")));
    }
    if (object.contains(QLatin1String("padding"))) {
        const QList<int> n =
            numbers(object.value(QLatin1String("padding")), QStringLiteral("padding"), 4);
        if (n[0] < 0 || n[1] < 0 || n[2] < 0 || n[3] < 0) {
            fail(QStringLiteral("padding must not be negative"));
        }
        element.padding = QMargins(n[0], n[1], n[2], n[3]);
    }
    if (object.contains(QLatin1String("wrap"))) {
        if (!object.value(QLatin1String("wrap")).isBool()) {
            fail(QStringLiteral("wrap must be true or false"));
        }
        element.wrap = object.value(QLatin1String("wrap")).toBool();
    }

    switch (element.kind) {
        case SkinDocument::Kind::Button:
        case SkinDocument::Kind::Toggle:
            readButtonKeys(object, element);
            break;
        case SkinDocument::Kind::Slider:
            readSliderKeys(object, element);
            break;
        case SkinDocument::Kind::Picture:
            if (object.contains(QLatin1String("looks"))) {
                element.looks =
                    looks(object.value(QLatin1String("looks")), QStringLiteral("looks"));
            }
            if (object.contains(QLatin1String("image"))) {
                element.image = text(object.value(QLatin1String("image")), QStringLiteral("image"));
                if (!m_document->images.contains(element.image.toLower())) {
                    fail(QStringLiteral("image %1 is not declared").arg(quoted(element.image)));
                }
            }
            if (object.contains(QLatin1String("numbers"))) {
                element.numbers =
                    numbers(object.value(QLatin1String("numbers")), QStringLiteral("numbers"), -1);
            }
            break;
        case SkinDocument::Kind::Text:
            break;
    }
    return element;
}

std::shared_ptr<SkinDocument> Reader::read() {
    const QJsonObject root = parse();
    m_document = std::make_shared<SkinDocument>();
    m_document->path = m_path;
    checkKeys(root,
              {"skin", "size", "font", "background", "focus", "title", "images", "areas", "styles",
               "elements"},
              QStringLiteral("a skin"));
    if (root.value(QLatin1String("skin")).toInt(-1) != 1 ||
        !root.value(QLatin1String("skin")).isDouble()) {
        fail(QStringLiteral("not a skin: \"skin\" must be 1"));
    }
    const QJsonValue size = root.value(QLatin1String("size"));
    if (!size.isArray() || size.toArray().size() != 2) {
        fail(QStringLiteral("size must be [width, height]"));
    }
    const QList<int> wh = numbers(size, QStringLiteral("size"), 2);
    if (wh[0] < 1 || wh[1] < 1 || wh[0] > kLargestWindow || wh[1] > kLargestWindow) {
        fail(QStringLiteral("size %1 × %2 is not from 1 × 1 to %3 × %3")
                 .arg(wh[0])
                 .arg(wh[1])
                 .arg(kLargestWindow));
    }
    m_document->size = QSize(wh[0], wh[1]);

    m_font.setPixelSize(13);
    if (root.contains(QLatin1String("font"))) {
        m_font = font(root.value(QLatin1String("font")), m_font);
    }
    m_document->backgroundColor = QColor(26, 27, 54);
    if (root.contains(QLatin1String("background"))) {
        m_where = QStringLiteral("background");
        const QJsonValue background = root.value(QLatin1String("background"));
        if (background.isString()) {
            m_document->backgroundColor = colour(background);
        } else if (background.isObject()) {
            const QJsonObject object = background.toObject();
            checkKeys(object, {"color", "picture"}, QStringLiteral("the background"));
            if (object.contains(QLatin1String("color"))) {
                m_document->backgroundColor = colour(object.value(QLatin1String("color")));
            }
            if (object.contains(QLatin1String("picture"))) {
                m_document->background =
                    picture(object.value(QLatin1String("picture")), QStringLiteral("picture"));
            }
        } else {
            fail(QStringLiteral("must be a colour or {\"color\", \"picture\"}"));
        }
        m_where.clear();
    }
    m_document->focusColor = QColor(51, 209, 224);
    if (root.contains(QLatin1String("focus"))) {
        m_where = QStringLiteral("focus");
        m_document->focusColor = colour(root.value(QLatin1String("focus")));
        m_where.clear();
    }
    if (root.contains(QLatin1String("styles"))) {
        if (!root.value(QLatin1String("styles")).isObject()) {
            fail(QStringLiteral("styles must be an object of named element styles"));
        }
        m_styles = root.value(QLatin1String("styles")).toObject();
        for (auto it = m_styles.begin(); it != m_styles.end(); ++it) {
            if (!it.value().isObject() || it.value().toObject().contains(QLatin1String("style"))) {
                m_where = QStringLiteral("style ") + quoted(it.key());
                fail(QStringLiteral("a style must be an object without a style of its own"));
            }
        }
    }
    if (root.contains(QLatin1String("images"))) {
        readImages(root.value(QLatin1String("images")));
    }
    if (root.contains(QLatin1String("areas"))) {
        readAreas(root.value(QLatin1String("areas")));
    }
    if (root.contains(QLatin1String("title"))) {
        readTitle(root.value(QLatin1String("title")));
    }

    const QJsonValue elements = root.value(QLatin1String("elements"));
    if (!elements.isUndefined() && !elements.isArray()) {
        fail(QStringLiteral("elements must be a list"));
    }
    QSet<QString> names;
    const QJsonArray list = elements.toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        m_where = QStringLiteral("element %1").arg(i + 1);
        if (!list.at(i).isObject()) {
            fail(QStringLiteral("not an object"));
        }
        const QJsonObject object = list.at(i).toObject();
        const QJsonValue name = object.value(QLatin1String("name"));
        if (!name.isString() || name.toString().isEmpty()) {
            fail(QStringLiteral("no name"));
        }
        m_where = QStringLiteral("element ") + quoted(name.toString());
        if (names.contains(name.toString().toLower())) {
            fail(
                QStringLiteral("the name is used twice (names are compared without regard "
                               "to case)"));
        }
        names.insert(name.toString().toLower());
        m_document->elements.push_back(element(object));
    }
    m_where.clear();
    return m_document;
}

}  // namespace

std::shared_ptr<const SkinDocument> SkinReader::read(const QString& path, QString* error) {
    try {
        return Reader(path).read();
    } catch (const Fault& fault) {
        if (error != nullptr) {
            *error = fault.where.isEmpty()
                         ? QStringLiteral("%1: %2").arg(path, fault.what)
                         : QStringLiteral("%1: %2: %3").arg(path, fault.where, fault.what);
        }
        return nullptr;
    }
}
