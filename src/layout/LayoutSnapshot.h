#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class TLayout;
class TListItem;

// Undo keeps a layout's pages and images as record bytes, so a step puts back exactly what was
// there. A page carries the user images it shows, because an encoding purges the images nothing
// shows: a removed page whose pictures went with a save still comes back whole.

// A page with the user images it shows.
std::vector<std::uint8_t> SnapshotPage(TLayout& layout, const TListItem& page);
// Puts the page of a snapshot into the page list at `index` (the end when past it) and returns it.
// Its images join the image list where the list lacks them, found by GUID; one that comes back
// takes its old place and keeps its ID unless another image took it meanwhile, and the page then
// names the new one.
TListItem& RestorePageAt(TLayout& layout, std::span<const std::uint8_t> snapshot, std::size_t index);
// The same for a page that goes elsewhere (the sleep page): its images join the list, the page is
// handed back.
std::unique_ptr<TListItem> RestorePage(TLayout& layout, std::span<const std::uint8_t> snapshot);

// What Clear All and Load change: the settings, the default page, the pages, the sleep page, the
// events and the image list in its order.
std::vector<std::uint8_t> SnapshotLayout(TLayout& layout);
void RestoreLayout(TLayout& layout, std::span<const std::uint8_t> snapshot);
