#pragma once

#include <QList>

#include "platform/Platform.h"
#include "platform/fake/FakeFileDialogService.h"
#include "platform/fake/FakeMessageBoxService.h"
#include "platform/fake/FakeProcessRunner.h"
#include "platform/fake/FakeUrlOpener.h"
#include "platform/fake/FakeWaitService.h"

class FakeMapBrowser;
class FakeMediaPlayer;
class FakeSkinHost;

// Every service as a recording fake. Players and map browsers made through services() are
// kept here (owned by the window that asked for them) so a test can reach them.
class FakePlatform {
  public:
    FakePlatform();

    const Platform& services() const { return m_services; }

    FakeMessageBoxService messageBoxes;
    FakeFileDialogService fileDialogs;
    FakeProcessRunner processes;
    FakeUrlOpener urls;
    FakeWaitService waits;

    // In the order they were made; valid while their owner keeps them.
    const QList<FakeMediaPlayer*>& mediaPlayers() const { return m_players; }
    const QList<FakeMapBrowser*>& mapBrowsers() const { return m_browsers; }
    const QList<FakeSkinHost*>& skinHosts() const { return m_skins; }

  private:
    Platform m_services;
    QList<FakeMediaPlayer*> m_players;
    QList<FakeMapBrowser*> m_browsers;
    QList<FakeSkinHost*> m_skins;
};
