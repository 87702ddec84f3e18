#pragma once

#include "TImageReference.h"

#include <cstdint>
#include <memory>

class CDataStore;
class TConstUserObjectVisitor;
class TUserObjectVisitor;

// Anything placed on a user page. A kind with no class of its own (0, or one this program does
// not know) stays a plain object that keeps its kind and rectangle.
class TUserObject {
public:
    enum Kind : std::int32_t { kPlain = 0, kButton = 1, kLevel = 2, kImage = 3, kHotspot = 4 };
    enum Corner : int { kNoCorner = 0, kTopLeft = 1, kTopRight = 2, kBottomRight = 3, kBottomLeft = 4 };

    static constexpr std::int32_t kVersion = 1;
    // Half the side of the square grab handle centred on each corner.
    static constexpr int kHandleHalf = 4;
    // The panel's screen, which a drag never takes an object wholly off.
    static constexpr int kPageWidth = 320;
    static constexpr int kPageHeight = 240;

    explicit TUserObject(std::int32_t kind = kPlain) : kind(kind) {}
    virtual ~TUserObject() = default;
    TUserObject(const TUserObject&) = delete;
    TUserObject& operator=(const TUserObject&) = delete;

    // An object of the class that belongs to the kind.
    static std::unique_ptr<TUserObject> Create(std::int32_t kind);

    // The corner handle under the point, tried top-left, top-right, bottom-right, bottom-left.
    virtual int HitTestCorner(int x, int y) const;
    virtual void Serialize(CDataStore& ar);
    // Hands the object to the visitor's Visit for its own class.
    virtual void Accept(TUserObjectVisitor& visitor);
    virtual void Accept(TConstUserObjectVisitor& visitor) const;
    // Every image the object names, in the order a page file lists them. A plain object names none.
    virtual void ForEachImageId(const ImageIdVisit& visit) const;
    virtual void ForEachImageReference(const ImageReferenceVisit& visit);

    bool Contains(int x, int y) const;
    // A drag by (dx, dy), with the mouse or the keys. The left and top edges stop at the screen's
    // edge, and at its last column and row, so the object keeps a pixel on the screen and a click
    // still reaches it; an object that lies outside comes back onto the screen.
    void MoveBy(int dx, int dy);
    // A drag of one corner handle by (dx, dy). A rectangle dragged inside out flips so its size
    // stays positive; the corner keeps its number, so the same formulas apply to further moves.
    // The size stays at least 1 x 1 and the left and top edges stop as for a move.
    void ResizeByCorner(int corner, int dx, int dy);

    std::int32_t kind;
    std::int32_t reserved = 0;
    std::int32_t top = 0;
    std::int32_t left = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};
