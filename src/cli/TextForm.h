#pragma once

#include <string>

// A layout file as a folder of reviewable text and pictures, and back: a template FILE.zyl
// becomes DIR/layout.json, a page file FILE.zup DIR/page.json, each user image
// DIR/images/<id>.png. Each returns false with the reason in *error and then has written nothing.
[[nodiscard]] bool ExportLayoutFile(const std::string& file, const std::string& dir, std::string* error);
// Builds OUT from DIR: a template from layout.json, a page file from page.json.
[[nodiscard]] bool ImportLayoutDir(const std::string& dir, const std::string& out, std::string* error);
