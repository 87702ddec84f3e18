#pragma once

#include <cstdint>
#include <functional>

// A place where a face, an object or a page names an image, as page-file import sees it: the ID
// and the import mark that keeps one import from renumbering the same place twice.
class TImageReference {
public:
    TImageReference(std::int32_t& id, std::int32_t& mark) : id_(&id), wordMark_(&mark) {}
    TImageReference(std::int32_t& id, std::uint8_t& mark) : id_(&id), byteMark_(&mark) {}

    std::int32_t Id() const { return *id_; }
    bool IsMarked() const { return wordMark_ != nullptr ? *wordMark_ != 0 : *byteMark_ != 0; }
    void ClearMark() { setMark(0); }
    // Points the place at the image's new ID and marks it as done.
    void Renumber(std::int32_t newId) {
        *id_ = newId;
        setMark(1);
    }

private:
    void setMark(std::uint8_t value) {
        if (wordMark_ != nullptr)
            *wordMark_ = value;
        else
            *byteMark_ = value;
    }

    std::int32_t* id_;
    std::int32_t* wordMark_ = nullptr;
    std::uint8_t* byteMark_ = nullptr;
};

// Called once per image reference, in the order a page file lists its images.
using ImageIdVisit = std::function<void(std::int32_t id)>;
using ImageReferenceVisit = std::function<void(TImageReference reference)>;
