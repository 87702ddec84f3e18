#pragma once

#include "editors/UndoSteps.h"

#include <cstdint>
#include <functional>
#include <vector>

class TUserObject;
class TUserPage;

// The page and which of its objects is selected, as the page editor's undo keeps them: the page's
// own record, so a step comes back byte for byte, and the selection by its place in the stacking
// order, since restoring a record makes every object anew.
struct PageState {
    std::vector<std::uint8_t> record;
    int selected = -1;
};

[[nodiscard]] PageState CapturePage(const TUserPage& page, const TUserObject* selected);
// Puts the page back as captured and returns the object to select, or null.
TUserObject* RestorePage(TUserPage& page, const PageState& state);

// One step of the page editor, already carried out when it is recorded: the page before and after.
class PageStep : public DoneStep {
public:
    // A mergeable step takes in a mergeable step of the same name that follows it on the same
    // object, so a run of arrow-key moves undoes as one.
    PageStep(const QString& what, PageState before, PageState after, bool mergeable,
             std::function<void(const PageState&)> restore);
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

private:
    PageState before;
    PageState after;
    bool mergeable;
};
