#include "Gpmf.h"

#include "ToolError.h"

namespace makerec {

void Gpmf::item(std::string_view key, char type, size_t structSize, size_t repeat,
                const Bytes& payload) {
    if (structSize > 0xFF || repeat > 0xFFFF) {
        throw ToolError("GPMF item " + std::string(key) + " is too large");
    }
    bytes_.fourcc(key);
    bytes_.u8(static_cast<uint8_t>(type));
    bytes_.u8(static_cast<uint8_t>(structSize));
    bytes_.u16be(static_cast<uint16_t>(repeat));
    bytes_.append(payload);
    bytes_.zeros((4 - payload.size() % 4) % 4);
}

void Gpmf::text(std::string_view key, std::string_view value) {
    Bytes payload;
    payload.text(value);
    item(key, 'c', 1, value.size(), payload);
}

void Gpmf::utcTime(std::string_view key, std::string_view yymmddhhmmss) {
    Bytes payload;
    payload.text(yymmddhhmmss);
    item(key, 'U', yymmddhhmmss.size(), 1, payload);
}

void Gpmf::u32(std::string_view key, uint32_t value) {
    Bytes payload;
    payload.u32be(value);
    item(key, 'L', 4, 1, payload);
}

void Gpmf::u16(std::string_view key, uint16_t value) {
    Bytes payload;
    payload.u16be(value);
    item(key, 'S', 2, 1, payload);
}

void Gpmf::i16(std::string_view key, int16_t value) {
    Bytes payload;
    payload.i16be(value);
    item(key, 's', 2, 1, payload);
}

void Gpmf::i32s(std::string_view key, const std::vector<int32_t>& values, size_t perEntry) {
    Bytes payload;
    for (int32_t v : values) {
        payload.i32be(v);
    }
    item(key, 'l', 4 * perEntry, values.size() / perEntry, payload);
}

void Gpmf::i16s(std::string_view key, const std::vector<int16_t>& values, size_t perEntry) {
    Bytes payload;
    for (int16_t v : values) {
        payload.i16be(v);
    }
    item(key, 's', 2 * perEntry, values.size() / perEntry, payload);
}

void Gpmf::nest(std::string_view key, const Gpmf& inner) {
    item(key, '\0', 1, inner.bytes().size(), inner.bytes());
}

}  // namespace makerec
