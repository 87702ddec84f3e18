#pragma once

class TUserObject;
class TUserButton;
class TUserLevel;
class TUserImage;
class TUserHotspot;

// Read-only kind-specific work on page objects for the layers above the model (drawing, JSON, property
// dialogs). Every kind has its own Visit, so a new kind cannot be left out of a visitor silently.
class TConstUserObjectVisitor {
public:
    virtual ~TConstUserObjectVisitor() = default;
    // A kind without a class of its own.
    virtual void Visit(const TUserObject& object) = 0;
    virtual void Visit(const TUserButton& button) = 0;
    virtual void Visit(const TUserLevel& level) = 0;
    virtual void Visit(const TUserImage& image) = 0;
    virtual void Visit(const TUserHotspot& hotspot) = 0;
};
