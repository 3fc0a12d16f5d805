#pragma once

#include <map>
#include <memory>
#include <vector>

#include "GpxData.h"

// The GPS library's interface: extracts the GPS and G-sensor samples of one recording as
// one record per second.
class CGpxDLL {
  public:
    CGpxDLL();
    ~CGpxDLL();
    CGpxDLL(const CGpxDLL&) = delete;
    CGpxDLL& operator=(const CGpxDLL&) = delete;

    // The samples of the recording at path, or null when the file is not an MP4 or QuickTime
    // movie. A movie without any GPS gives a record with no samples. A file that cannot be
    // read at all (missing, a folder, a pipe, no permission) throws its errno as an int.
    GPX_DATA* GpxDataExtract(const char* path);

    // Releases a record this object returned; anything else is ignored.
    void GpxDataDelete(GPX_DATA* data);

  private:
    // A record and the samples it points into, kept together until it is released.
    struct Owned {
        GPX_DATA data{};
        std::vector<GPX_SAMPLE> samples;
    };
    std::map<GPX_DATA*, std::unique_ptr<Owned>> live_;
};
