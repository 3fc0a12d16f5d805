#pragma once

#include <functional>
#include <optional>

class QString;
class QWidget;

// The web view that shows our map page. Scripts run without returning anything; page
// values come back later through a callback, as the web engine delivers them.
class MapBrowser {
  public:
    using LoadFinishedHandler = std::function<void(bool ok)>;
    // The value as text, or nothing when the page has no such variable.
    using ValueHandler = std::function<void(std::optional<QString> value)>;

    virtual ~MapBrowser();

    virtual void load(const QString& address) = 0;
    // Where the page takes its map tiles from ("…/{z}/{x}/{y}.png"; empty for the default).
    virtual void setTileAddress(const QString& address) = 0;
    virtual void setLoadFinishedHandler(LoadFinishedHandler handler) = 0;

    // 0 while the page loads, 1 once it has loaded; every script call into the page is made
    // only when it is 1. The map panel keeps it, the browser only stores it.
    virtual int readyFlag() const = 0;
    virtual void setReadyFlag(int flag) = 0;

    virtual void runScript(const QString& code) = 0;

    // name must be a plain script identifier; anything else is answered with nothing.
    virtual void readPageValue(const QString& name, ValueHandler handler) = 0;
    virtual void writePageValue(const QString& name, const QString& value) = 0;

    // The view itself; nullptr for browsers without one.
    virtual QWidget* widget() = 0;

    static bool isIdentifier(const QString& name);
    // A script string literal holding text exactly, whatever characters it contains.
    static QString scriptStringLiteral(const QString& text);
};
