#pragma once

#include <cstdint>
#include <string>

// Size checks shared by every decoder, so a declared size is judged the same way whatever the format.

// True when a picture of this size may be made (0 × 0 included).
[[nodiscard]] bool FitsPictureLimits(std::int64_t width, std::int64_t height);

// Throws PictureError naming the source unless the size is positive and within the limits.
void RequirePictureSize(const std::string& source, std::int64_t width, std::int64_t height);

// What a picture file may declare to be imported: no more than a layout holds a picture to, and a file
// size no such picture comes near. Both are judged before anything is decoded, so a few bytes that
// declare a huge picture cost nothing.
constexpr int kMaxImportSide = 4096;
constexpr std::uint64_t kMaxImportFileBytes = std::uint64_t{64} << 20;

// Throw PictureError naming the source, what it declares and the limit.
void RequireImportSize(const std::string& source, std::int64_t width, std::int64_t height);
void RequireImportFileSize(const std::string& source, std::uint64_t bytes);

// The texts of the failures every decoder reports in the same words.
std::string DamagedMessage(const std::string& source, const std::string& reason);
std::string TooLargeMessage(const std::string& source, std::int64_t width, std::int64_t height);
std::string OutOfMemoryMessage(const std::string& source);
