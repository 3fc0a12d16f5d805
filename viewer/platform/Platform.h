#pragma once

#include <functional>
#include <memory>

class Chart;
class FileDialogService;
class MapBrowser;
class MediaPlayer;
class MessageBoxService;
class ProcessRunner;
class SkinHost;
class QWidget;
class UrlOpener;
class WaitService;

// The outside world as the windows reach it. The services live as long as the program;
// players and map browsers belong to the window that makes them, created in their final
// parent.
struct Platform {
    MessageBoxService* messageBoxes = nullptr;
    FileDialogService* fileDialogs = nullptr;
    ProcessRunner* processes = nullptr;
    UrlOpener* urls = nullptr;
    WaitService* waits = nullptr;
    std::function<std::unique_ptr<MediaPlayer>(QWidget* parent)> makeMediaPlayer;
    std::function<std::unique_ptr<MapBrowser>(QWidget* parent)> makeMapBrowser;
    std::function<std::unique_ptr<Chart>(QWidget* parent)> makeChart;
    // Each skinned window makes its own host.
    std::function<std::unique_ptr<SkinHost>()> makeSkinHost;
};
