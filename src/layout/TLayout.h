#pragma once

#include "TListItem.h"
#include "TUserPage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Everything the panel shows and does: its settings, its pages in order, the sleep page and the
// 24 user events. The program holds exactly one.
class TLayout {
public:
    static constexpr std::int32_t kFirstPageId = 10000;
    // IDs from here up are not counted when handing out new ones.
    static constexpr std::int32_t kPageIdLimit = 16000;
    static constexpr int kEventCount = 24;
    static constexpr std::size_t kEventBytes = 256;

    TLayout();
    ~TLayout();
    TLayout(const TLayout&) = delete;
    TLayout& operator=(const TLayout&) = delete;

    std::int32_t NextPageId() const;
    TListItem* FindPage(std::int32_t id) const;
    // The page's place in `pages`, or -1.
    int IndexOf(const TListItem* page) const;
    TListItem* Next(const TListItem* page) const;
    TListItem* Prev(const TListItem* page) const;

    // Links the page directly behind `after`, or at the end when `after` is null or not a page here.
    TListItem* InsertPageAfter(std::unique_ptr<TListItem> page, const TListItem* after);
    // Unlinks and destroys the page. References to its ID elsewhere are left as they are.
    void RemovePage(const TListItem* page);
    void MovePageUp(const TListItem* page);
    void MovePageDown(const TListItem* page);
    // Makes the page the default one, or clears the default when it already is.
    void ToggleDefaultPage(const TListItem* page);
    // Gives the page an ID by hand; refused (false) when another page already has it.
    bool SetPageId(TListItem* page, std::int32_t id);
    // Destroys every page. Settings, events and the sleep page stay.
    void ClearAll();

    // Event i's description and text: NUL-terminated text in the panel's code page.
    std::uint8_t* EventDescription(int i) { return eventDescriptions.data() + i * kEventBytes; }
    std::uint8_t* EventText(int i) { return eventTexts.data() + i * kEventBytes; }

    std::vector<std::unique_ptr<TListItem>> pages;
    std::unique_ptr<TUserPage> sleepPage;

    std::int32_t audibleFeedback = 1;
    std::int32_t sleepTimeout = 0;       // seconds; 0 = never sleeps
    std::int32_t defaultPageTimeout = 0; // seconds; 0 = never returns
    std::int32_t pinOnWakeup = 0;
    std::int32_t defaultPageId = -1;
    std::uint8_t autoBrightness = 0;
    std::uint8_t manualBrightness = 100; // percent, 1..100
    std::u16string timeoutPin;
    std::u16string securityPin;
    std::u16string controlName;

    std::array<std::uint8_t, kEventCount * kEventBytes> eventDescriptions{};
    std::array<std::uint8_t, kEventCount * kEventBytes> eventTexts{};

private:
    std::vector<std::unique_ptr<TListItem>>::iterator find(const TListItem* page);
};
