// zyl-library-sheet: one PNG of everything in a library block, to look the art over.

#include "ContactSheet.h"
#include "SheetDrawing.h"
#include "generator/FileOutput.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--zoom")) {
        std::fprintf(stderr, "usage: zyl-library-sheet BLOCK.bin OUT.png [--zoom ZOOMED.png]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "zyl-library-sheet: cannot open %s\n", argv[1]);
        return 1;
    }
    const std::vector<std::uint8_t> block{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    TImageLibrary library;
    library.Read(block);
    if (library.images.empty() && library.glyphs.empty()) {
        std::fprintf(stderr, "zyl-library-sheet: %s holds no library\n", argv[1]);
        return 1;
    }
    try {
        const Picture sheet = MakeContactSheet(library);
        WriteFileAtomically(argv[2], sheet.EncodePng());
        if (argc == 5)
            WriteFileAtomically(argv[4], Magnified(sheet, 3).EncodePng());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zyl-library-sheet: %s\n", e.what());
        return 1;
    }
    return 0;
}
