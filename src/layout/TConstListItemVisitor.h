#pragma once

class TUserPage;
class CBtn8Ctrl;
class CNumericCtrl;

// Read-only kind-specific work on pages for the layers above the model, one Visit per page kind.
class TConstListItemVisitor {
public:
    virtual ~TConstListItemVisitor() = default;
    virtual void Visit(const TUserPage& page) = 0;
    virtual void Visit(const CBtn8Ctrl& page) = 0;
    virtual void Visit(const CNumericCtrl& page) = 0;
};
