#pragma once

#include <cstdint>
#include <string>

// Size checks shared by every decoder, so a declared size is judged the same way whatever the format.

// True when a picture of this size may be made (0 × 0 included).
[[nodiscard]] bool FitsPictureLimits(std::int64_t width, std::int64_t height);

// Throws PictureError naming the source unless the size is positive and within the limits.
void RequirePictureSize(const std::string& source, std::int64_t width, std::int64_t height);

// The texts of the failures every decoder reports in the same words.
std::string DamagedMessage(const std::string& source, const std::string& reason);
std::string TooLargeMessage(const std::string& source, std::int64_t width, std::int64_t height);
