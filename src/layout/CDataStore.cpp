#include "CDataStore.h"

#include "AnsiCodePage.h"
#include "DecodeError.h"
#include "base/LittleEndian.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace {

constexpr std::int32_t kGrowthStep = 4096;

} // namespace

CDataStore::CDataStore(const std::uint8_t* source, std::int32_t length) {
    if (source != nullptr) {
        data = source;
        capacity = length < 0 ? 0 : length;
        storing = 0;
    }
}

CDataStore::CDataStore(std::span<const std::uint8_t> bytes)
    : data(bytes.data()), capacity(static_cast<std::int32_t>(
                              std::min<std::size_t>(bytes.size(), std::numeric_limits<std::int32_t>::max()))),
      storing(0) {}

CDataStore::~CDataStore() = default;

std::span<const std::uint8_t> CDataStore::Result() const {
    if (!IsStoring() || position == 0)
        return {};
    return {data, static_cast<std::size_t>(position)};
}

void CDataStore::Reserve(std::int32_t n) {
    if (!IsStoring() || n <= capacity)
        return;
    auto grown = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(n));
    if (position > 0)
        std::memcpy(grown.get(), owned.get(), static_cast<std::size_t>(position));
    owned = std::move(grown);
    data = owned.get();
    capacity = n;
}

void CDataStore::MakeRoom(std::int32_t n) {
    const std::int64_t needed = std::int64_t{position} + n;
    if (needed <= capacity)
        return;
    // The next multiple of the step strictly above what is needed.
    const std::int64_t grown = (needed / kGrowthStep + 1) * kGrowthStep;
    if (grown > std::numeric_limits<std::int32_t>::max())
        throw std::length_error("layout data too large to store");
    Reserve(static_cast<std::int32_t>(grown));
}

void CDataStore::WriteInt(std::int32_t value) {
    if (!IsStoring())
        return;
    std::uint8_t bytes[4];
    PutLittleEndian32(bytes, static_cast<std::uint32_t>(value));
    WriteBytes(bytes, 4);
}

void CDataStore::WriteByte(std::uint8_t value) {
    WriteBytes(&value, 1);
}

void CDataStore::WriteBytes(const void* source, std::int32_t n) {
    if (!IsStoring() || n <= 0)
        return;
    MakeRoom(n);
    std::memcpy(owned.get() + position, source, static_cast<std::size_t>(n));
    position += n;
}

void CDataStore::WriteString(const std::u16string& text) {
    if (!IsStoring())
        return;
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / 2))
        throw std::length_error("text too long to store");
    const auto n = static_cast<std::int32_t>(text.size());
    WriteInt(n);
    MakeRoom(2 * n);
    for (char16_t c : text) {
        PutLittleEndian16(owned.get() + position, c);
        position += 2;
    }
}

void CDataStore::Require(std::int64_t n, const char* what) const {
    if (n < 0)
        throw DecodeError(std::string("invalid ") + what + " length " + std::to_string(n) + " at offset " +
                          std::to_string(position));
    if (n > Remaining())
        throw DecodeError(std::string("data ends early: ") + what + " of " + std::to_string(n) + " bytes at offset " +
                          std::to_string(position) + ", " + std::to_string(Remaining()) + " left");
}

void CDataStore::ReadInt(std::int32_t& target) {
    if (IsStoring())
        return;
    Require(4, "number");
    const std::uint8_t* p = data + position;
    target = static_cast<std::int32_t>(GetLittleEndian32(p));
    position += 4;
}

std::int32_t CDataStore::ReadInt() {
    std::int32_t value = 0;
    ReadInt(value);
    return value;
}

void CDataStore::ReadByte(std::uint8_t& target) {
    if (IsStoring())
        return;
    Require(1, "byte");
    target = data[position];
    position += 1;
}

std::uint8_t CDataStore::ReadByte() {
    std::uint8_t value = 0;
    ReadByte(value);
    return value;
}

void CDataStore::ReadBytes(void* target, std::int32_t n) {
    if (IsStoring())
        return;
    Require(n, "block");
    if (n > 0)
        std::memcpy(target, data + position, static_cast<std::size_t>(n));
    position += n;
}

std::span<const std::uint8_t> CDataStore::ReadBlock(std::int32_t n) {
    if (IsStoring())
        return {};
    Require(n, "block");
    const std::uint8_t* start = data + position;
    position += n;
    return {start, static_cast<std::size_t>(n)};
}

void CDataStore::ReadString(std::u16string& text) {
    if (IsStoring())
        return;
    const std::int32_t start = position;
    const std::int32_t n = ReadInt();
    // The count is of UTF-16 code units; a refusal names it as stored, not doubled into bytes.
    if (n < 0 || std::int64_t{n} * 2 > Remaining()) {
        const std::string where = " at offset " + std::to_string(position);
        const std::string left = std::to_string(Remaining());
        position = start;
        if (n < 0)
            throw DecodeError("invalid text length " + std::to_string(n) + where);
        throw DecodeError("data ends early: text of " + std::to_string(n) + " characters (" +
                          std::to_string(std::int64_t{n} * 2) + " bytes)" + where + ", " + left + " left");
    }
    const std::uint8_t* p = data + position;
    std::u16string result;
    result.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        const auto c = static_cast<char16_t>(GetLittleEndian16(p + 2 * i));
        if (c == 0)
            break;
        result.push_back(c);
    }
    position += 2 * n;
    text = std::move(result);
}

void CDataStore::ReadAnsiString(std::u16string& text, std::int32_t maxBytes) {
    if (IsStoring())
        return;
    const std::int32_t start = position;
    const std::int32_t n = ReadInt();
    try {
        if (n > maxBytes)
            throw DecodeError("old-style text of " + std::to_string(n) + " bytes at offset " + std::to_string(start) +
                              " exceeds its " + std::to_string(maxBytes) + "-byte field");
        Require(n, "text");
    } catch (...) {
        position = start;
        throw;
    }
    const auto* p = reinterpret_cast<const char*>(data + position);
    const auto* end = static_cast<const char*>(std::memchr(p, 0, static_cast<std::size_t>(n)));
    const std::size_t length = end != nullptr ? static_cast<std::size_t>(end - p) : static_cast<std::size_t>(n);
    text = AnsiToUnicode(std::string_view(p, length));
    position += n;
}

void CDataStore::Skip(std::int32_t n) {
    if (IsStoring())
        return;
    Require(n, "skipped field");
    position += n;
}
