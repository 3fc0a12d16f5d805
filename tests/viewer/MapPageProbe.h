#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "platform/MapWebSetup.h"
#include "platform/QtMapBrowser.h"

class MapWebProfile;

// A map browser in a shown window of its own, in a web profile of its own, for tests of what
// the web engine really does with our page.
class MapPageProbe {
  public:
    explicit MapPageProbe(std::shared_ptr<MapWebProfile> profile);

    // A profile serving the build's program folder unless the setup names another, with its
    // cache below the test's cache folder: one of its own, or the one of an earlier profile
    // of that name.
    static std::shared_ptr<MapWebProfile> makeProfile(MapWebSetup setup = {},
                                                      QString name = QString());
    // The map page's address as the viewer makes it.
    static QString pageAddress();

    // Whether the page loaded.
    bool load(const QString& address);
    // The expression's value as text; "error: …" when it throws, nothing when the page did
    // not answer.
    std::optional<QString> evaluate(const QString& expression);
    // Clicks the page dx, dy pixels from where the position lies, as a mouse click would, and
    // returns varLocal then.
    std::optional<QString> clickNear(double lat, double lon, double dx, double dy);

    QtMapBrowser& browser() { return m_browser; }
    QWidget& window() { return m_window; }

    // Runs the event loop until done() holds. The limit only keeps a broken web engine from
    // hanging the suite; nothing here depends on how fast the page is.
    static bool waitUntil(const std::function<bool()>& done);

  private:
    QWidget m_window;
    QtMapBrowser m_browser;
};
