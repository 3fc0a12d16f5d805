#include "CGpxDLL.h"

#include <cerrno>
#include <new>
#include <string>

#include "Extractor.h"

CGpxDLL::CGpxDLL() = default;
CGpxDLL::~CGpxDLL() = default;

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
        auto owned = std::make_unique<Owned>();
        owned->samples = std::move(result.samples);
        owned->data.dDuration = result.duration;
        owned->data.nCount = static_cast<int>(owned->samples.size());
        owned->data.pSamples = owned->samples.empty() ? nullptr : owned->samples.data();
        GPX_DATA* data = &owned->data;
        live_.emplace(data, std::move(owned));
        return data;
    } catch (const std::bad_alloc&) {
        throw static_cast<int>(ENOMEM);
    }
}

void CGpxDLL::GpxDataDelete(GPX_DATA* data) {
    live_.erase(data);
}
