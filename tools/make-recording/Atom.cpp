#include "Atom.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "ToolError.h"

namespace makerec {

Atom::Atom(std::string_view type, Bytes payload)
    : type_(type), container_(false), payload_(std::move(payload)) {}

Atom::Atom(std::string_view type, std::vector<Atom> children)
    : type_(type), container_(true), children_(std::move(children)) {}

Atom Atom::full(std::string_view type, uint8_t version, uint32_t flags, const Bytes& body) {
    Bytes payload;
    payload.u32be((uint32_t{version} << 24) | (flags & 0xFFFFFF));
    payload.append(body);
    return Atom(type, std::move(payload));
}

std::vector<Atom> Atom::parse(const uint8_t* data, size_t size,
                              std::initializer_list<std::string_view> containers) {
    std::vector<Atom> atoms;
    size_t pos = 0;
    while (pos < size) {
        if (size - pos < 8) {
            throw ToolError("ffmpeg wrote a box header cut short");
        }
        uint64_t boxSize = Bytes::loadU32be(data + pos);
        size_t header = 8;
        if (boxSize == 1) {
            if (size - pos < 16) {
                throw ToolError("ffmpeg wrote a box header cut short");
            }
            boxSize = Bytes::loadU64be(data + pos + 8);
            header = 16;
        } else if (boxSize == 0) {
            boxSize = size - pos;
        }
        if (boxSize < header || boxSize > size - pos) {
            throw ToolError("ffmpeg wrote a box whose size does not fit");
        }
        std::string_view type(reinterpret_cast<const char*>(data + pos + 4), 4);
        const uint8_t* body = data + pos + header;
        const size_t bodySize = static_cast<size_t>(boxSize) - header;
        if (std::find(containers.begin(), containers.end(), type) != containers.end()) {
            atoms.emplace_back(type, parse(body, bodySize, containers));
        } else {
            atoms.emplace_back(type, Bytes(body, bodySize));
        }
        pos += static_cast<size_t>(boxSize);
    }
    return atoms;
}

namespace {

// One walk for the const and non-const lookups.
template <typename Node>
Node* childOf(Node& node, std::string_view type) {
    for (auto& c : node.children()) {
        if (c.type() == type) {
            return &c;
        }
    }
    return nullptr;
}

template <typename Node>
Node* pathOf(Node& node, std::initializer_list<std::string_view> path) {
    Node* at = &node;
    for (std::string_view type : path) {
        at = childOf(*at, type);
        if (at == nullptr) {
            return nullptr;
        }
    }
    return at;
}

}  // namespace

Atom* Atom::child(std::string_view type) {
    return childOf(*this, type);
}

const Atom* Atom::child(std::string_view type) const {
    return childOf(*this, type);
}

Atom* Atom::find(std::initializer_list<std::string_view> path) {
    return pathOf(*this, path);
}

const Atom* Atom::find(std::initializer_list<std::string_view> path) const {
    return pathOf(*this, path);
}

uint64_t Atom::size() const {
    uint64_t total = 8;
    if (container_) {
        for (const Atom& c : children_) {
            total += c.size();
        }
    } else {
        total += payload_.size();
    }
    return total;
}

void Atom::writeTo(Bytes& out) const {
    const uint64_t total = size();
    // Boxes we build stay far below 4 GiB; only mdat, written elsewhere, can grow beyond.
    if (total > std::numeric_limits<uint32_t>::max()) {
        throw ToolError("box '" + type_ + "' would exceed 4 GiB");
    }
    out.u32be(static_cast<uint32_t>(total));
    out.fourcc(type_);
    if (container_) {
        for (const Atom& c : children_) {
            c.writeTo(out);
        }
    } else {
        out.append(payload_);
    }
}

Bytes Atom::bytes() const {
    Bytes out;
    writeTo(out);
    return out;
}

}  // namespace makerec
