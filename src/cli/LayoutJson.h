#pragma once

#include "JsonWriter.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <vector>

class TLayout;
class TUserPage;
class TImageEntry;

// The layout as JSON, keys named after the model's fields.
void WriteLayoutJson(JsonWriter& json, const TLayout& layout);
// A user-page file as JSON: its page and its image records as stored.
void WritePageFileJson(JsonWriter& json, const TUserPage& page,
                       const std::vector<std::unique_ptr<TImageEntry>>& images);

// The same as JSON values, keys in the order above.
[[nodiscard]] nlohmann::ordered_json LayoutToJson(const TLayout& layout);
[[nodiscard]] nlohmann::ordered_json PageFileToJson(const TUserPage& page,
                                                    const std::vector<std::unique_ptr<TImageEntry>>& images);
