#include "platform/QtWaitService.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

void QtWaitService::sleep(int milliseconds) {
    if (QCoreApplication::instance() == nullptr) {
        if (milliseconds > 0) {
            QThread::msleep(static_cast<unsigned long>(milliseconds));
        }
        return;
    }
    if (milliseconds <= 0) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    // A blocked window thread would starve the video widget of frames and stall the map
    // page; a local loop keeps them going while clicks and keys wait for the step to end.
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void QtWaitService::processPendingEvents() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::processEvents();
    }
}
