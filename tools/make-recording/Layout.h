#pragma once

#include <memory>
#include <string>

#include "Embedding.h"

namespace makerec {

class Options;
class Route;

// One way cameras embed GPS and G-sensor samples in their recordings.
class Layout {
  public:
    virtual ~Layout() = default;

    // The boxes, payload and tracks that carry this route in this layout.
    virtual Embedding embed(const Route& route) const = 0;

    // The layout --layout names; throws ToolError for a name it does not know.
    static std::unique_ptr<Layout> create(const Options& options);
    static bool known(const std::string& name);
    // One of the layouts of 'freeGPS ' blocks in the media data.
    static bool isNovatek(const std::string& name);
    static std::string nameList();
};

}  // namespace makerec
