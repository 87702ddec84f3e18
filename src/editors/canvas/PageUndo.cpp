#include "editors/canvas/PageUndo.h"

#include "layout/TUserPage.h"

#include <algorithm>

namespace {

// The id the stack merges by; steps that never merge answer -1.
constexpr int kMergeableId = 1;

} // namespace

PageState CapturePage(const TUserPage& page, const TUserObject* selected) {
    const auto& objects = page.objects;
    const auto at = std::find_if(objects.begin(), objects.end(), [&](const auto& o) { return o.get() == selected; });
    return {page.Record(), at == objects.end() ? -1 : static_cast<int>(at - objects.begin())};
}

TUserObject* RestorePage(TUserPage& page, const PageState& state) {
    page.Restore(state.record);
    if (state.selected < 0 || state.selected >= static_cast<int>(page.objects.size()))
        return nullptr;
    return page.objects[static_cast<std::size_t>(state.selected)].get();
}

PageStep::PageStep(const QString& what, PageState before_, PageState after_, bool mergeable_,
                   std::function<void(const PageState&)> restore)
    : DoneStep(
          what, [this, restore] { restore(before); }, [this, restore] { restore(after); }),
      before(std::move(before_)), after(std::move(after_)), mergeable(mergeable_) {}

int PageStep::id() const {
    return mergeable ? kMergeableId : -1;
}

bool PageStep::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const PageStep*>(other);
    if (next == nullptr || next->text() != text() || next->before.selected != after.selected ||
        next->before.record != after.record)
        return false;
    after = next->after;
    // Moved there and back: nothing is left to undo.
    setObsolete(after.record == before.record);
    return true;
}
