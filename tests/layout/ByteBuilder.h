#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Spells out expected stream bytes in tests.
class ByteBuilder {
public:
    ByteBuilder& i32(std::int64_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int s = 0; s < 32; s += 8)
            bytes.push_back(static_cast<std::uint8_t>(u >> s));
        return *this;
    }
    ByteBuilder& u8(std::uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    ByteBuilder& str(std::u16string_view text) {
        i32(static_cast<std::int64_t>(text.size()));
        for (char16_t c : text) {
            bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        return *this;
    }
    ByteBuilder& ansi(std::string_view text) {
        i32(static_cast<std::int64_t>(text.size()));
        raw(text);
        return *this;
    }
    ByteBuilder& raw(std::string_view text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    ByteBuilder& fill(std::size_t n, std::uint8_t v = 0) {
        bytes.insert(bytes.end(), n, v);
        return *this;
    }
    ByteBuilder& face(std::int32_t kind = 0, std::int32_t value = 0) {
        return i32(3).i32(kind).i32(value).i32(0).i32(0).i32(0).i32(2).i32(0);
    }
    ByteBuilder& object(std::int32_t kind, std::int32_t left, std::int32_t top, std::int32_t w, std::int32_t h) {
        return i32(1).i32(kind).i32(0).i32(left).i32(top).i32(w).i32(h);
    }
    ByteBuilder& append(const std::vector<std::uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    std::vector<std::uint8_t> bytes;
};
