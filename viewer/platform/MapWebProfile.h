#pragma once

#include <QByteArray>
#include <QString>
#include <QWebEngineProfile>
#include <memory>

#include "platform/MapWebSetup.h"

class MapSchemeHandler;
class MapTileInterceptor;

// The web engine profile the map page lives in: a named one, so map tiles stay in a disk cache
// between runs, with our page scheme and the tile requests' identity installed. Make it before
// the view that uses it, and let it go only after that view.
class MapWebProfile : public QWebEngineProfile {
  public:
    static const QString kDefaultTileAddress;

    MapWebProfile(const QString& storageName, const QString& cacheFolder,
                  QObject* parent = nullptr);

    // Takes effect for pages loaded from then on.
    void apply(const MapWebSetup& setup);
    const MapWebSetup& setup() const { return m_setup; }

    // The profile of the program's map browsers: made with the first of them, gone with the
    // last, set up by configureShared whenever it is made.
    static std::shared_ptr<MapWebProfile> shared();
    static void configureShared(const MapWebSetup& setup);
    bool isShared() const { return m_shared; }

    // $XDG_CACHE_HOME/harventis-dvr-tools/web; ~/.cache/… when the variable is unset, empty or
    // not an absolute path.
    static QString defaultCacheFolder();
    static QString tileAddressOr(const QString& address);
    static QByteArray userAgent(const QString& contact);

  private:
    MapSchemeHandler* m_scheme;
    MapTileInterceptor* m_interceptor;
    MapWebSetup m_setup;
    bool m_shared = false;
};
