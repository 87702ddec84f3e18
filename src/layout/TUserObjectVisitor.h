#pragma once

class TUserObject;
class TUserButton;
class TUserLevel;
class TUserImage;
class TUserHotspot;

// Kind-specific work on page objects for the layers above the model (drawing, JSON, property
// dialogs). Every kind has its own Visit, so a new kind cannot be left out of a visitor silently.
class TUserObjectVisitor {
public:
    virtual ~TUserObjectVisitor() = default;
    // A kind without a class of its own.
    virtual void Visit(TUserObject& object) = 0;
    virtual void Visit(TUserButton& button) = 0;
    virtual void Visit(TUserLevel& level) = 0;
    virtual void Visit(TUserImage& image) = 0;
    virtual void Visit(TUserHotspot& hotspot) = 0;
};
