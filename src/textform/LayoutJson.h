#pragma once

#include <nlohmann/json.hpp>

#include <memory>
#include <vector>

class TLayout;
class TUserPage;
class TImageEntry;

// The layout as JSON, keys named after the model's fields and in a fixed order. Everything a
// layout image holds is there except the glyphs, which encoding renders anew from the names, and
// the pictures, which go beside the JSON as PNG files. Text slots with bytes after their text
// carry them in a key named after the slot with "Tail" appended (see SlotJson.h).
[[nodiscard]] nlohmann::ordered_json LayoutToJson(const TLayout& layout);
// A user-page file as JSON: its page and the image records it is given.
[[nodiscard]] nlohmann::ordered_json PageFileToJson(const TUserPage& page,
                                                    const std::vector<std::unique_ptr<TImageEntry>>& images);
