#pragma once

#include <QDialog>
#include <QHash>
#include <QLabel>
#include <QList>
#include <QProgressBar>
#include <QString>
#include <QTimer>
#include <memory>

#include "services/TrackLoader.h"
#include "shell/Form.h"

class ChildProcess;
class QLockFile;

// The loading window: shown modally by the recording list while tracks are read through the
// extraction tool and drawn on the map, with its progress. "One" loads the list's selected
// row, any other tag every checked row not read yet.
//
// A track document is one sample a second; the loader keeps its texts as they are (UTC,
// km/h) and feeds the points to the map while it reads them.
class frmSendData : public QDialog, public Form, public TrackLoader {
  public:
    static constexpr int kStartMilliseconds = 100;
    // How long the tool has to write its document: 250 rounds of 100 ms.
    static constexpr int kWaitRounds = 250;
    static constexpr int kRoundMilliseconds = 100;
    // The pause before a document that has appeared is read.
    static constexpr int kSettleMilliseconds = 500;
    // The pause after each batch sent to the map.
    static constexpr int kBatchPauseMilliseconds = 5;
    static constexpr int kMaxPoints = 32767;

    frmSendData(Windows& windows, QWidget* owner);
    ~frmSendData() override;

    bool Form_Load() override;

    void showModal(const QString& tag) override;
    void SendGPSToMap(int serial) override;

    // Loads the list's selected row. With showProgress the progress bar follows the points
    // and the window closes at the end.
    void LoadOneMP4Data(bool showProgress);
    // Loads every checked row not read yet, the progress bar following the rows.
    void LoadGroupHistoryData();

    const QString& tag() const { return m_tag; }
    QProgressBar& pbShow() { return m_pbShow; }
    QTimer& tStart() { return m_tStart; }

    // The document's samples, each field by its element name.
    using Sample = QHash<QString, QString>;
    // Reads every "gpsinfo" of a track document; throws std::runtime_error naming the fault
    // when the document is not well-formed.
    static QList<Sample> readDocument(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void tStart_Timer();
    // Runs the extraction tool on the recording and waits for its document. False when the
    // user has been told why not.
    bool extract(int serial, const QString& recording, const QString& document, bool showProgress);
    // Turns the samples into the track of serial, feeding the map as it goes.
    void fillTrack(int serial, const QList<Sample>& samples, bool showProgress);
    void sendBatch(QString& buffer);
    void sendOver();
    void pause(int milliseconds);
    void processEvents();
    void endChild();
    void fail(int textId, const QString& description);

    QLabel m_caption;
    QProgressBar m_pbShow;
    QTimer m_tStart;
    QString m_tag;
    std::unique_ptr<ChildProcess> m_child;
    std::unique_ptr<QLockFile> m_lock;
};
