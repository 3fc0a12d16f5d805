#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "platform/MapBrowser.h"
#include "platform/MapWebSetup.h"

class MapWebProfile;
class QWebEngineView;

// Create it in its final parent before the frame is first shown: a web view made after
// show(), or moved to another parent later, can take the video widget's native window
// down with it.
class QtMapBrowser : public MapBrowser {
  public:
    // In the program's own web profile, shared by its map browsers.
    explicit QtMapBrowser(QWidget* parent);
    QtMapBrowser(QWidget* parent, std::shared_ptr<MapWebProfile> profile);
    ~QtMapBrowser() override;

    QtMapBrowser(const QtMapBrowser&) = delete;
    QtMapBrowser& operator=(const QtMapBrowser&) = delete;

    // Makes the map page's scheme known to the web engine: call it before the QApplication
    // exists.
    static void registerScheme();
    // The program folder, tile address and identity of the program's map browsers, for pages
    // loaded from then on. Call it after the QApplication exists.
    static void configure(const MapWebSetup& setup);

    // Where the page takes its tiles from ("…/{z}/{x}/{y}.png"; empty for the default): at
    // once in a loaded page, and in every page loaded later. The page's address stays as it is.
    void setTileAddress(const QString& address) override;

    void load(const QString& address) override;
    void setLoadFinishedHandler(LoadFinishedHandler handler) override;
    int readyFlag() const override;
    void setReadyFlag(int flag) override;
    void runScript(const QString& code) override;
    void readPageValue(const QString& name, ValueHandler handler) override;
    void writePageValue(const QString& name, const QString& value) override;
    QWidget* widget() override;

  private:
    // Outlives the view, which must go first.
    std::shared_ptr<MapWebProfile> m_profile;
    QPointer<QWebEngineView> m_view;
    // Ends the view's connections to this object when it goes first.
    QObject m_context;
    LoadFinishedHandler m_loadFinished;
    int m_readyFlag = 0;
};
