#pragma once

#include <QRect>
#include <QSize>

// The sizes the viewer's windows are laid out for, in pixels, and the arithmetic that places
// them. Pure functions: no screen is asked here.
class WindowGeometry {
  public:
    // The frame's whole size includes the title strip its skin draws.
    static constexpr QSize kFrameSize{1024, 708};
    static constexpr QSize kSplashSize{1024, 708};
    static constexpr QSize kAboutSize{600, 400};
    static constexpr QSize kSettingsSize{800, 480};
    // Height of the frame's title strip and button row, above the client area and the band.
    static constexpr int kFrameTop = 60;

    // Band extents across their docking edge: the map panel at the frame's right, the list
    // at the bottom of the map panel, the control bar at the bottom of the video window.
    static constexpr int kControlBandExtent = 248;
    static constexpr int kMyListExtent = 370;
    static constexpr int kMediaControlExtent = 209;

    // The band of extent pixels along one edge of container, and the client area beside it.
    static QRect dockedBand(const QRect& container, Qt::Edge edge, int extent);
    static QRect besideBand(const QRect& container, Qt::Edge edge, int extent);

    // size centred in area; with clampTopLeft a window larger than the area starts at its
    // top-left corner instead of beyond it. Odd leftovers are halved to the even pixel.
    static QRect centredIn(const QRect& area, QSize size, bool clampTopLeft);
    static int halfToEven(int value);

    // Where the splash lies on a screen of that geometry, and with it the frame, which opens
    // exactly over the splash: centred, never beyond the screen's top-left corner.
    static QRect splashPlacement(const QRect& screen);

    // Vertical twips per pixel: 12 on screens of 108 dots per inch or more, else 15.
    static int twipsForDpi(double logicalDpi);
};
