#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The panel's memory: the layout image it serves and the last firmware it received, kept in a
// state folder so they outlive the program. Without a folder everything stays in memory.
class PanelStore {
public:
    static constexpr const char* kLayoutFile = "layout.bin";
    static constexpr const char* kFirmwareFile = "firmware.zfw";
    // The largest layout image the panel holds. Declared here on purpose rather than taken from
    // the tool's layout capacity: the simulator is an independent panel, so a change on the
    // tool's side shows up as a disagreement in the tests instead of moving both ends at once.
    static constexpr std::size_t kLayoutCapacity = 512000;

    // `defaultLayout` makes the image served while no layout has been stored; it is called at most
    // once, when the image is first needed.
    PanelStore(std::string folder, std::function<std::vector<std::uint8_t>()> defaultLayout);

    // Creates the folder and reads a stored layout. False, with the reason, when the folder cannot
    // be made or the stored layout cannot be read or is larger than the panel holds.
    [[nodiscard]] bool Open(std::string* error);

    const std::vector<std::uint8_t>& Layout();
    bool HasStoredLayout() const { return stored.has_value(); }
    // Each keeps the old content when the file cannot be written, and says why.
    [[nodiscard]] bool StoreLayout(std::span<const std::uint8_t> image, std::string* error);
    [[nodiscard]] bool StoreFirmware(std::span<const std::uint8_t> firmware, std::string* error);

    // Told of each layout stored, after it is kept.
    std::function<void(const std::vector<std::uint8_t>&)> onLayoutStored;

    const std::vector<std::uint8_t>& Firmware() const { return firmware; }
    const std::string& Folder() const { return folder; }
    std::string LayoutPath() const;
    std::string FirmwarePath() const;

private:
    std::string folder;
    std::function<std::vector<std::uint8_t>()> defaultLayout;
    std::optional<std::vector<std::uint8_t>> stored;
    std::optional<std::vector<std::uint8_t>> fallback;
    std::vector<std::uint8_t> firmware;
};
