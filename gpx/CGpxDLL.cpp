#include "CGpxDLL.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <string>

#include "Extractor.h"

CGpxDLL::~CGpxDLL() {
    for (GPX_DATA* data : live_) {
        release(data);
    }
}

GPX_DATA* CGpxDLL::GpxDataExtract(const char* path) {
    if (path == nullptr) {
        throw static_cast<int>(EINVAL);
    }
    try {
        gpx::Extractor::Result result = gpx::Extractor::extract(std::string(path));
        switch (result.outcome) {
            case gpx::Extractor::Outcome::Unreadable:
                throw result.error;
            case gpx::Extractor::Outcome::NotAMovie:
                return nullptr;
            case gpx::Extractor::Outcome::Extracted:
                break;
        }
        auto* data = new GPX_DATA{};
        data->dDuration = result.duration;
        data->nCount = static_cast<int>(result.samples.size());
        if (!result.samples.empty()) {
            data->pSamples = new (std::nothrow) GPX_SAMPLE[result.samples.size()];
            if (data->pSamples == nullptr) {
                delete data;
                throw static_cast<int>(ENOMEM);
            }
            std::copy(result.samples.begin(), result.samples.end(), data->pSamples);
        }
        live_.insert(data);
        return data;
    } catch (const std::bad_alloc&) {
        throw static_cast<int>(ENOMEM);
    }
}

void CGpxDLL::GpxDataDelete(GPX_DATA* data) {
    if (live_.erase(data) != 0) {
        release(data);
    }
}

void CGpxDLL::release(GPX_DATA* data) {
    delete[] data->pSamples;
    delete data;
}
