#pragma once

#include <QTreeWidget>
#include <QWidget>
#include <memory>

#include "services/RecordingList.h"
#include "shell/Form.h"

class SkinHost;

// The recording list, in the map panel's band "mylist": the skinned filter buttons and the
// list view LstMP4 in the skin's area "list".
class frmMP4List : public QWidget, public Form, public RecordingList {
  public:
    // Row number, check icon, display text, path, loaded, serial, on map, label, missing.
    static constexpr int kColumnCount = 9;

    frmMP4List(Windows& windows, QWidget* parent);
    ~frmMP4List() override;

    // Throws when the list's skin cannot be loaded: the map panel that docks the list reports
    // it.
    bool Form_Load() override;

    // Where the frame's "open" and "delete" buttons land.
    void cmdOpenFile() override;
    void DeleteList() override;

    QTreeWidget& LstMP4() { return m_lstMP4; }
    const QTreeWidget& LstMP4() const { return m_lstMP4; }
    SkinHost* mainSkin() const { return m_mainSkin.get(); }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void layoutList();

    std::unique_ptr<SkinHost> m_mainSkin;
    QTreeWidget m_lstMP4;
    int m_serial = 0;
};
