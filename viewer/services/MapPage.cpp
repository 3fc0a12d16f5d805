#include "services/MapPage.h"

#include <QRegularExpression>

#include "platform/MapBrowser.h"

const QString MapPage::kClickVariable = QStringLiteral("varLocal");
const QString MapPage::kTakenClickVariable = QStringLiteral("harvdvrClick");

namespace {

// A coordinate as the track document writes it: an optional minus, digits, decimals.
const QString kNumber = QStringLiteral(R"(-?\d{1,3}(?:\.\d+)?)");

bool matchesWhole(const QRegularExpression& pattern, const QString& text) {
    return pattern.match(text).hasMatch();
}

}  // namespace

void MapPage::attach(MapBrowser* browser) {
    m_browser = browser;
}

int MapPage::readyFlag() const {
    return m_browser != nullptr ? m_browser->readyFlag() : kLoading;
}

void MapPage::setReadyFlag(int flag) {
    if (m_browser == nullptr) {
        return;
    }
    m_browser->setReadyFlag(flag);
    for (const ReadyHandler& handler : m_readyHandlers) {
        handler(flag);
    }
}

void MapPage::addReadyHandler(ReadyHandler handler) {
    m_readyHandlers.push_back(std::move(handler));
}

bool MapPage::isRouteBatch(const QString& text) {
    static const QRegularExpression batch(
        QStringLiteral(R"(\A(?:\d{3,})?(?:%1!%1\|)*\z)").arg(kNumber));
    return text == QStringLiteral("Over") || matchesWhole(batch, text);
}

QString MapPage::serialText(int serial) {
    return QStringLiteral("%1").arg(serial, 3, 10, QLatin1Char('0'));
}

bool MapPage::isCoordinate(const QString& text) {
    static const QRegularExpression number(QStringLiteral(R"(\A%1\z)").arg(kNumber));
    return matchesWhole(number, text);
}

bool MapPage::isSerial(const QString& text) {
    static const QRegularExpression serial(QStringLiteral(R"(\A\d{3,}\z)"));
    return matchesWhole(serial, text);
}

bool MapPage::isCarPosition(const QString& text) {
    static const QRegularExpression position(
        QStringLiteral(R"(\A%1\|%1\|\d+\|-?\d+\z)").arg(kNumber));
    return matchesWhole(position, text);
}

bool MapPage::getContentHis(const QString& batch) {
    return isRouteBatch(batch) && send(QStringLiteral("getContentHis"), batch);
}

bool MapPage::clearHistroy(const QString& serial) {
    return isSerial(serial) && send(QStringLiteral("clearHistroy"), serial);
}

bool MapPage::MoveCar(const QString& position) {
    return isCarPosition(position) && send(QStringLiteral("MoveCar"), position);
}

bool MapPage::send(const QString& function, const QString& argument) {
    if (!isReady()) {
        return false;
    }
    // The checked argument holds no quote or backslash, so it goes into the quotes as it is.
    m_browser->runScript(function + QStringLiteral("('") + argument + QStringLiteral("')"));
    return true;
}

bool MapPage::pollClick(ClickHandler handler) {
    if (!isReady()) {
        return false;
    }
    // Read and emptied in one script, so a click landing in between is never lost; the answer
    // comes back through a page variable of the viewer's own.
    m_browser->runScript(QStringLiteral("window.%1 = (function () {"
                                        " if (typeof %2 === 'undefined' || %2 === null) {"
                                        " return null; }"
                                        " var click = String(%2);"
                                        " if (click.length > 2) { %2 = ''; }"
                                        " return click; })();")
                             .arg(kTakenClickVariable, kClickVariable));
    m_browser->readPageValue(kTakenClickVariable, std::move(handler));
    return true;
}
