#pragma once

class TUserPage;
class CBtn8Ctrl;
class CNumericCtrl;

// Kind-specific work on pages for the layers above the model, one Visit per page kind.
class TListItemVisitor {
public:
    virtual ~TListItemVisitor() = default;
    virtual void Visit(TUserPage& page) = 0;
    virtual void Visit(CBtn8Ctrl& page) = 0;
    virtual void Visit(CNumericCtrl& page) = 0;
};
