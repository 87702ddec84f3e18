// zyl-make-library: draws the built-in library and writes it as the block the program compiles in.

#include "FileOutput.h"
#include "LibraryContents.h"
#include "sheet/ContactSheet.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    std::string out;
    std::string sheet;
    std::string fontDir = ZYL_DEJAVU_DIR;
    bool usable = true;
    for (int i = 1; i < argc && usable; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sheet" && i + 1 < argc)
            sheet = argv[++i];
        else if (arg == "--fonts" && i + 1 < argc)
            fontDir = argv[++i];
        else if (out.empty() && !arg.starts_with("--"))
            out = arg;
        else
            usable = false;
    }
    if (!usable || out.empty()) {
        std::fprintf(stderr, "usage: zyl-make-library OUT.bin [--sheet SHEET.png] [--fonts DEJAVU_DIR]\n");
        return 2;
    }
    try {
        const auto block = BuildBuiltinBlock(fontDir);
        WriteFileAtomically(out, block);
        std::printf("%s: %zu bytes\n", out.c_str(), block.size());
        if (!sheet.empty()) {
            // The sheet shows the block as written, read back the way the program reads it.
            TImageLibrary library;
            library.Read(block);
            WriteFileAtomically(sheet, MakeContactSheet(library).EncodePng());
            std::printf("%s written\n", sheet.c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zyl-make-library: %s\n", e.what());
        return 1;
    }
    return 0;
}
