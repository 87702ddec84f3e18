#include "LayoutFileKind.h"

#include "base/LittleEndian.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"

LayoutFileKind KindOfLayoutFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4)
        return LayoutFileKind::Neither;
    const auto magic = static_cast<std::int32_t>(GetLittleEndian32(bytes, 0));
    if (magic == TLayout::kTemplateMagic)
        return LayoutFileKind::Template;
    if (magic == TLayout::kPageMagic)
        return LayoutFileKind::Page;
    return LayoutFileKind::Neither;
}

std::string NeitherLayoutFileMessage(const std::string& name) {
    return name + " is neither a ZYL-1 template file nor a ZYL-1 user page file";
}

bool ReadLayoutFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string* error) {
    std::vector<std::uint8_t> start;
    if (!ReadFileStart(path, 4, start, error))
        return false;
    switch (KindOfLayoutFile(start)) {
    case LayoutFileKind::Template:
        return ReadTemplateFileBytes(path, bytes, error);
    case LayoutFileKind::Page:
        return ReadPageFileBytes(path, bytes, error);
    case LayoutFileKind::Neither:
        break;
    }
    if (error != nullptr)
        *error = NeitherLayoutFileMessage("\"" + path + "\"");
    return false;
}
