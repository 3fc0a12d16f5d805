#include "platform/QtUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool QtUrlOpener::open(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address);
    return url.isValid() && QDesktopServices::openUrl(url);
}
