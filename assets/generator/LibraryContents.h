#pragma once

#include "layout/TImageLibrary.h"

#include <cstdint>
#include <string>
#include <vector>

// One picture of the library as the program knows it.
struct CatalogImage {
    int id = 0;
    const char* name = "";
    int width = 0;
    int height = 0;
    bool alpha = false;
};

// The library's pictures in stored order.
const std::vector<CatalogImage>& ImageCatalog();
// The catalogue entry with that ID, or null.
const CatalogImage* FindCatalogImage(int id);

// The whole built-in library, every list in list order (the reverse of stored order), drawn afresh.
TImageLibrary BuildBuiltinLibrary(const std::string& fontDir);
// The same, packed as the block the program compiles in.
std::vector<std::uint8_t> BuildBuiltinBlock(const std::string& fontDir);
