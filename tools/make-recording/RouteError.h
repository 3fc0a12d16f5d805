#pragma once

#include <string>

#include "ToolError.h"

namespace makerec {

// A route description the tool cannot use. Carries the line so that whoever wrote the route
// can go straight to it; line 0 means the fault is not on one line (e.g. no seconds at all).
class RouteError : public ToolError {
  public:
    RouteError(const std::string& source, int line, const std::string& what)
        : ToolError(line > 0 ? source + ":" + std::to_string(line) + ": " + what
                             : source + ": " + what),
          line_(line) {}

    int line() const { return line_; }

  private:
    int line_;
};

}  // namespace makerec
