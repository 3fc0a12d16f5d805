#include "services/HandOverFile.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

void setError(QString* error, const QString& reason) {
    if (error != nullptr) {
        *error = reason;
    }
}

}  // namespace

bool HandOverFile::save(const QString& file, const QList<Row>& rows, QString* error) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        setError(error, out.errorString());
        return false;
    }
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("mp4list"));
    for (const Row& row : rows) {
        xml.writeStartElement(QStringLiteral("Data"));
        xml.writeTextElement(QStringLiteral("x2"), row.dateTime);
        xml.writeTextElement(QStringLiteral("x3"), row.path);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError() || !out.commit()) {
        setError(error, out.errorString());
        return false;
    }
    return true;
}

std::optional<QList<HandOverFile::Row>> HandOverFile::read(const QString& file, QString* error) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        setError(error, in.errorString());
        return std::nullopt;
    }
    QXmlStreamReader xml(&in);
    if (!xml.readNextStartElement() || xml.name() != QStringLiteral("mp4list")) {
        setError(error, QStringLiteral("%1: no recording list").arg(file));
        return std::nullopt;
    }
    QList<Row> rows;
    while (xml.readNextStartElement()) {
        if (xml.name() != QStringLiteral("Data")) {
            xml.skipCurrentElement();
            continue;
        }
        std::optional<QString> dateTime;
        std::optional<QString> path;
        while (xml.readNextStartElement()) {
            if (xml.name() == QStringLiteral("x2") && !dateTime) {
                dateTime = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            } else if (xml.name() == QStringLiteral("x3") && !path) {
                path = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            } else {
                xml.skipCurrentElement();
            }
        }
        if (!xml.hasError() && (!dateTime || !path)) {
            setError(error, QStringLiteral("%1, line %2: a recording without its %3")
                                .arg(file)
                                .arg(xml.lineNumber())
                                .arg(dateTime ? QStringLiteral("path") : QStringLiteral("date")));
            return std::nullopt;
        }
        rows.append(Row{dateTime.value_or(QString()), path.value_or(QString())});
    }
    if (xml.hasError()) {
        setError(error, QStringLiteral("%1, line %2: %3")
                            .arg(file)
                            .arg(xml.lineNumber())
                            .arg(xml.errorString()));
        return std::nullopt;
    }
    return rows;
}
