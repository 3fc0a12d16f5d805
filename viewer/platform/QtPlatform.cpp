#include "platform/QtPlatform.h"

#include "platform/QtChart.h"
#include "platform/QtMapBrowser.h"
#include "platform/QtMediaPlayer.h"

QtPlatform::QtPlatform() {
    m_services.messageBoxes = &m_messageBoxes;
    m_services.fileDialogs = &m_fileDialogs;
    m_services.processes = &m_processes;
    m_services.urls = &m_urls;
    m_services.waits = &m_waits;
    m_services.makeMapBrowser = [](QWidget* parent) -> std::unique_ptr<MapBrowser> {
        return std::make_unique<QtMapBrowser>(parent);
    };
    m_services.makeMediaPlayer = [](QWidget* parent) -> std::unique_ptr<MediaPlayer> {
        return std::make_unique<QtMediaPlayer>(parent);
    };
    m_services.makeChart = [](QWidget* parent) -> std::unique_ptr<Chart> {
        return std::make_unique<QtChart>(parent);
    };
}
