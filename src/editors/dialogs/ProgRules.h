#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

class TLayout;
class TListItem;

// The programming dialog's page-list rules, apart from its widgets.

// The entry of the default page reads "*** name ***"; only a full rebuild of the list marks it.
[[nodiscard]] QString PageEntryText(const TListItem& page, std::int32_t defaultPageId);
// The entry every other change shows: the name alone.
[[nodiscard]] QString PlainEntryText(const TListItem& page);

// The row Add puts the new page behind: the selected one, else the last; -1 on an empty list.
[[nodiscard]] int AddReferenceRow(int selectedRow, int rowCount);
// The row the new entry takes: directly behind the reference, or the top when there is none.
[[nodiscard]] int AddInsertRow(int referenceRow);
// Where Move Up and Move Down take the selected entry; nothing when it stays where it is.
[[nodiscard]] std::optional<int> MoveUpRow(int selectedRow);
[[nodiscard]] std::optional<int> MoveDownRow(int selectedRow, bool hasSuccessor);

// The Add menu's items, in order.
[[nodiscard]] const QStringList& AddMenuItems();
// A new page of the kind the menu item names, for the layout (it takes the next page ID) but not
// yet in its list; null for an index outside the menu.
[[nodiscard]] std::unique_ptr<TListItem> MakeNewPage(TLayout& layout, int menuItem);
