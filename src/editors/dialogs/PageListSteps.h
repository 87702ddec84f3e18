#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QUndoCommand;
class TLayout;

// The undo steps of the programming dialog's page list, each made once its change is done. Pages
// are named by their place in the list, which the steps keep as they were; pages and the layout
// are kept as record bytes with their images (LayoutSnapshot), so undo puts back exactly what was
// there. `show` rebuilds the list after a step with the row selected, or none for -1.
using ShowPages = std::function<void(int row)>;

// The page at `index` was added.
QUndoCommand* AddedPageStep(TLayout& layout, int index, const ShowPages& show);
// The page whose snapshot is given was removed from `index`.
QUndoCommand* RemovedPageStep(TLayout& layout, int index, std::vector<std::uint8_t> page, const ShowPages& show);
// The page at `index` was edited from one snapshot to the other.
QUndoCommand* EditedPageStep(TLayout& layout, int index, std::vector<std::uint8_t> before,
                             std::vector<std::uint8_t> after, const ShowPages& show);
// The page at `from` traded places with its neighbour at `to` ("Move Up" or "Move Down").
QUndoCommand* MovedPageStep(TLayout& layout, int from, int to, const ShowPages& show);
// The default page changed from one ID to the other by "Set Default" on the page at `index`.
QUndoCommand* DefaultPageStep(TLayout& layout, std::int32_t before, std::int32_t after, int index,
                              const ShowPages& show);
// The sleep page was edited from one snapshot to the other; an empty `before` means there was
// none until the edit made it.
QUndoCommand* SleepPageStep(TLayout& layout, std::vector<std::uint8_t> before, std::vector<std::uint8_t> after);
// A change of the whole layout, from a SnapshotLayout to another: "Clear All", "Load". `show`
// brings the dialog in step with the layout.
QUndoCommand* LayoutStep(const QString& what, TLayout& layout, std::vector<std::uint8_t> before,
                         std::vector<std::uint8_t> after, const std::function<void()>& show);
