#pragma once

#include <utility>

#include "Options.h"

namespace makerec {

class Route;

// Makes one recording as the command line asks: the route, the picture and sound from
// ffmpeg, the layout's GPS and G-sensor data, and the finished file.
class RecordingMaker {
  public:
    explicit RecordingMaker(Options options) : options_(std::move(options)) {}

    // Throws ToolError (or RouteError) with a one-line reason.
    void make() const;

  private:
    Route route() const;

    Options options_;
};

}  // namespace makerec
