#include "RecordingMaker.h"

#include "Encoder.h"
#include "Layout.h"
#include "OutputFile.h"
#include "RecordingWriter.h"
#include "Route.h"
#include "RouteSynthesizer.h"
#include "ScratchDirectory.h"
#include "SourceMovie.h"

namespace makerec {

Route RecordingMaker::route() const {
    if (options_.synthSeconds) {
        return RouteSynthesizer().make(*options_.synthSeconds,
                                       options_.start.value_or(RouteSynthesizer::defaultStart()));
    }
    return Route::load(options_.routePath);
}

void RecordingMaker::make() const {
    const Route drive = route();
    // The layout is checked before ffmpeg runs, so a bad option fails at once.
    const Embedding embedding = Layout::create(options_)->embed(drive);

    const bool longRoute = drive.length() > Encoder::kLongRoute;
    const Encoder encoder(options_.width.value_or(longRoute ? 160 : 320),
                          options_.height.value_or(longRoute ? 90 : 180),
                          options_.fps.value_or(longRoute ? 1 : 25), drive.length(),
                          options_.audio);
    const ScratchDirectory scratch;
    const std::string movie = scratch.file("ffmpeg.mp4");
    encoder.run(movie, scratch.file("ffmpeg.log"));

    const SourceMovie source(movie);
    RecordingWriter(source, embedding, drive, options_).write(options_.out);

    if (!options_.writeRoute.empty()) {
        OutputFile file(options_.writeRoute);
        const std::string text = drive.format();
        file.write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        file.commit();
    }
}

}  // namespace makerec
