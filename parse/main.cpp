#include <string>
#include <vector>

#include "ParseTool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    try {
        return ParseTool::run(args);
    } catch (...) {
        return -1;  // the tool reports only through its exit status
    }
}
