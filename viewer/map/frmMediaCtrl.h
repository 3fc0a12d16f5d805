#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "shell/DockBand.h"
#include "shell/Form.h"

class MapBrowser;
class SkinHost;

// The map panel, in the frame's band "ControlBand": the map page in its area "map" and the
// recording list in its bottom band "mylist". The panel makes the page's browser and hands it
// to the map page service, through which every window reaches the page and its ready flag.
class frmMediaCtrl : public QWidget, public Form {
  public:
    static constexpr int kGetMapLocalMilliseconds = 200;

    frmMediaCtrl(Windows& windows, QWidget* parent);
    ~frmMediaCtrl() override;

    bool Form_Load() override;

    // The map page at a map base address (ending in "/").
    static QString pageAddress(const QString& base);

    MapBrowser* HTMLView() const { return m_htmlView.get(); }
    // The browser's tag: 1 once the page has loaded, 0 while it loads.
    int mapReady() const;
    DockBand& myListBand() { return m_myListBand; }
    QLabel& MTBackBar() { return m_mtBackBar; }
    SkinHost* mainSkin() const { return m_mainSkin.get(); }
    QTimer& tGetMapLocal() { return m_tGetMapLocal; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QRect mapArea() const;
    void layoutBands();
    void HTMLView_DocumentComplete(bool ok);
    // The page has loaded and offers what the viewer calls: it is shown and marked ready.
    void pageReady();
    void reportPageFailure();
    void tGetMapLocal_Timer();
    // A click on a route, "(lat, lon)": the recording and point it hits start playing there.
    void jumpTo(const QString& click);

    std::unique_ptr<SkinHost> m_mainSkin;
    QLabel m_mtBackBar;
    DockBand m_myListBand;
    std::unique_ptr<MapBrowser> m_htmlView;
    QTimer m_tGetMapLocal;
    bool m_mapShown = false;
    bool m_clickPending = false;
    bool m_failureShown = false;
};
