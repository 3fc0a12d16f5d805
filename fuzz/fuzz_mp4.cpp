// Any byte string as a recording: the extractor must never crash, hang or leak on it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Extractor.h"
#include "MediaFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gpx::MediaFile file;
    file.openMemory(std::vector<uint8_t>(data, data + size));
    gpx::Extractor::extract(file);
    return 0;
}
