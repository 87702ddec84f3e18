#include "sim/PanelStore.h"

#include "layout/FileIo.h"

#include <filesystem>
#include <system_error>

namespace {

[[nodiscard]] bool writeFile(const std::string& path, std::span<const std::uint8_t> bytes, std::string* error) {
    const std::span<const std::uint8_t> parts[] = {bytes};
    return WriteFileAtomically(path, parts, error);
}

} // namespace

PanelStore::PanelStore(std::string folder, std::function<std::vector<std::uint8_t>()> defaultLayout)
    : folder(std::move(folder)), defaultLayout(std::move(defaultLayout)) {}

std::string PanelStore::LayoutPath() const {
    return folder + "/" + kLayoutFile;
}
std::string PanelStore::FirmwarePath() const {
    return folder + "/" + kFirmwareFile;
}

bool PanelStore::Open(std::string* error) {
    if (folder.empty())
        return true;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder, ec)) {
        if (error != nullptr)
            *error = "cannot use the state folder \"" + folder +
                     "\": " + (ec ? ec.message() : std::string("it is not a folder"));
        return false;
    }
    if (!std::filesystem::exists(LayoutPath(), ec))
        return true;
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!ReadWholeFile(LayoutPath(), kLayoutCapacity, bytes, &why)) {
        if (error != nullptr)
            *error = why + " (remove it to start again from the demo layout)";
        return false;
    }
    stored = std::move(bytes);
    return true;
}

const std::vector<std::uint8_t>& PanelStore::Layout() {
    if (stored)
        return *stored;
    if (!fallback)
        fallback = defaultLayout ? defaultLayout() : std::vector<std::uint8_t>{};
    return *fallback;
}

bool PanelStore::StoreLayout(std::span<const std::uint8_t> image, std::string* error) {
    if (!folder.empty() && !writeFile(LayoutPath(), image, error))
        return false;
    stored.emplace(image.begin(), image.end());
    if (onLayoutStored)
        onLayoutStored(*stored);
    return true;
}

bool PanelStore::StoreFirmware(std::span<const std::uint8_t> bytes, std::string* error) {
    if (!folder.empty() && !writeFile(FirmwarePath(), bytes, error))
        return false;
    firmware.assign(bytes.begin(), bytes.end());
    return true;
}
