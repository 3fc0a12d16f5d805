#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "TempHome.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "shell/Application.h"
#include "shell/Windows.h"

class FakeMediaPlayer;
class FakeMapBrowser;
class FakeSkinHost;
class QWidget;

// The viewer's windows in a program folder of their own, with every platform service faked.
// Skins exist where a test declares them; the video files are real files the test writes.
class WindowTest : public ::testing::Test {
  protected:
    // The skin geometry the windows are laid out for.
    static const QRect kClient;
    static const QRect kControlBand;
    static const QRect kMapArea;
    static const QRect kMyListArea;
    static const QRect kListArea;
    static const QRect kChartArea;

    WindowTest();
    ~WindowTest() override;

    QString programFolder() const { return m_folder.path(); }
    QString programPath(const QString& relative) const;

    // Every skin of a language with its elements and areas, except those named (relative to
    // the program folder) as missing.
    void declareSkins(int languageNumber, const QStringList& missing = {});
    void writeFile(const QString& relative, const QByteArray& bytes = "not empty");
    void writeSettings(const QByteArray& bytes);

    // Makes the application (with the services as the test left them) and runs start-up.
    bool start();
    Application& app() { return *m_app; }
    Windows& windows() { return *m_windows; }

    FakeSkinHost* skinOf(const QWidget* window) const;
    // The video window's player and background player, in the order they are made.
    FakeMediaPlayer* mtWmp() const;
    FakeMediaPlayer* mtbk() const;
    FakeMapBrowser* browser() const;
    // Ends the map page's load as the web engine would: our page offers getContentHis.
    void loadMapPage(bool ok = true);

    QStringList messageTexts() const;
    void expectOneMessage(MessageBoxService::Icon icon, const QString& title,
                          const QString& text) const;

    TempHome m_home;
    QTemporaryDir m_folder;
    FakePlatform m_platform;
    // What the application is made with; a test may replace a service before start().
    Platform m_services = m_platform.services();
    std::unique_ptr<Application> m_app;
    Windows* m_windows = nullptr;
    QList<int> m_ended;
};
