#include "editors/dialogs/PageListSteps.h"

#include "editors/UndoSteps.h"
#include "layout/LayoutSnapshot.h"
#include "layout/TLayout.h"
#include "layout/TUserPage.h"

namespace {

TListItem* pageAt(const TLayout& layout, int index) {
    return index >= 0 && index < static_cast<int>(layout.pages.size())
               ? layout.pages[static_cast<std::size_t>(index)].get()
               : nullptr;
}

void restoreAt(TLayout& layout, const std::vector<std::uint8_t>& page, int index) {
    RestorePageAt(layout, page, static_cast<std::size_t>(index));
}

} // namespace

QUndoCommand* AddedPageStep(TLayout& layout, int index, const ShowPages& show) {
    const std::vector<std::uint8_t> page = SnapshotPage(layout, *pageAt(layout, index));
    return new DoneStep(
        "Add",
        [&layout, index, show] {
            layout.RemovePage(pageAt(layout, index));
            show(-1);
        },
        [&layout, index, show, page] {
            restoreAt(layout, page, index);
            show(index);
        });
}

QUndoCommand* RemovedPageStep(TLayout& layout, int index, std::vector<std::uint8_t> page, const ShowPages& show) {
    return new DoneStep(
        "Remove",
        [&layout, index, show, page = std::move(page)] {
            restoreAt(layout, page, index);
            show(index);
        },
        [&layout, index, show] {
            layout.RemovePage(pageAt(layout, index));
            show(-1);
        });
}

QUndoCommand* EditedPageStep(TLayout& layout, int index, std::vector<std::uint8_t> before,
                             std::vector<std::uint8_t> after, const ShowPages& show) {
    const auto replace = [&layout, index, show](const std::vector<std::uint8_t>& page) {
        layout.RemovePage(pageAt(layout, index));
        restoreAt(layout, page, index);
        show(index);
    };
    return new DoneStep(
        "Edit", [replace, before = std::move(before)] { replace(before); },
        [replace, after = std::move(after)] { replace(after); });
}

QUndoCommand* SleepPageStep(TLayout& layout, std::vector<std::uint8_t> before, std::vector<std::uint8_t> after) {
    const auto replace = [&layout](const std::vector<std::uint8_t>& page) {
        layout.sleepPage.reset();
        if (!page.empty())
            layout.sleepPage.reset(static_cast<TUserPage*>(RestorePage(layout, page).release()));
    };
    return new DoneStep(
        "Edit Sleep Page", [replace, before = std::move(before)] { replace(before); },
        [replace, after = std::move(after)] { replace(after); });
}

QUndoCommand* MovedPageStep(TLayout& layout, int from, int to, const ShowPages& show) {
    // Moving the page at `at` one place toward `from` or toward `to`.
    const auto move = [&layout, show, up = to < from](int at, bool back) {
        if (up != back)
            layout.MovePageUp(pageAt(layout, at));
        else
            layout.MovePageDown(pageAt(layout, at));
        show(up != back ? at - 1 : at + 1);
    };
    return new DoneStep(
        to < from ? "Move Up" : "Move Down", [move, to] { move(to, true); }, [move, from] { move(from, false); });
}

QUndoCommand* DefaultPageStep(TLayout& layout, std::int32_t before, std::int32_t after, int index,
                              const ShowPages& show) {
    const auto set = [&layout, index, show](std::int32_t id) {
        layout.defaultPageId = id;
        show(index);
    };
    return new DoneStep(
        "Set Default", [set, before] { set(before); }, [set, after] { set(after); });
}

QUndoCommand* LayoutStep(const QString& what, TLayout& layout, std::vector<std::uint8_t> before,
                         std::vector<std::uint8_t> after, const std::function<void()>& show) {
    const auto restore = [&layout, show](const std::vector<std::uint8_t>& snapshot) {
        RestoreLayout(layout, snapshot);
        show();
    };
    return new DoneStep(
        what, [restore, before = std::move(before)] { restore(before); },
        [restore, after = std::move(after)] { restore(after); });
}
