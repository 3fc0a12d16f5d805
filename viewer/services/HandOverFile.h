#pragma once

#include <QList>
#include <QString>
#include <optional>

// The recording list handed from one run of the viewer to the next across the restart a
// language change needs: one entry per row, its date and time text and its recording's path.
// An XML document, "mp4list" holding one "Data" per row with "x2" (the text) and "x3" (the
// path).
class HandOverFile {
  public:
    struct Row {
        QString dateTime;
        QString path;
        bool operator==(const Row&) const = default;
    };

    // Writes the rows, replacing the file whole or leaving it as it was. False with a reason
    // when it could not be written.
    static bool save(const QString& file, const QList<Row>& rows, QString* error = nullptr);
    // The rows of the file in their order; nothing with a reason when the file is damaged (not
    // XML, no "mp4list" root, a "Data" without its "x2" or "x3").
    static std::optional<QList<Row>> read(const QString& file, QString* error = nullptr);
};
