#pragma once

#include "Layout.h"

namespace makerec {

// A recording with no GPS at all, as from a camera without a receiver.
class PlainLayout : public Layout {
  public:
    Embedding embed(const Route&) const override { return {}; }
};

}  // namespace makerec
