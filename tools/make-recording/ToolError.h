#pragma once

#include <stdexcept>
#include <string>

namespace makerec {

// Every failure the tool reports: the message is the one line printed on stderr.
class ToolError : public std::runtime_error {
  public:
    explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace makerec
