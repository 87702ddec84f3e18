// libFuzzer target for the text form's import: the bytes go in as layout.json and as page.json, in
// folders that hold a fixed set of small images (10000 to 10003 real 4 x 3 PNGs, 10004 an empty
// file, 10005 not a PNG). What an import writes must load again, and export and import again to the
// same bytes.
#include "FuzzSteps.h"
#include "cli/TextForm.h"
#include "layout/TLayout.h"
#include "picture/Picture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void addImages(const fs::path& folder) {
    fs::create_directories(folder / "images");
    for (int i = 0; i < 4; ++i) {
        Picture picture(4, 3);
        const auto png = picture.EncodePng();
        writeFile(folder / "images" / (std::to_string(10000 + i) + ".png"),
                  {reinterpret_cast<const char*>(png.data()), png.size()});
    }
    writeFile(folder / "images" / "10004.png", "");
    writeFile(folder / "images" / "10005.png", "GIF89a");
}

// The folders live in memory where there is a tmpfs: every import saves with fsync.
struct Folders {
    Folders() {
        const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "zyl-fuzz-json-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        root = pattern;
        addImages(root / "template");
        addImages(root / "page");
    }
    ~Folders() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    fs::path root;
};

const Folders& folders() {
    static const Folders instance;
    return instance;
}

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The file an import wrote, exported and imported again, must come back byte for byte.
void roundTrip(const fs::path& file, const fs::path& folder) {
    std::string error;
    const fs::path again = folder.string() + file.extension().string();
    FUZZ_CHECK(ExportLayoutFile(file.string(), folder.string(), &error));
    FUZZ_CHECK(ImportLayoutDir(folder.string(), again.string(), &error));
    FUZZ_CHECK(contents(file) == contents(again));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path& root = folders().root;
    const std::string_view json(reinterpret_cast<const char*>(data), size);
    std::string error;

    writeFile(root / "template" / "layout.json", json);
    const fs::path zyl = root / "out.zyl";
    if (ImportLayoutDir((root / "template").string(), zyl.string(), &error)) {
        TLayout layout;
        FUZZ_CHECK(layout.LoadTemplate(zyl.string(), &error));
        roundTrip(zyl, root / "again-template");
    } else {
        FUZZ_CHECK(!error.empty());
    }

    writeFile(root / "page" / "page.json", json);
    const fs::path zup = root / "out.zup";
    if (ImportLayoutDir((root / "page").string(), zup.string(), &error)) {
        TLayout layout;
        TUserPage page(&layout, u"loaded");
        FUZZ_CHECK(layout.LoadPage(page, zup.string(), &error));
        roundTrip(zup, root / "again-page");
    } else {
        FUZZ_CHECK(!error.empty());
    }
    return 0;
}
