#include "platform/fake/FakePlatform.h"

#include "platform/fake/FakeMapBrowser.h"
#include "platform/fake/FakeMediaPlayer.h"
#include "platform/fake/FakeSkinHost.h"

FakePlatform::FakePlatform() {
    m_services.messageBoxes = &messageBoxes;
    m_services.fileDialogs = &fileDialogs;
    m_services.processes = &processes;
    m_services.urls = &urls;
    m_services.waits = &waits;
    m_services.makeMediaPlayer = [this](QWidget*) -> std::unique_ptr<MediaPlayer> {
        auto player = std::make_unique<FakeMediaPlayer>();
        m_players.append(player.get());
        return player;
    };
    m_services.makeMapBrowser = [this](QWidget*) -> std::unique_ptr<MapBrowser> {
        auto browser = std::make_unique<FakeMapBrowser>();
        m_browsers.append(browser.get());
        return browser;
    };
    m_services.makeSkinHost = [this]() -> std::unique_ptr<SkinHost> {
        auto host = std::make_unique<FakeSkinHost>();
        m_skins.append(host.get());
        return host;
    };
}
