#pragma once

#include <QIcon>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <memory>

#include "services/RecordingList.h"
#include "shell/Form.h"

class QTreeWidgetItem;
class SkinElement;
class SkinHost;

// The recording list, in the map panel's band "mylist": the skinned filter buttons and the
// list view LstMP4 in the skin's area "list". One row per recording, in nine columns of which
// only the check icon and the display text are seen:
// row number, check icon, display text, path, loaded, serial, on map, label, missing.
class frmMP4List : public QWidget, public Form, public RecordingList {
  public:
    static constexpr int kColumnCount = 9;
    enum Column {
        kRowNumber = 0,
        kCheck = 1,
        kDisplay = 2,
        kPath = 3,
        kLoaded = 4,
        kSerial = 5,
        kOnMap = 6,
        kLabel = 7,
        kMissing = 8
    };
    static constexpr int kContinueMilliseconds = 100;

    frmMP4List(Windows& windows, QWidget* parent);
    ~frmMP4List() override;

    // Throws when the list's skin cannot be loaded: the map panel that docks the list reports
    // it.
    bool Form_Load() override;

    void cmdOpenFile() override;
    void DeleteList() override;
    void addRecordings(const QStringList& paths, bool draw) override;

    QList<int> serials() const override;
    int playingSerial() const override { return m_playingSerial; }
    void setPlayingSerial(int serial) override { m_playingSerial = serial; }
    int selectedSerial() const override;
    void selectRow(int serial) override;
    QString path(int serial) const override;
    bool isChecked(int serial) const override;
    void setChecked(int serial, bool checked) override;
    bool isLoaded(int serial) const override;
    void setLoaded(int serial) override;
    bool isOnMap(int serial) const override;
    void setOnMap(int serial, bool onMap) override;
    void setMissing(int serial) override;
    void removeMissingRows() override;
    bool saveHandOver() override;
    void FullListBackColor() override;
    void MarkPlayingItem(int serial) override;
    void Form_Resize();

    // Starts the row of that serial as continuous play does: after 100 ms, or at once.
    void armContinue(int serial) override;
    void tContinue_Timer();

    QTreeWidget& LstMP4() { return m_lstMP4; }
    const QTreeWidget& LstMP4() const { return m_lstMP4; }
    SkinHost* mainSkin() const { return m_mainSkin.get(); }
    QTimer& tContinue() { return m_tContinue; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTreeWidgetItem* rowOf(int serial) const;
    static int serialOf(const QTreeWidgetItem* item);
    bool mapReady();
    bool playingOrPaused();
    void applyLayoutConstants();
    void layoutList();
    void restoreHandedOverList();
    // Asks first while the map has not loaded, then adds the recordings pick gives.
    void addPicked(const std::function<QStringList()>& pick);
    void addRow(const QString& path, const QString& dateTime);
    void setChecked(QTreeWidgetItem* item, bool checked);
    void clearFromMap(QTreeWidgetItem* item);
    void removeTrack(int serial);
    void LstMP4_ItemClick(QTreeWidgetItem* item, int column);
    void LstMP4_DblClick();
    void mainSkin_Click(SkinElement& element);
    // ALL, NORMAL and LOCK: rows of the kind named are ticked and drawn (loading those not read
    // yet); rows of the other kind are unticked and taken off the map.
    void tickKind(bool normal, bool lock);
    void tickNone();
    void loadTracks(const char* tag);

    std::unique_ptr<SkinHost> m_mainSkin;
    QTreeWidget m_lstMP4;
    QTimer m_tContinue;
    QIcon m_unchecked;
    QIcon m_checked;
    int m_serial = 0;
    int m_playingSerial = 0;
    int m_continueSerial = 0;
};
