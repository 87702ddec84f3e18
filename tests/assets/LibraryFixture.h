#pragma once

#include "generator/LibraryContents.h"
#include "layout/TImageLibrary.h"

#include <cstdint>
#include <vector>

// The generator's block, drawn once per test program, and that block read back as the program reads it.
struct GeneratedLibrary {
    std::vector<std::uint8_t> block;
    TImageLibrary library;

    static const GeneratedLibrary& Get() {
        static const GeneratedLibrary generated = [] {
            GeneratedLibrary g;
            g.block = BuildBuiltinBlock(ZYL_DEJAVU_DIR);
            g.library.Read(g.block);
            return g;
        }();
        return generated;
    }

    const Picture* Image(int id) const {
        for (const auto& entry : library.images)
            if (entry->id == id)
                return entry->image.get();
        return nullptr;
    }
};
