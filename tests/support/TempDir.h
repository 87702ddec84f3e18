#pragma once

#include <filesystem>
#include <string>

// A fresh folder for one test, removed with everything in it when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path(const std::string& name) const { return (root / name).string(); }
    const std::filesystem::path& dir() const { return root; }

private:
    std::filesystem::path root;
};
