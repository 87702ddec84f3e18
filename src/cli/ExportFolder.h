#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

// The bound on the JSON of a text form: far above that of the largest template, far below what
// would strain memory.
inline constexpr std::size_t kJsonLimit = std::size_t{8} << 20;

// Export replaces DIR/images whole, so it may go ahead only when that holds nothing but the
// pictures an earlier export wrote there, and never FILE itself. False with the reason otherwise.
[[nodiscard]] bool MayExportInto(const std::string& file, const std::filesystem::path& dir, std::string& error);
// Import must not write OUT over one of the files it reads from DIR, however OUT is named.
[[nodiscard]] bool MayImportInto(const std::filesystem::path& dir, const std::string& out, std::string& error);
