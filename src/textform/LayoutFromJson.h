#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TImageEntry;
class TLayout;
class TUserPage;

// Hands over the PNG file of user image `id`; false with a message that names the file otherwise.
using PngSource = std::function<bool(std::int32_t id, std::vector<std::uint8_t>& png, std::string& error)>;

// The reverse of LayoutToJson: fills a freshly made layout from its JSON and the image files.
// Every key must be there and no other, every value in its range; page IDs and image IDs and GUIDs
// are unique, and every image is used by a page. On refusal the reason names the JSON path, and the
// half-filled layout is only fit to be thrown away.
[[nodiscard]] bool LayoutFromJson(const nlohmann::ordered_json& json, const PngSource& pngs, TLayout& layout,
                                  std::string* error);
// The reverse of PageFileToJson: a user page and the images it uses.
[[nodiscard]] bool PageFileFromJson(const nlohmann::ordered_json& json, const PngSource& pngs, TUserPage& page,
                                    std::vector<std::unique_ptr<TImageEntry>>& images, std::string* error);
