#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "platform/Platform.h"
#include "services/TrackTable.h"
#include "shell/StringTable.h"

class StartupWindows;
class clsDot;
class clsIniFile;

// What the whole viewer shares, for the whole run: language, speed unit, the settings
// store, the string table, the loaded tracks, the platform services and the one instance of
// each window. Everything runs on the window thread.
class Application {
  public:
    Application(const Platform& platform, StringTable strings, QString programFile);
    ~Application();

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    const Platform& platform() const { return m_platform; }
    // The viewer's own file, and the folder that holds its skins and tools.
    const QString& programFile() const { return m_programFile; }
    QString programFolder() const;

    // Language code 100n: n is the language number, n × 10000 the base of its texts.
    int languageCode() const { return m_languageCode; }
    int languageNumber() const { return m_languageNumber; }
    int languageBase() const { return m_languageBase; }
    void setLanguageCode(int code);

    int timeZoneEntry() const { return m_timeZoneEntry; }
    void setTimeZoneEntry(int entry) { m_timeZoneEntry = entry; }

    // Unit code 100n: n = 1 km/h, 2 miles per hour, 3 nautical miles per hour. Speeds stay in
    // km/h; the factor turns them into the chosen unit where they are shown.
    int unitCode() const { return m_unitCode; }
    double unitFactor() const { return m_unitFactor; }
    void setUnitCode(int code);
    // Any last digit other than 1, 2 or 3 keeps the previous factor.
    static double unitFactorFor(int code, double previous);

    const QStringList& installerArguments() const { return m_installerArguments; }
    void setInstallerArguments(const QStringList& arguments) { m_installerArguments = arguments; }

    const StringTable& strings() const { return m_strings; }
    // The text language base + textId; throws std::runtime_error when the table lacks it.
    QString text(int textId) const;
    // The text, or its number when the table lacks it: a message box still appears.
    QString textOr(int textId) const;
    // A text that belongs to no language (the map address, the language list); throws too.
    QString sharedText(int id) const;
    // Where the map page is served: the settings key MapBase when it is set, else text 1;
    // always ending in "/" so the page name can follow.
    QString mapBaseAddress();

    // The settings store, made on first use; start-up binds it to the settings file.
    clsIniFile& settings();

    TrackTable& tracks() { return m_tracks; }
    const std::shared_ptr<clsDot>& currentTrack() const { return m_currentTrack; }
    void setCurrentTrack(std::shared_ptr<clsDot> track) { m_currentTrack = std::move(track); }

    // Vertical twips per pixel: 12 on screens of 108 dots per inch or more, else 15. Read
    // from the primary screen on first use; 15 without one.
    int twipsPerPixel();
    void setTwipsPerPixel(int twips) { m_twipsPerPixel = twips; }
    static int twipsForDpi(double logicalDpi);
    // The Normal or Lock label of the recording list for this screen.
    QString kindLabel(bool lock);

    // One instance per window class, made on first use by the factory the windows' library
    // registers. A window is destroyed only through unload() (or with the application, in
    // the reverse order of creation), never by itself.
    template <class W>
    void registerWindow(std::function<std::unique_ptr<W>(Application&)> factory);
    // Throws std::runtime_error when the class has no factory, its factory fails, or the
    // window is asked for while it is still being made.
    template <class W>
    W& window();
    template <class W>
    bool isLoaded() const;
    template <class W>
    void unload();

    void setStartupWindows(std::unique_ptr<StartupWindows> steps);
    // Null until the windows' library provides the steps; start-up then skips them.
    StartupWindows* startupWindows() { return m_startupWindows.get(); }

  private:
    struct WindowSlot {
        std::function<std::shared_ptr<void>(Application&)> create;
        std::shared_ptr<void> instance;
        bool creating = false;
    };

    void addWindowFactory(std::type_index type,
                          std::function<std::shared_ptr<void>(Application&)> create);
    void* windowInstance(const std::type_info& type);
    bool windowLoaded(std::type_index type) const;
    void unloadWindow(std::type_index type);

    Platform m_platform;
    StringTable m_strings;
    QString m_programFile;
    int m_languageCode = 0;
    int m_languageNumber = 0;
    int m_languageBase = 0;
    int m_timeZoneEntry = 0;
    int m_unitCode = 0;
    double m_unitFactor = 0.0;
    int m_twipsPerPixel = 0;
    QStringList m_installerArguments;
    std::unique_ptr<clsIniFile> m_settings;
    TrackTable m_tracks;
    std::shared_ptr<clsDot> m_currentTrack;
    std::unique_ptr<StartupWindows> m_startupWindows;
    // Last, so the windows go before the state they use.
    std::map<std::type_index, WindowSlot> m_windows;
    std::vector<std::type_index> m_creationOrder;
};

template <class W>
void Application::registerWindow(std::function<std::unique_ptr<W>(Application&)> factory) {
    addWindowFactory(typeid(W), [factory = std::move(factory)](Application& app) {
        return std::shared_ptr<void>(std::shared_ptr<W>(factory(app)));
    });
}

template <class W>
W& Application::window() {
    return *static_cast<W*>(windowInstance(typeid(W)));
}

template <class W>
bool Application::isLoaded() const {
    return windowLoaded(typeid(W));
}

template <class W>
void Application::unload() {
    unloadWindow(typeid(W));
}
