#include "LoadedFile.h"

#include "LayoutFileKind.h"
#include "layout/FileIo.h"
#include "render/Surface.h"

#include <cstdint>
#include <span>
#include <vector>

void LoadLayoutFile(const std::string& path, LoadedFile& loaded) {
    std::string reason;
    std::vector<std::uint8_t> bytes;
    if (!ReadLayoutFile(path, bytes, &reason))
        throw BadInput{reason};
    loaded.name = "\"" + path + "\"";
    bool ok = false;
    switch (KindOfLayoutFile(bytes)) {
    case LayoutFileKind::Template:
        ok = loaded.layout.LoadTemplateBytes(bytes, loaded.name, &reason);
        break;
    case LayoutFileKind::Page:
        loaded.filePage = std::make_unique<TUserPage>(&loaded.layout, u"");
        ok = loaded.layout.LoadPageBytes(*loaded.filePage, bytes, loaded.name, &reason);
        break;
    case LayoutFileKind::Neither:
        reason = NeitherLayoutFileMessage(loaded.name);
        break;
    }
    if (!ok)
        throw BadInput{reason};
}

void WriteScreenPng(const std::string& output, const Surface& surface) {
    const std::vector<std::uint8_t> png = surface.EncodePng();
    const std::span<const std::uint8_t> parts[] = {png};
    std::string reason;
    if (!WriteFileAtomically(output, parts, &reason))
        throw BadInput{reason};
}
