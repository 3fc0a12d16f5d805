#pragma once

#include <string>
#include <vector>

// The extraction tool: extracts one recording's samples through the GPS library, repairs
// positions and times and writes the track document. It prints nothing; the exit status is
// 0 when the document was written and -1 otherwise.
class ParseTool {
  public:
    // args[0] is the program's own path, the rest the recording's path as the viewer passes
    // it: unquoted, so a path with blanks arrives in pieces.
    static int run(const std::vector<std::string>& args);

    // The pieces joined with one blank between each two.
    static std::string joinArguments(const std::vector<std::string>& args);
};
