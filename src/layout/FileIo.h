#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Reads the whole file when it holds at most maxBytes; otherwise, or when it cannot be read,
// returns false with a message naming the file and the cause. Only a regular file is read: a FIFO,
// a device or a folder is refused at once, without waiting for a writer. `kind` ("a ZYL-1 template
// file"), when given, says in the message whose limit the file exceeds.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out,
                                 std::string* error, const std::string& kind = {});

// Reads the first `count` bytes of a regular file, or all of a shorter one; as ReadWholeFile
// otherwise. For deciding what a file is before choosing how much of it to read.
[[nodiscard]] bool ReadFileStart(const std::string& path, std::size_t count, std::vector<std::uint8_t>& out,
                                 std::string* error);

// Writes the parts, one after the other, as the new content of `path`. Only a writable regular file
// (or a symbolic link to one, written through to its target) is saved over, or a new name. The new
// content goes into a temporary file beside the target, flushed to disk and renamed over it, so
// the target is either the old file or the whole new one; the target's permission bits are kept.
// When the folder takes no new file but the file itself is writable, the file is written in place
// (room for the new content is reserved first, so a full disk still leaves it whole).
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::span<const std::span<const std::uint8_t>> parts,
                                       std::string* error);

// True when both paths name one existing file (symbolic links followed), so writing one would
// destroy the other.
[[nodiscard]] bool IsSameFile(const std::string& a, const std::string& b);
