#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path() const { return root.string(); }
    std::string Path(const std::string& name) const { return (root / name).string(); }
    const std::filesystem::path& Dir() const { return root; }
    // Writes the bytes to a file of that name in the folder and returns its path.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;

private:
    std::filesystem::path root;
};

// The simulator and picture tests know it by this name.
using TempFolder = TempDir;
