#pragma once

#include <string>

// The notice in the per-user simulator folder that puts this panel in the tool's port list. It
// lives exactly as long as the object.
class PortPublication {
public:
    static constexpr const char* kLabel = "ZYL-1 simulator";

    // Throws std::system_error when the notice cannot be written.
    explicit PortPublication(const std::string& devicePath);
    ~PortPublication();
    PortPublication(const PortPublication&) = delete;
    PortPublication& operator=(const PortPublication&) = delete;

    const std::string& Path() const { return path; }

private:
    std::string path;
};
