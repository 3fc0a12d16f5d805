#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "WindowTest.h"

class frmMP4List;
class QTreeWidgetItem;

// The windows with the map page ready and a stand-in for the extraction tool: once the loader
// has started it, the next wait finds the track document the test gave for that recording.
class LoaderFixture : public WindowTest {
  public:
    // One sample of a track document; the other fields are fixed.
    struct Sample {
        QString clock = QStringLiteral("10:00:00");
        QString longitude = QStringLiteral("121.533958");
        QString latitude = QStringLiteral("25.036512");
        QString speed = QStringLiteral("50.000000");
        QString angle = QStringLiteral("90.000000");
        QString gX = QStringLiteral("0.000000");
        QString gY = QStringLiteral("0.000000");
        QString gZ = QStringLiteral("1.000000");
    };

    // The tool writes this document for the recording; for a recording without one nothing
    // is ever written (the tool hangs).
    void giveDocument(const QString& recording, const QList<Sample>& samples);
    static QByteArray documentText(const QList<Sample>& samples);
    // A track of count points, one a second, along a line.
    static QList<Sample> drive(int count);

    QHash<QString, QByteArray> m_documents;

  protected:
    // Starts the viewer; with mapReady the map page has loaded.
    void startViewer(bool mapReady = true);
    frmMP4List& list();
    // Adds the recordings through the open dialog.
    void addRecordings(const QStringList& paths);
    QTreeWidgetItem* row(int serial);
    // Clicks the check icon of a row as the user would.
    void clickCheck(int serial);
    QString documentPath() const;

    QStringList scripts() const;
    QStringList batches() const;

    int m_toolsAnswered = 0;
};
