#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "Bytes.h"

namespace makerec {

// One box of the movie, held in memory: either raw payload bytes or child boxes. Sizes are
// worked out when the box is written, so boxes can be edited and grown freely. Only the
// movie header side of a file lives here; media data is never loaded.
class Atom {
  public:
    // A box whose payload is kept as bytes.
    Atom(std::string_view type, Bytes payload);
    // A box made of child boxes.
    Atom(std::string_view type, std::vector<Atom> children);

    // A full box: version and flags, then the body.
    static Atom full(std::string_view type, uint8_t version, uint32_t flags, const Bytes& body);

    // Reads a run of boxes from memory, descending into the types named in containers.
    // Throws ToolError when a size does not fit: the input is ffmpeg's own output, so a
    // damaged box means something went badly wrong and no recording should be made from it.
    static std::vector<Atom> parse(const uint8_t* data, size_t size,
                                   std::initializer_list<std::string_view> containers);

    const std::string& type() const { return type_; }
    bool isContainer() const { return container_; }
    const Bytes& payload() const { return payload_; }
    Bytes& payload() { return payload_; }
    const std::vector<Atom>& children() const { return children_; }
    std::vector<Atom>& children() { return children_; }

    // The first child of that type, or nullptr.
    Atom* child(std::string_view type);
    const Atom* child(std::string_view type) const;
    // Follows a path of child types, e.g. {"mdia", "minf", "stbl"}; nullptr when absent.
    const Atom* find(std::initializer_list<std::string_view> path) const;
    Atom* find(std::initializer_list<std::string_view> path);

    uint64_t size() const;
    void writeTo(Bytes& out) const;
    Bytes bytes() const;

  private:
    std::string type_;
    bool container_;
    Bytes payload_;
    std::vector<Atom> children_;
};

}  // namespace makerec
