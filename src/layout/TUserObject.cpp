#include "TUserObject.h"

#include "CDataStore.h"
#include "TConstUserObjectVisitor.h"
#include "TUserButton.h"
#include "TUserHotspot.h"
#include "TUserImage.h"
#include "TUserLevel.h"
#include "TUserObjectVisitor.h"

#include <algorithm>
#include <limits>

std::unique_ptr<TUserObject> TUserObject::Create(std::int32_t kind) {
    switch (kind) {
    case kButton:
        return std::make_unique<TUserButton>();
    case kLevel:
        return std::make_unique<TUserLevel>();
    case kImage:
        return std::make_unique<TUserImage>();
    case kHotspot:
        return std::make_unique<TUserHotspot>();
    default:
        return std::make_unique<TUserObject>(kind);
    }
}

void TUserObject::Accept(TUserObjectVisitor& visitor) {
    visitor.Visit(*this);
}

void TUserObject::Accept(TConstUserObjectVisitor& visitor) const {
    visitor.Visit(*this);
}

void TUserObject::ForEachImageId(const ImageIdVisit&) const {}

void TUserObject::ForEachImageReference(const ImageReferenceVisit&) {}

bool TUserObject::Contains(int x, int y) const {
    // 64-bit sums: stored geometry may be anything.
    return left <= x && std::int64_t{x} < std::int64_t{left} + width && top <= y &&
           std::int64_t{y} < std::int64_t{top} + height;
}

namespace {

// Stored geometry may be anything, so the drag arithmetic runs in 64 bits and saturates.
std::int32_t Saturate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// An edge position on a screen `extent` pixels wide: from its first to its last pixel.
std::int32_t OnScreen(std::int64_t position, int extent) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(position, 0, extent - 1));
}

} // namespace

void TUserObject::MoveBy(int dx, int dy) {
    left = OnScreen(std::int64_t{left} + dx, kPageWidth);
    top = OnScreen(std::int64_t{top} + dy, kPageHeight);
}

void TUserObject::ResizeByCorner(int corner, int dx, int dy) {
    std::int64_t l = left;
    std::int64_t t = top;
    std::int64_t w = width;
    std::int64_t h = height;
    switch (corner) {
    case kTopLeft:
        l += dx;
        t += dy;
        w -= dx;
        h -= dy;
        break;
    case kTopRight:
        t += dy;
        w += dx;
        h -= dy;
        break;
    case kBottomRight:
        w += dx;
        h += dy;
        break;
    case kBottomLeft:
        l += dx;
        w -= dx;
        h += dy;
        break;
    default:
        return;
    }
    if (w < 0) {
        l += w;
        w = -w;
    }
    if (h < 0) {
        t += h;
        h = -h;
    }
    // A side dragged onto the opposite one keeps a pixel, so the object stays within reach.
    left = OnScreen(l, kPageWidth);
    top = OnScreen(t, kPageHeight);
    width = Saturate(std::max<std::int64_t>(w, 1));
    height = Saturate(std::max<std::int64_t>(h, 1));
}

int TUserObject::HitTestCorner(int x, int y) const {
    const std::int64_t right = std::int64_t{left} + width;
    const std::int64_t bottom = std::int64_t{top} + height;
    const std::int64_t corners[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    for (int i = 0; i < 4; ++i) {
        const std::int64_t cx = corners[i][0];
        const std::int64_t cy = corners[i][1];
        if (cx - kHandleHalf <= x && x < cx + kHandleHalf && cy - kHandleHalf <= y && y < cy + kHandleHalf)
            return i + 1;
    }
    return kNoCorner;
}

void TUserObject::Serialize(CDataStore& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt(kVersion);
        ar.WriteInt(kind);
        ar.WriteInt(0);
        ar.WriteInt(left);
        ar.WriteInt(top);
        ar.WriteInt(width);
        ar.WriteInt(height);
        return;
    }
    // The version and the reserved word carry nothing we use. The kind repeats the one in front of
    // the record, which already chose this object's class; keeping that one keeps class and kind
    // consistent.
    ar.Skip(4);
    ar.Skip(4);
    ar.Skip(4);
    const std::int32_t newLeft = ar.ReadInt();
    const std::int32_t newTop = ar.ReadInt();
    const std::int32_t newWidth = ar.ReadInt();
    const std::int32_t newHeight = ar.ReadInt();
    left = newLeft;
    top = newTop;
    width = newWidth;
    height = newHeight;
}
