#include "TLayout.h"

#include <algorithm>
#include <utility>

TLayout::TLayout() = default;

TLayout::~TLayout() = default;

std::int32_t TLayout::NextPageId() const {
    std::int32_t next = kFirstPageId;
    for (const auto& page : pages) {
        if (page->pageId >= kFirstPageId && page->pageId < kPageIdLimit)
            next = std::max(next, page->pageId + 1);
    }
    return next;
}

TListItem* TLayout::FindPage(std::int32_t id) const {
    for (const auto& page : pages) {
        if (page->pageId == id)
            return page.get();
    }
    return nullptr;
}

std::vector<std::unique_ptr<TListItem>>::iterator TLayout::find(const TListItem* page) {
    return std::find_if(pages.begin(), pages.end(), [&](const auto& p) { return p.get() == page; });
}

int TLayout::IndexOf(const TListItem* page) const {
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].get() == page)
            return static_cast<int>(i);
    }
    return -1;
}

TListItem* TLayout::Next(const TListItem* page) const {
    const int i = IndexOf(page);
    return i >= 0 && static_cast<std::size_t>(i) + 1 < pages.size() ? pages[static_cast<std::size_t>(i) + 1].get()
                                                                    : nullptr;
}

TListItem* TLayout::Prev(const TListItem* page) const {
    const int i = IndexOf(page);
    return i > 0 ? pages[static_cast<std::size_t>(i) - 1].get() : nullptr;
}

TListItem* TLayout::InsertPageAfter(std::unique_ptr<TListItem> page, const TListItem* after) {
    if (!page)
        return nullptr;
    TListItem* raw = page.get();
    auto it = after != nullptr ? find(after) : pages.end();
    if (it != pages.end())
        pages.insert(it + 1, std::move(page));
    else
        pages.push_back(std::move(page));
    return raw;
}

void TLayout::RemovePage(const TListItem* page) {
    auto it = find(page);
    if (it != pages.end())
        pages.erase(it);
}

void TLayout::MovePageUp(const TListItem* page) {
    auto it = find(page);
    if (it != pages.end() && it != pages.begin())
        std::iter_swap(it, it - 1);
}

void TLayout::MovePageDown(const TListItem* page) {
    auto it = find(page);
    if (it != pages.end() && it + 1 != pages.end())
        std::iter_swap(it, it + 1);
}

void TLayout::ToggleDefaultPage(const TListItem* page) {
    if (page == nullptr)
        return;
    defaultPageId = defaultPageId == page->pageId ? -1 : page->pageId;
}

bool TLayout::SetPageId(TListItem* page, std::int32_t id) {
    if (page == nullptr)
        return false;
    for (const auto& other : pages) {
        if (other.get() != page && other->pageId == id)
            return false;
    }
    page->pageId = id;
    return true;
}

void TLayout::ClearAll() {
    pages.clear();
}
