#include "ParseTool.h"

#include "CGpxDLL.h"
#include "ScratchFolder.h"
#include "TrackDocumentWriter.h"
#include "TrackRepair.h"

std::string ParseTool::joinArguments(const std::vector<std::string>& args) {
    std::string joined;
    for (size_t i = 1; i < args.size(); ++i) {
        if (i > 1) {
            joined += ' ';
        }
        joined += args[i];
    }
    return joined;
}

int ParseTool::run(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        return -1;
    }
    const std::string input = joinArguments(args);
    const std::string output = ScratchFolder::documentPathFor(args[0]);

    CGpxDLL library;
    GPX_DATA* data = nullptr;
    try {
        data = library.GpxDataExtract(input.c_str());
    } catch (int) {
        return -1;
    }
    if (data == nullptr) {
        return -1;
    }
    TrackRepair::repair(data->pSamples, data->nCount);
    bool written = TrackDocumentWriter::writeFile(output, *data);
    library.GpxDataDelete(data);
    return written ? 0 : -1;
}
