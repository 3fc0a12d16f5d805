#include "platform/QtPlatform.h"

#include "platform/MediaPlayer.h"
#include "platform/QtMapBrowser.h"

QtPlatform::QtPlatform() {
    m_services.messageBoxes = &m_messageBoxes;
    m_services.fileDialogs = &m_fileDialogs;
    m_services.processes = &m_processes;
    m_services.urls = &m_urls;
    m_services.waits = &m_waits;
    m_services.makeMapBrowser = [](QWidget* parent) -> std::unique_ptr<MapBrowser> {
        return std::make_unique<QtMapBrowser>(parent);
    };
    // The player on Qt Multimedia comes with the video window; until then no window asks
    // for one.
    m_services.makeMediaPlayer = [](QWidget*) -> std::unique_ptr<MediaPlayer> { return nullptr; };
}
