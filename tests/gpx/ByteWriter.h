#pragma once

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

// Builds byte strings for hand-made test files.
class ByteWriter {
  public:
    ByteWriter& u8(uint8_t v) {
        data_.push_back(v);
        return *this;
    }
    ByteWriter& be16(uint16_t v) { return u8(uint8_t(v >> 8)).u8(uint8_t(v)); }
    ByteWriter& be32(uint32_t v) { return be16(uint16_t(v >> 16)).be16(uint16_t(v)); }
    ByteWriter& be64(uint64_t v) { return be32(uint32_t(v >> 32)).be32(uint32_t(v)); }
    ByteWriter& le16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
    ByteWriter& le32(uint32_t v) { return le16(uint16_t(v)).le16(uint16_t(v >> 16)); }
    ByteWriter& le32f(float v) { return le32(std::bit_cast<uint32_t>(v)); }
    ByteWriter& text(std::string_view s) {
        data_.insert(data_.end(), s.begin(), s.end());
        return *this;
    }
    ByteWriter& bytes(const std::vector<uint8_t>& b) {
        data_.insert(data_.end(), b.begin(), b.end());
        return *this;
    }
    ByteWriter& zeros(size_t n) {
        data_.insert(data_.end(), n, 0);
        return *this;
    }
    // Pads with zeros up to an absolute size.
    ByteWriter& padTo(size_t n) {
        if (data_.size() < n) {
            data_.resize(n, 0);
        }
        return *this;
    }
    void patchLe32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            data_[at + size_t(i)] = uint8_t(v >> (8 * i));
        }
    }

    size_t size() const { return data_.size(); }
    const std::vector<uint8_t>& data() const { return data_; }
    std::vector<uint8_t> take() { return std::move(data_); }

    // A box: 32-bit size, type, payload.
    static std::vector<uint8_t> box(std::string_view type, const std::vector<uint8_t>& payload) {
        ByteWriter w;
        w.be32(uint32_t(8 + payload.size())).text(type).bytes(payload);
        return w.take();
    }
    // A full box: version and flags before the payload.
    static std::vector<uint8_t> fullBox(std::string_view type, uint8_t version,
                                        const std::vector<uint8_t>& payload) {
        ByteWriter w;
        w.u8(version).u8(0).u8(0).u8(0).bytes(payload);
        return box(type, w.data());
    }
    static std::vector<uint8_t> concat(std::initializer_list<std::vector<uint8_t>> parts) {
        std::vector<uint8_t> out;
        for (const auto& p : parts) {
            out.insert(out.end(), p.begin(), p.end());
        }
        return out;
    }

  private:
    std::vector<uint8_t> data_;
};
