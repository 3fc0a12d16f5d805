#include "RecordingWriter.h"

#include <limits>
#include <optional>

#include "Embedding.h"
#include "MoovBuilder.h"
#include "Options.h"
#include "OutputFile.h"
#include "SourceMovie.h"

namespace makerec {

namespace {

constexpr uint64_t kMax32 = std::numeric_limits<uint32_t>::max();

}  // namespace

RecordingWriter::RecordingWriter(const SourceMovie& source, const Embedding& embedding,
                                 const Route& route, const Options& options)
    : source_(source), embedding_(embedding), route_(route), options_(options) {}

void RecordingWriter::write(const std::string& path) const {
    const MoovBuilder builder(source_.moov(), route_, embedding_);
    const bool withMoov = !options_.truncate;

    uint64_t topSize = 0;
    for (const Atom& box : embedding_.topLevel) {
        topSize += box.size();
    }
    const uint64_t mdatBody = source_.mediaSize() + options_.pad + embedding_.payload.size();
    // A media data box past 4 GiB has no choice but the 64-bit size.
    const bool largeMdat = !options_.truncate && (options_.largeMdat || mdatBody + 8 > kMax32);
    const uint64_t mdatHeader = largeMdat ? 16 : 8;

    // The moov's size depends on co64 alone, and with moov first the offsets depend on the
    // moov's size; so settle co64 first, then place everything.
    bool co64 = options_.co64;
    uint64_t mediaStart = 0;
    uint64_t payloadBase = 0;
    while (true) {
        const uint64_t moovSize = withMoov ? builder.build(0, 0, co64).size() : 0;
        const uint64_t mdatStart =
            source_.ftyp().size() + topSize + (options_.moovFirst ? moovSize : 0);
        mediaStart = mdatStart + mdatHeader;
        payloadBase = mediaStart + source_.mediaSize() + (options_.padAfter ? 0 : options_.pad);
        const int64_t shift =
            static_cast<int64_t>(mediaStart) - static_cast<int64_t>(source_.mediaOffset());
        if (co64 || builder.largestChunkOffset(shift, payloadBase) <= kMax32) {
            break;
        }
        co64 = true;
    }
    const int64_t shift =
        static_cast<int64_t>(mediaStart) - static_cast<int64_t>(source_.mediaOffset());
    std::optional<Atom> moov;
    if (withMoov) {
        moov = builder.build(shift, payloadBase, co64);
    }

    OutputFile out(path);
    out.write(source_.ftyp());
    for (const Atom& box : embedding_.topLevel) {
        out.write(box.bytes());
    }
    if (moov && options_.moovFirst) {
        out.write(moov->bytes());
    }
    Bytes header;
    if (options_.truncate) {
        header.u32be(0);  // still being written when the power went
        header.fourcc("mdat");
    } else if (largeMdat) {
        header.u32be(1);
        header.fourcc("mdat");
        header.u64be(mdatHeader + mdatBody);
    } else {
        header.u32be(static_cast<uint32_t>(mdatHeader + mdatBody));
        header.fourcc("mdat");
    }
    out.write(header);
    out.copyFrom(source_.path(), source_.mediaOffset(), source_.mediaSize());
    if (!options_.padAfter) {
        out.skip(options_.pad);
    }
    out.write(embedding_.payload);
    if (options_.padAfter) {
        out.skip(options_.pad);
    }
    if (moov && !options_.moovFirst) {
        out.write(moov->bytes());
    }
    out.commit(options_.cutAt);
}

}  // namespace makerec
