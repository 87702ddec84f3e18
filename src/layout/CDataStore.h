#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

// The byte stream every persistent class of the layout writes itself to and reads itself from.
// Made without a buffer it is storing: it owns a growing buffer and every write appends.
// Made over a caller's bytes it is loading: it reads them front to back and never changes them.
// Writes on a loading stream and reads on a storing stream do nothing.
// All values are little-endian, with no padding.
class CDataStore {
public:
    explicit CDataStore(const std::uint8_t* data = nullptr, std::int32_t length = 0);
    // Always a loading stream, even over no bytes at all.
    explicit CDataStore(std::span<const std::uint8_t> bytes);
    virtual ~CDataStore();

    CDataStore(const CDataStore&) = delete;
    CDataStore& operator=(const CDataStore&) = delete;

    bool IsStoring() const { return storing != 0; }
    // Storing: bytes written so far. Loading: offset of the next byte to read.
    std::int32_t Position() const { return position; }
    // Storing: allocated size. Loading: number of valid bytes.
    std::int32_t Capacity() const { return capacity; }
    // Loading: bytes left to read.
    std::int32_t Remaining() const { return capacity - position; }
    // Storing: the bytes written so far.
    std::span<const std::uint8_t> Result() const;

    // Storing: makes sure at least n bytes are allocated, without the 4096-byte rounding.
    void Reserve(std::int32_t n);

    void WriteInt(std::int32_t value);
    void WriteByte(std::uint8_t value);
    void WriteBytes(const void* source, std::int32_t n);
    void WriteString(const std::u16string& text);

    // Loading only; each throws DecodeError rather than read past the valid bytes.
    void ReadInt(std::int32_t& target);
    std::int32_t ReadInt(); // 0 on a storing stream
    void ReadByte(std::uint8_t& target);
    std::uint8_t ReadByte(); // 0 on a storing stream
    void ReadBytes(void* target, std::int32_t n);
    // The next n bytes in place, without copying; empty on a storing stream.
    std::span<const std::uint8_t> ReadBlock(std::int32_t n);
    // Text up to the first code unit 0 among the n stored; position advances past all n.
    void ReadString(std::u16string& text);
    // Old records: n bytes of ANSI text up to the first NUL. A count above maxBytes (the
    // record's fixed buffer) is invalid input.
    void ReadAnsiString(std::u16string& text, std::int32_t maxBytes);
    void Skip(std::int32_t n);

private:
    void MakeRoom(std::int32_t n);
    // Throws DecodeError unless n bytes remain to be read.
    void Require(std::int64_t n, const char* what) const;

    std::unique_ptr<std::uint8_t[]> owned;
    const std::uint8_t* data = nullptr;
    std::int32_t capacity = 0;
    std::int32_t position = 0;
    std::int32_t storing = 1;
};
