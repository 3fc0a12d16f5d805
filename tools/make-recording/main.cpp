#include <iostream>
#include <string>
#include <vector>

#include "Options.h"
#include "RecordingMaker.h"

int main(int argc, char** argv) {
    try {
        const makerec::Options options =
            makerec::Options::parse(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::cout << makerec::Options::usage();
            return 0;
        }
        makerec::RecordingMaker(options).make();
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "make-recording: " << e.what() << '\n';
        return 1;
    }
}
