#pragma once

#include <QObject>
#include <QPointer>

#include "platform/MapBrowser.h"

class QWebEngineView;

// Create it in its final parent before the frame is first shown: a web view made after
// show(), or moved to another parent later, can take the video widget's native window
// down with it.
class QtMapBrowser : public MapBrowser {
  public:
    explicit QtMapBrowser(QWidget* parent);
    ~QtMapBrowser() override;

    QtMapBrowser(const QtMapBrowser&) = delete;
    QtMapBrowser& operator=(const QtMapBrowser&) = delete;

    void load(const QString& address) override;
    void setLoadFinishedHandler(LoadFinishedHandler handler) override;
    int readyFlag() const override;
    void setReadyFlag(int flag) override;
    void runScript(const QString& code) override;
    void readPageValue(const QString& name, ValueHandler handler) override;
    void writePageValue(const QString& name, const QString& value) override;
    QWidget* widget() override;

  private:
    QPointer<QWebEngineView> m_view;
    // Ends the view's connections to this object when it goes first.
    QObject m_context;
    LoadFinishedHandler m_loadFinished;
    int m_readyFlag = 0;
};
