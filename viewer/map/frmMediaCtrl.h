#pragma once

#include <QLabel>
#include <QWidget>
#include <memory>

#include "shell/Form.h"

class MapBrowser;
class SkinHost;

// The map panel, in the frame's band "ControlBand": the map page in its area "map" and the
// recording list in its bottom band "mylist". The browser's tag is the map-ready flag that
// every caller into the page tests.
class frmMediaCtrl : public QWidget, public Form {
  public:
    frmMediaCtrl(WindowArrangement& windows, QWidget* parent);
    ~frmMediaCtrl() override;

    bool Form_Load() override;

    // The page shown until the map page is served: a dark panel in the theme's colours.
    static QString placeholderAddress();

    MapBrowser* HTMLView() const { return m_htmlView.get(); }
    // 1 once the page has loaded, 0 while it loads.
    int mapReady() const;
    QWidget& myListBand() { return m_myListBand; }
    QLabel& MTBackBar() { return m_mtBackBar; }
    SkinHost* mainSkin() const { return m_mainSkin.get(); }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QRect mapArea() const;
    void layoutBands();
    void HTMLView_DocumentComplete(bool ok);

    std::unique_ptr<SkinHost> m_mainSkin;
    QLabel m_mtBackBar;
    QWidget m_myListBand;
    std::unique_ptr<MapBrowser> m_htmlView;
    bool m_mapShown = false;
};
