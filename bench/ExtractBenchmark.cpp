// How fast the GPS library reads long and huge recordings. With an index or a movie header
// the time must not grow with the size of the video data; the scan of a recording without
// its movie is measured in bytes a second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "Extractor.h"
#include "MediaFile.h"

namespace fs = std::filesystem;

namespace {

// Makes a recording once; later runs reuse it.
std::string recording(const std::string& name, const std::string& options) {
    fs::path dir = HARVENTIS_BENCH_DATA;
    fs::create_directories(dir);
    fs::path file = dir / name;
    if (!fs::exists(file)) {
        std::string cmd = std::string("'") + HARVENTIS_MAKE_RECORDING + "' " + options +
                          " --out '" + file.string() + "'";
        if (std::system(cmd.c_str()) != 0) {
            throw std::runtime_error("could not make " + file.string());
        }
    }
    return file.string();
}

void extract(benchmark::State& state, const std::string& path, bool countBytes) {
    size_t records = 0;
    uint64_t bytes = 0;
    for (auto _ : state) {
        gpx::MediaFile file;
        if (file.open(path) != 0) {
            state.SkipWithError("cannot open the recording");
            return;
        }
        auto r = gpx::Extractor::extract(file);
        records = r.samples.size();
        bytes += file.size();
        benchmark::DoNotOptimize(r.samples.data());
    }
    state.counters["records"] = double(records);
    if (countBytes) {
        state.SetBytesProcessed(int64_t(bytes));
    }
}

void BM_IndexedHour(benchmark::State& state) {
    extract(state, recording("hour-novatek.mp4", "--layout novatek --synth 3600"), false);
}
void BM_IndexedHourHuge(benchmark::State& state) {
    extract(state,
            recording("hour-novatek-4g.mp4", "--layout novatek --synth 3600 --pad 4G --pad-after"),
            false);
}
// Blocks of 32 KiB as cameras write them: each block's head is a read of its own.
void BM_IndexedHourCameraBlocks(benchmark::State& state) {
    extract(state,
            recording("hour-novatek-32k.mp4", "--layout novatek --synth 3600 --block-size 0x8000"),
            false);
}
void BM_IndexedHourCameraBlocksHuge(benchmark::State& state) {
    extract(state,
            recording("hour-novatek-32k-4g.mp4",
                      "--layout novatek --synth 3600 --block-size 0x8000 --pad 4G --pad-after"),
            false);
}
// The blocks past 4 GiB of media data, so every 32-bit offset of the index wrapped.
void BM_IndexedHourWrapped(benchmark::State& state) {
    extract(state,
            recording("hour-novatek-wrapped.mp4",
                      "--layout novatek --synth 3600 --block-size 0x8000 --pad 4G"),
            false);
}
void BM_TextTrackHour(benchmark::State& state) {
    extract(state, recording("hour-nmea.mp4", "--layout nmea-text --synth 3600"), false);
}
void BM_TextTrackHourHuge(benchmark::State& state) {
    extract(state, recording("hour-nmea-4g.mp4", "--layout nmea-text --synth 3600 --pad 4G --co64"),
            false);
}
void BM_ScanWithoutMovie(benchmark::State& state) {
    extract(state, recording("hour-novatek-cut.mp4", "--layout novatek --synth 3600 --truncate"),
            true);
}

}  // namespace

BENCHMARK(BM_IndexedHour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexedHourHuge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexedHourCameraBlocks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexedHourCameraBlocksHuge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexedHourWrapped)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextTrackHour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextTrackHourHuge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanWithoutMovie)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
