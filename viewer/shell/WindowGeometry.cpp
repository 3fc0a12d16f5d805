#include "shell/WindowGeometry.h"

#include <algorithm>

QRect WindowGeometry::dockedBand(const QRect& container, Qt::Edge edge, int extent) {
    switch (edge) {
        case Qt::LeftEdge:
            return {container.left(), container.top(), std::min(extent, container.width()),
                    container.height()};
        case Qt::RightEdge: {
            const int width = std::min(extent, container.width());
            return {container.right() + 1 - width, container.top(), width, container.height()};
        }
        case Qt::TopEdge:
            return {container.left(), container.top(), container.width(),
                    std::min(extent, container.height())};
        case Qt::BottomEdge: {
            const int height = std::min(extent, container.height());
            return {container.left(), container.bottom() + 1 - height, container.width(), height};
        }
    }
    return {};
}

QRect WindowGeometry::besideBand(const QRect& container, Qt::Edge edge, int extent) {
    const QRect band = dockedBand(container, edge, extent);
    switch (edge) {
        case Qt::LeftEdge:
            return container.adjusted(band.width(), 0, 0, 0);
        case Qt::RightEdge:
            return container.adjusted(0, 0, -band.width(), 0);
        case Qt::TopEdge:
            return container.adjusted(0, band.height(), 0, 0);
        case Qt::BottomEdge:
            return container.adjusted(0, 0, 0, -band.height());
    }
    return container;
}

int WindowGeometry::halfToEven(int value) {
    const int half = value / 2;
    const int rest = value % 2;
    if (rest == 0 || half % 2 == 0) {
        return half;
    }
    return half + rest;
}

QRect WindowGeometry::centredIn(const QRect& area, QSize size, bool clampTopLeft) {
    int freeX = area.width() - size.width();
    int freeY = area.height() - size.height();
    if (clampTopLeft) {
        freeX = std::max(freeX, 0);
        freeY = std::max(freeY, 0);
    }
    return {QPoint(area.left() + halfToEven(freeX), area.top() + halfToEven(freeY)), size};
}

QRect WindowGeometry::splashPlacement(const QRect& screen) {
    return centredIn(screen, kSplashSize, true);
}

int WindowGeometry::twipsForDpi(double logicalDpi) {
    return logicalDpi >= 108.0 ? 12 : 15;
}
