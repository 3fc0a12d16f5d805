#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "platform/MessageBoxService.h"
#include "platform/Platform.h"
#include "services/MapPage.h"
#include "services/TrackTable.h"
#include "shell/StringTable.h"
#include "shell/WindowRegistry.h"

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
    // The label of a message box button in the language in force; empty before start-up has
    // chosen one, or where the table lacks it, so the box falls back to its own.
    QString buttonLabel(MessageBoxService::Answer answer) const;
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

    // Vertical twips per pixel (WindowGeometry::twipsForDpi), read from the primary screen on
    // first use; 15 without one.
    int twipsPerPixel();
    void setTwipsPerPixel(int twips) { m_twipsPerPixel = twips; }
    // The Normal or Lock label of the recording list for this screen.
    QString kindLabel(bool lock);

    // The map page in the map panel's browser, as every window reaches it.
    MapPage& mapPage() { return m_mapPage; }

    // One instance per window class; see WindowRegistry.
    WindowRegistry& registry() { return m_registry; }
    template <class W>
    void registerWindow(std::function<std::unique_ptr<W>(Application&)> factory) {
        m_registry.add<W>(std::move(factory));
    }
    template <class T>
    T& window() {
        return m_registry.window<T>();
    }
    template <class T>
    bool isLoaded() const {
        return m_registry.isLoaded<T>();
    }
    template <class T>
    void unload() {
        m_registry.unload<T>();
    }

    void setStartupWindows(std::unique_ptr<StartupWindows> steps);
    // Null until the composition root provides the steps; start-up then skips them.
    StartupWindows* startupWindows() { return m_startupWindows.get(); }

  private:
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
    MapPage m_mapPage;
    std::unique_ptr<StartupWindows> m_startupWindows;
    // Last, so the windows go before the state they use.
    WindowRegistry m_registry{*this};
};
