#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "TempHome.h"
#include "platform/fake/FakeFileDialogService.h"
#include "platform/fake/FakeMessageBoxService.h"
#include "shell/Application.h"

class ProbeSkinHost;
class QtPlatform;
class QWidget;
class Windows;

// The viewer in this process as the user gets it: the real application object, windows,
// skin engine, player and web engine on the X display, with homes in a temporary folder.
// Message boxes and file dialogs answer from queues the test fills (with an empty queue a box
// takes its first button and a file dialog is cancelled).
//
// Later tests drive it the same way: click skin elements by name, read the map page by
// script, look at the screen.
class ViewerHarness {
  public:
    struct Options {
        // mainv of the settings file; 1001 English, 1002 Traditional Chinese.
        int languageCode = 1001;
        int unitCode = 1001;
    };

    ViewerHarness();
    explicit ViewerHarness(Options options);
    ~ViewerHarness();

    ViewerHarness(const ViewerHarness&) = delete;
    ViewerHarness& operator=(const ViewerHarness&) = delete;

    // Runs start-up; true when the frame is up.
    bool start();
    // Runs start-up and waits until the splash has gone and the map page has loaded.
    bool startWithMap();
    // Clicks the check icon of a list row (counted from 0) where the user sees it.
    bool tickRow(int row);

    Application& app() { return *m_app; }
    Windows& windows() { return *m_windows; }
    FakeMessageBoxService& messageBoxes() { return m_messageBoxes; }
    FakeFileDialogService& fileDialogs() { return m_fileDialogs; }
    TempHome& home() { return m_home; }
    // Exit statuses the program ended with, in order (normally at most one).
    const QList<int>& ended() const { return m_ended; }

    // The skin a window was drawn with; nullptr when it has none.
    ProbeSkinHost* skinOf(const QWidget* window) const;
    // Raises the click of the named element of the window's skin; false when there is none.
    bool click(const QWidget* window, const QString& element);
    bool moveSlider(const QWidget* window, const QString& element, int value);
    // Clicks the named element of the window's skin with the mouse where the user sees it:
    // false when the window has no such element or something else lies over that place.
    bool clickOnScreen(const QWidget* window, const QString& element);
    // Clicks a point of a widget where the user sees it; false when it is covered.
    static bool clickOnScreen(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton);
    // Runs check once the modal window the next step opens is up, then closes that window if
    // the check left it open (a failed check must not hang the run).
    static void whenModal(std::function<void(QWidget* modal)> check, int delayMilliseconds = 300);

    // Runs a script expression in the map page and gives its value as text (nothing for
    // undefined or null, or when the page does not answer).
    std::optional<QString> evaluate(const QString& expression);
    // The same, with "<no answer>" when there is none.
    QString page(const QString& expression);

    // The whole screen as the user sees it, video included.
    static QImage grabScreen();
    // Saves the screen as name.png into $HARVENTIS_SCREENSHOT_DIR when that is set.
    static void saveScreen(const QString& name);

    // Runs the event loop until done() holds. The limit only keeps a broken viewer from
    // hanging the suite; nothing depends on how fast it is.
    static bool waitUntil(const std::function<bool()>& done, int limitMilliseconds = 90000);

    static QString programFolder();
    static QString programFile();
    // A real H.264 recording of the given length with GPS samples; empty when the tool failed.
    static QString makeRecording(const QString& path, int seconds);
    // A real recording of a route description (see tools/make-recording) in a layout.
    static QString makeRecording(const QString& path, const QString& layout, const QString& route);

  private:
    void writeSettings();

    Options m_options;
    TempHome m_home;
    FakeMessageBoxService m_messageBoxes;
    FakeFileDialogService m_fileDialogs;
    std::unique_ptr<QtPlatform> m_platform;
    // The skins of the windows alive now.
    std::shared_ptr<QList<ProbeSkinHost*>> m_skins = std::make_shared<QList<ProbeSkinHost*>>();
    QList<int> m_ended;
    std::unique_ptr<Application> m_app;
    Windows* m_windows = nullptr;
};
