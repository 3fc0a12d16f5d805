#pragma once

#include <QList>
#include <memory>

#include "platform/Platform.h"
#include "platform/fake/FakeFileDialogService.h"
#include "platform/fake/FakeMessageBoxService.h"
#include "platform/fake/FakeProcessRunner.h"
#include "platform/fake/FakeUrlOpener.h"
#include "platform/fake/FakeWaitService.h"

class FakeChart;
class FakeMapBrowser;
class FakeMediaPlayer;
class FakeSkinHost;

// Every service as a recording fake. Players, map browsers and skin hosts made through
// services() are listed here while they live (owned by the window that asked for them), so a
// test can reach them.
class FakePlatform {
  public:
    FakePlatform();

    const Platform& services() const { return m_services; }

    FakeMessageBoxService messageBoxes;
    FakeFileDialogService fileDialogs;
    FakeProcessRunner processes;
    FakeUrlOpener urls;
    FakeWaitService waits;

    // The live ones in the order they were made; each leaves its list when its owner drops it.
    const QList<FakeMediaPlayer*>& mediaPlayers() const { return *m_players; }
    const QList<FakeMapBrowser*>& mapBrowsers() const { return *m_browsers; }
    const QList<FakeSkinHost*>& skinHosts() const { return *m_skins; }
    const QList<FakeChart*>& charts() const { return *m_charts; }

  private:
    Platform m_services;
    std::shared_ptr<QList<FakeMediaPlayer*>> m_players;
    std::shared_ptr<QList<FakeMapBrowser*>> m_browsers;
    std::shared_ptr<QList<FakeSkinHost*>> m_skins;
    std::shared_ptr<QList<FakeChart*>> m_charts;
};
