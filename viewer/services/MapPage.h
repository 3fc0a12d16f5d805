#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class MapBrowser;

// The map page as every window reaches it: the map-ready flag, the page's three functions and
// its click variable, around the browser the map panel makes. Nothing is sent while the page
// is not ready, and nothing is queued: a call made then is simply dropped, as is a call whose
// text is not of the form the page expects.
class MapPage {
  public:
    static constexpr int kLoading = 0;
    static constexpr int kReady = 1;

    using ReadyHandler = std::function<void(int flag)>;
    // The click read from the page: nothing when the page has no such variable.
    using ClickHandler = std::function<void(std::optional<QString> click)>;

    // The map panel's browser, for as long as it lives; nullptr once it has gone.
    void attach(MapBrowser* browser);
    MapBrowser* browser() const { return m_browser; }

    // kLoading while the page loads (and without a browser), kReady once it has loaded.
    int readyFlag() const;
    void setReadyFlag(int flag);
    bool isReady() const { return readyFlag() == kReady; }
    // Told of every change of the flag.
    void addReadyHandler(ReadyHandler handler);

    // A recording's serial as the page knows it: at least three digits, "007".
    static QString serialText(int serial);

    // Each returns whether the call was sent.
    // A batch of a route: an optional "000"-style serial, then "lon!lat|" points; or "Over".
    bool getContentHis(const QString& batch);
    // Takes the route of a recording off the map: its serial formatted "000".
    bool clearHistroy(const QString& serial);
    // Puts the car at a point: "lon|lat|index|heading".
    bool MoveCar(const QString& position);

    // Reads the page's last route click ("(lat, lon)") and, when it holds more than two
    // characters, empties it for the next one before the handler sees it. False when the
    // page is not ready; the handler is then not called.
    bool pollClick(ClickHandler handler);

    static bool isRouteBatch(const QString& text);
    static bool isSerial(const QString& text);
    // A longitude or latitude as the track document writes it: a plain decimal number.
    static bool isCoordinate(const QString& text);
    static bool isCarPosition(const QString& text);

    static const QString kClickVariable;
    // Where the poll leaves the click it took.
    static const QString kTakenClickVariable;

  private:
    bool send(const QString& function, const QString& argument);

    MapBrowser* m_browser = nullptr;
    std::vector<ReadyHandler> m_readyHandlers;
};
